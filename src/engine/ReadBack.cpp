#include "engine/ReadBack.h"

#include "engine/ProvisionSteps.h"

namespace tolvane {

namespace {

const CStepResult* Step(const CDeviceReport& report, const std::string& name) {
  for (const CStepResult& step : report.steps)
    if (step.name == name) return &step;
  return nullptr;
}

bool AnsweredOk(const CDeviceReport& report, ECommand kind) {
  const CStepResult* step = Step(report, StepName(kind));
  return step && step->status == EStepStatus::Ok;
}

std::string Dotted(std::uint32_t address) {
  return std::to_string(address >> 24) + "." + std::to_string((address >> 16) & 0xFF) + "." +
         std::to_string((address >> 8) & 0xFF) + "." + std::to_string(address & 0xFF);
}

// "IP", "IP and language", "IP, language and network type".
std::string JoinedWithAnd(const std::vector<std::string>& items) {
  std::string text;
  for (std::size_t index = 0; index < items.size(); ++index)
    text += (index == 0 ? "" : index + 1 == items.size() ? " and " : ", ") + items[index];
  return text;
}

}  // namespace

std::optional<CStepResult> VerifyReadBack(const CProfile& written, const CDeviceReport& report) {
  struct CWritten {
    ECommand step;
    const char* what;
    std::optional<std::string> value;
    const std::optional<std::string>* reported;
  };
  const CWritten checks[] = {
      {ECommand::UpdateIp, "IP", written.serverIp ? std::optional(Dotted(*written.serverIp)) : std::nullopt, &report.after.ip},
      {ECommand::SetLanguage, "language", written.language, &report.after.language},
      {ECommand::SetNetwork, "network type", written.networkType, &report.after.networkType},
  };
  const bool imeiWritten = AnsweredOk(report, ECommand::WriteImei) && !report.imei.empty();
  bool any = imeiWritten;
  for (const CWritten& check : checks) any = any || (check.value && AnsweredOk(report, check.step));
  // Unread, the After line already says why.
  if (!any || !report.after.read) return std::nullopt;

  CStepResult verify;
  verify.name = "Verify";
  verify.check = true;
  // A setting the device does not report is unchecked, not different: reports are optional.
  std::vector<std::string> differences, unreported;
  bool anyConfirmed = false;
  for (const CWritten& check : checks) {
    if (!check.value || !AnsweredOk(report, check.step)) continue;
    if (!*check.reported)
      unreported.push_back(check.what);
    else if (*check.reported == check.value)
      anyConfirmed = true;
    else
      differences.push_back("the device reports " + std::string(check.what) + " " + **check.reported +
                            " after it answered ok to " + *check.value);
  }
  bool awaitsRestart = false;
  if (imeiWritten && !report.after.imei) {
    unreported.insert(unreported.begin(), "IMEI");
  } else if (imeiWritten && report.after.imei == report.imei) {
    anyConfirmed = true;
  } else if (imeiWritten && report.after.imei == report.before.imei) {
    awaitsRestart = anyConfirmed = true;
  } else if (imeiWritten) {
    differences.push_back("the device reports IMEI " + *report.after.imei + " after it answered ok to " + report.imei);
  }
  verify.status = differences.empty() ? EStepStatus::Ok : EStepStatus::Fail;
  std::vector<std::string> parts = differences;
  if (differences.empty() && anyConfirmed)
    parts.push_back(awaitsRestart ? "the device reports what was written; the new IMEI takes effect after a restart"
                                  : "the device reports what was written");
  if (!unreported.empty()) parts.push_back("the device did not report its " + JoinedWithAnd(unreported));
  for (const std::string& part : parts) verify.detail += (verify.detail.empty() ? "" : "; ") + part;
  return verify;
}

CSettlement SettlementOf(const CDeviceReport& report) {
  CSettlement settlement;
  for (const CStepResult& step : report.steps)
    if (step.status != EStepStatus::NotRun)
      settlement.steps += (settlement.steps.empty() ? "" : "; ") + step.name + " " + StatusText(step.status);
  if (report.after.read) {
    settlement.imeiAfter = report.after.imei.value_or("");
    settlement.settingsAfter = "IP " + report.after.ip.value_or("-") + ", language " +
                               report.after.language.value_or("-") + ", network type " +
                               report.after.networkType.value_or("-");
  }
  const CStepResult* write = Step(report, StepName(ECommand::WriteImei));
  if (!write) return settlement;
  settlement.detail = write->detail;
  if (write->status == EStepStatus::Fail && !write->linkFault) {
    // The device refused it: the IMEI did not go in.
    settlement.state = CSettlement::EState::Failed;
    return settlement;
  }
  if (write->status != EStepStatus::Ok) return settlement;  // unconfirmed: it may have reached the device
  settlement.state = CSettlement::EState::Written;
  if (!report.after.read || !report.after.imei) return settlement;
  if (*report.after.imei == report.imei) {
    settlement.state = CSettlement::EState::Verified;
  } else if (report.after.imei != report.before.imei) {
    settlement.state = CSettlement::EState::Failed;
    settlement.detail = "the device reports IMEI " + *report.after.imei + " after it answered ok to " + report.imei;
  } else {
    settlement.detail = "written; the device takes the new IMEI when it restarts";
  }
  return settlement;
}

}  // namespace tolvane
