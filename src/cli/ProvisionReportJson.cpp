// The report as a file to keep: the same facts as the lines on standard output.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include "cli/ProvisionReport.h"

namespace tolvane {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

QJsonArray Texts(const std::vector<std::string>& texts) {
  QJsonArray array;
  for (const std::string& text : texts) array.append(Text(text));
  return array;
}

QJsonValue Optional(const std::optional<std::string>& text) { return text ? QJsonValue(Text(*text)) : QJsonValue(); }

QJsonObject Readout(const CDeviceReadout& readout) {
  if (!readout.read) return {{"read", false}, {"note", Text(readout.note)}};
  return {{"read", true},
          {"imei", Optional(readout.imei)},
          {"ip", Optional(readout.ip)},
          {"language", Optional(readout.language)},
          {"network_type", Optional(readout.networkType)}};
}

QJsonObject Step(const CStepResult& step) {
  return {{"step", Text(step.name)},
          {"status", step.status == EStepStatus::Planned ? QStringLiteral("PLANNED") : StatusText(step.status)},
          {"sent", Texts(step.sent)},
          {"detail", Text(step.detail)},
          {"messages", Texts(step.messages)}};
}

QJsonObject Device(const CDeviceReport& device) {
  QJsonArray steps;
  for (const CStepResult& step : device.steps) steps.append(Step(step));
  return {{"port", Text(device.port)},
          {"imei", device.imei.empty() ? QJsonValue() : QJsonValue(Text(device.imei))},
          {"succeeded", DeviceSucceeded(device)},
          {"interrupted", device.interrupted},
          {"result", Text(DescribeDeviceResult(device))},
          {"before", Readout(device.before)},
          {"after", Readout(device.after)},
          {"steps", steps},
          {"other_messages", Texts(device.otherMessages)}};
}

}  // namespace

bool WriteJsonReport(const CRunReport& report, const std::string& path, std::string& errorText) {
  QJsonArray devices;
  for (const CDeviceReport& device : report.devices) devices.append(Device(device));
  const QJsonObject root{{"profile", Text(report.profilePath)},
                         {"dry_run", report.dryRun},
                         {"interrupted", report.interrupted},
                         {"stopped_while", Text(report.stoppedWhile)},
                         {"fault", Text(report.fault)},
                         {"exit_status", ExitStatusOf(report)},
                         {"devices", devices}};
  QSaveFile file(Text(path));
  if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(root).toJson()) < 0 || !file.commit()) {
    errorText = path + ": cannot write the report: " + file.errorString().toStdString();
    return false;
  }
  return true;
}

}  // namespace tolvane
