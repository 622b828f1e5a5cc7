#pragma once

#include <string>
#include <vector>

#include "engine/Profile.h"

namespace tolvane {

// What the profile sets, one "key = value" row per key it holds, in the profile's own key names
// and the steps' order; every secret reads as kSecretMask. Shown read-only: the bench is locked to it.
std::vector<std::string> DescribeProfile(const CProfile& profile);

}  // namespace tolvane
