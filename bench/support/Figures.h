#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace tolvane::bench {

// The value below which `fraction` of the samples lie (nearest rank); 0 for no samples.
inline double Percentile(std::vector<double> samples, double fraction) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  const auto rank = static_cast<std::size_t>(fraction * static_cast<double>(samples.size()));
  return samples[std::min(rank, samples.size() - 1)];
}

inline double Maximum(const std::vector<double>& samples) {
  return samples.empty() ? 0 : *std::max_element(samples.begin(), samples.end());
}

// "met" or "MISSED", so a reader sees at a glance which figures fell short.
inline const char* Verdict(bool met) { return met ? "met" : "MISSED"; }

}  // namespace tolvane::bench
