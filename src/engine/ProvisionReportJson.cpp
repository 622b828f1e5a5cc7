// The report as a file to keep: the same facts as the lines on standard output.
#include <nlohmann/json.hpp>

#include "engine/ProvisionReport.h"

namespace tolvane {

namespace {

using json = nlohmann::json;

json Optional(const std::optional<std::string>& text) { return text ? json(*text) : json(nullptr); }

json Readout(const CDeviceReadout& readout) {
  if (!readout.read) return {{"read", false}, {"note", readout.note}};
  return {{"read", true},
          {"imei", Optional(readout.imei)},
          {"ip", Optional(readout.ip)},
          {"language", Optional(readout.language)},
          {"network_type", Optional(readout.networkType)}};
}

json Step(const CStepResult& step) {
  return {{"step", step.name},
          {"status", step.status == EStepStatus::Planned ? "PLANNED" : StatusText(step.status)},
          {"sent", step.sent},
          {"detail", step.detail},
          {"messages", step.messages}};
}

json Device(const CDeviceReport& device) {
  json steps = json::array();
  for (const CStepResult& step : device.steps) steps.push_back(Step(step));
  return {{"port", device.port},
          {"imei", device.imei.empty() ? json(nullptr) : json(device.imei)},
          {"label", device.label.empty() ? json(nullptr) : json(device.label)},
          {"succeeded", DeviceSucceeded(device)},
          {"interrupted", device.interrupted},
          {"result", DescribeDeviceResult(device)},
          {"pool_fault", device.unrecorded},
          {"before", Readout(device.before)},
          {"after", Readout(device.after)},
          {"steps", steps},
          {"other_messages", device.otherMessages}};
}

}  // namespace

std::string JsonReport(const CRunReport& report) {
  json devices = json::array();
  for (const CDeviceReport& device : report.devices) devices.push_back(Device(device));
  const json root{{"profile", report.profilePath},
                  {"dry_run", report.dryRun},
                  {"interrupted", report.interrupted},
                  {"stopped_while", report.stoppedWhile},
                  {"fault", report.fault},
                  {"pool_fault", report.poolFault},
                  {"exit_status", ExitStatusOf(report)},
                  {"devices", devices}};
  // A text the device sent may hold bytes that are not UTF-8: they are replaced, never fatal.
  return root.dump(4, ' ', false, json::error_handler_t::replace) + "\n";
}

bool WriteJsonReport(IFileSystem& files, const CRunReport& report, const std::string& path, std::string& errorText) {
  std::string reason;
  if (files.SaveWhole(path, JsonReport(report), reason)) return true;
  errorText = path + ": cannot write the report: " + reason;
  return false;
}

}  // namespace tolvane
