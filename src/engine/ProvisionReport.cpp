#include "engine/ProvisionReport.h"

#include <algorithm>

#include "engine/ProvisionSteps.h"

namespace tolvane {

namespace {

constexpr int kStatusWidth = 12;
constexpr int kNameWidth = 16;

std::string Padded(std::string text, std::size_t width) {
  if (text.size() < width) text.resize(width, ' ');
  return text;
}

std::string Joined(const std::vector<std::string>& parts, const std::string& separator) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : separator) + part;
  return text;
}

int StepExitStatus(const CStepResult& step) {
  // A link that never opened, or that no device answered, is the port's fault; one that closes
  // during a later step fails that step.
  if (step.linkFault && step.opensLink) return kExitLink;
  switch (step.status) {
    case EStepStatus::Fail: return kExitFailed;
    case EStepStatus::NoResponse: return kExitNoResponse;
    case EStepStatus::Refused: return kExitRefused;
    case EStepStatus::Interrupted: return kExitInterrupted;
    default: return kExitOk;
  }
}

bool StepsSucceeded(const CDeviceReport& device) {
  return !device.interrupted && !device.steps.empty() &&
         std::all_of(device.steps.begin(), device.steps.end(), [](const CStepResult& step) {
           return step.status == EStepStatus::Ok || step.status == EStepStatus::Planned;
         });
}

std::string DescribeSteps(const CDeviceReport& device) {
  std::vector<std::string> notRun;
  std::string lastRun;
  int counts[7] = {};
  for (const CStepResult& step : device.steps) {
    ++counts[static_cast<int>(step.status)];
    if (step.status == EStepStatus::NotRun)
      notRun.push_back(step.name);
    else
      lastRun = step.name;
  }
  if (device.interrupted) {
    std::string text = "stopped by the user " + (lastRun.empty() ? "before the first step" : "after " + lastRun);
    if (!notRun.empty()) text += "; not run: " + Joined(notRun, ", ");
    return text;
  }
  if (StepsSucceeded(device)) return "OK";
  std::vector<std::string> parts;
  for (const EStepStatus status : {EStepStatus::Fail, EStepStatus::NoResponse, EStepStatus::Refused,
                                   EStepStatus::NotRun, EStepStatus::Interrupted})
    if (const int count = counts[static_cast<int>(status)]; count > 0)
      parts.push_back(std::to_string(count) + " " + StatusText(status));
  return "NOT OK: " + Joined(parts, ", ");
}

}  // namespace

const char* StatusText(EStepStatus status) {
  switch (status) {
    case EStepStatus::Ok: return "OK";
    case EStepStatus::Fail: return "FAIL";
    case EStepStatus::NoResponse: return "NO RESPONSE";
    case EStepStatus::Refused: return "REFUSED";
    case EStepStatus::NotRun: return "NOT RUN";
    case EStepStatus::Interrupted: return "INTERRUPTED";
    case EStepStatus::Planned: return "";
  }
  return "";
}

// A device whose IMEI the pool holds as claimed is not done, whatever it answered.
bool DeviceSucceeded(const CDeviceReport& device) { return StepsSucceeded(device) && device.unrecorded.empty(); }

int ExitStatusOf(const CRunReport& report) {
  if (report.interrupted) return kExitInterrupted;
  if (!report.fault.empty()) return kExitFiles;
  if (!report.poolFault.empty()) return kExitPool;
  const auto earned = [&report](int status) {
    for (const CDeviceReport& device : report.devices)
      for (const CStepResult& step : device.steps)
        if (StepExitStatus(step) == status) return true;
    return false;
  };
  if (earned(kExitLink)) return kExitLink;
  if (report.noImeiLeft) return kExitNoImeiLeft;
  for (const int status : {kExitFailed, kExitNoResponse, kExitRefused})
    if (earned(status)) return status;
  return kExitOk;
}

std::string FormatStepLine(const CStepResult& step, bool dryRun) {
  const std::string sent = step.sent.empty() ? "nothing sent" : Joined(step.sent, " ");
  if (dryRun) {
    const std::string what =
        step.status == EStepStatus::Planned ? sent : std::string(StatusText(step.status)) + " -- " + step.detail;
    return "  " + Padded(step.name, kNameWidth) + " " + what;
  }
  std::string line = "  " + Padded(StatusText(step.status), kStatusWidth) + " " + Padded(step.name, kNameWidth) + " ";
  if (step.status == EStepStatus::NotRun || step.check) return line + step.detail;
  line += sent;
  if (!step.detail.empty()) line += " -- " + step.detail;
  return line;
}

std::string FormatReadout(const std::string& label, const CDeviceReadout& readout) {
  if (!readout.read) return "  " + label + ": not read (" + readout.note + ")";
  const auto value = [](const std::optional<std::string>& text) { return text ? *text : std::string("-"); };
  return "  " + label + ": IMEI " + value(readout.imei) + ", IP " + value(readout.ip) + ", language " +
         value(readout.language) + ", network type " + value(readout.networkType);
}

std::string FormatLabelLine(const std::string& label) { return "  Label: " + label; }

std::string DescribeDeviceResult(const CDeviceReport& device) {
  if (device.unrecorded.empty()) return DescribeSteps(device);
  const std::string unrecorded = "the pool could not record it: " + device.unrecorded;
  const bool written = std::any_of(device.steps.begin(), device.steps.end(), [](const CStepResult& step) {
    return step.name == StepName(ECommand::WriteImei) && step.status == EStepStatus::Ok;
  });
  if (!written) return DescribeSteps(device) + "; " + unrecorded;
  return "written to the device; " + unrecorded + (StepsSucceeded(device) ? "" : "; " + DescribeSteps(device));
}

std::string FormatDeviceResult(const CDeviceReport& device) { return "  Result: " + DescribeDeviceResult(device); }

}  // namespace tolvane
