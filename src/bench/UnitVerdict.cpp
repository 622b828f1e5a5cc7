#include "bench/UnitVerdict.h"

#include <algorithm>

#include "engine/ReadBack.h"
#include "res/Strings.h"

namespace tolvane {

CUnitVerdict JudgeUnit(const CDeviceReport& device) {
  if (DeviceSucceeded(device)) {
    const std::string word = LoadString(IDS_BENCH_PASS);
    if (device.imei.empty()) return {EVerdict::Pass, FormatString(LoadString(IDS_BENCH_PASS_NO_IMEI), word)};
    const bool verified = SettlementOf(device).state == CSettlement::EState::Verified;
    return {EVerdict::Pass,
            FormatString(LoadString(verified ? IDS_BENCH_PASS_VERIFIED : IDS_BENCH_PASS_WRITTEN), {word, device.imei})};
  }
  const auto failed = std::find_if(device.steps.begin(), device.steps.end(), [](const CStepResult& step) {
    return step.status != EStepStatus::Ok && step.status != EStepStatus::Planned;
  });
  const bool noResponse = failed != device.steps.end() && failed->status == EStepStatus::NoResponse;
  // Stopped while reading back: every step succeeded, and the read-back says why it ended.
  std::string step = device.steps.empty() ? std::string() : device.steps.back().name;
  std::string detail = device.after.note;
  if (failed != device.steps.end()) {
    step = failed->name;
    detail = failed->detail;
  }
  const std::string word = LoadString(noResponse ? IDS_BENCH_NO_RESPONSE : IDS_BENCH_FAIL);
  const EVerdict kind = noResponse ? EVerdict::NoResponse : EVerdict::Fail;
  if (device.imei.empty()) return {kind, FormatString(LoadString(IDS_BENCH_FAILED_NO_IMEI), {word, step, detail})};
  return {kind, FormatString(LoadString(IDS_BENCH_FAILED_STEP), {word, device.imei, step, detail})};
}

}  // namespace tolvane
