#pragma once

#include <string>

#include "engine/ProvisionReport.h"

namespace tolvane {

// The views map a verdict to a colour; the word in the text says the same, for those who cannot
// tell the colours apart.
enum class EVerdict { None, Pass, Fail, NoResponse };

struct CUnitVerdict {
  EVerdict kind = EVerdict::None;
  std::string text;  // in the thread's language, beginning with the verdict's word
};

// PASS names the IMEI and whether it was read back; any other verdict names the first step that did
// not succeed and the device's answer or the time-out.
CUnitVerdict JudgeUnit(const CDeviceReport& device);

}  // namespace tolvane
