#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "engine/ProvisionCommandLine.h"
#include "engine/ProvisionReport.h"

namespace tolvane::testing {
namespace {

using Arguments = std::vector<std::string>;

std::optional<CProvisionOptions> Parse(const Arguments& arguments, int& exitCode) {
  const CProvisionCommandLine line = ParseProvisionCommandLine(arguments, "bench-host");
  exitCode = line.exitStatus;
  if (line.action != CProvisionCommandLine::EAction::Run) return std::nullopt;
  return line.options;
}

std::string Joined(const Arguments& arguments) {
  std::string text;
  for (const std::string& argument : arguments) text += argument + " ";
  return text;
}

TEST(ProvisionOptions, portNames_comNumbersAndDeviceNames) {
  EXPECT_EQ(ParsePortName("COM33"), 33);
  EXPECT_EQ(ParsePortName("com200"), 200);
  EXPECT_EQ(ParsePortName("ttyUSB0"), 33);
  EXPECT_EQ(ParsePortName("/dev/ttyS0"), 1);
  for (const char* wrong : {"COM", "COM0", "COM3x", "33", "ttyXYZ0", ""}) EXPECT_FALSE(ParsePortName(wrong)) << wrong;
}

TEST(ProvisionOptions, aBatchAndASingleDevice_areTakenAsAsked) {
  int exitCode = -1;
  auto options = Parse({"--profile", "p.ini", "--imei-list", "i.txt", "--wait", "--report", "r.json"}, exitCode);
  ASSERT_TRUE(options);
  EXPECT_EQ(exitCode, 0);
  EXPECT_TRUE(options->wait);
  EXPECT_TRUE(options->comNumbers.empty());
  options = Parse({"--port", "COM33", "--profile", "p.ini", "--imei", "860000000000001", "--yes"}, exitCode);
  ASSERT_TRUE(options);
  EXPECT_EQ(options->comNumbers, std::vector<int>{33});
  EXPECT_EQ(options->imei, "860000000000001");
  EXPECT_TRUE(options->yes);
  options = Parse({"--port", "COM33", "--port", "ttyUSB1", "--profile", "p.ini", "--pool", "p.db", "--wait"}, exitCode);
  ASSERT_TRUE(options);
  EXPECT_EQ(options->comNumbers, (std::vector<int>{33, 34}));
  EXPECT_EQ(options->poolAddress, "p.db");
  EXPECT_EQ(options->station, "bench-host");
  options = Parse({"--port=COM33", "--profile", "p.ini", "--station=east 1", "--dry-run"}, exitCode);
  ASSERT_TRUE(options);
  EXPECT_EQ(options->comNumbers, std::vector<int>{33});
  EXPECT_EQ(options->station, "east 1");
}

TEST(ProvisionOptions, commandLinesThatCannotWork_endWithStatus2) {
  const Arguments wrong[] = {
      {"--port", "COM33"},               // no profile
      {"--profile", "p.ini"},            // no port, no wait
      {"--profile", "p.ini", "--wait"},  // wait without a list
      {"--profile", "p.ini", "--port", "COM3", "--imei", "1", "--imei-list", "i.txt"},
      {"--profile", "p.ini", "--port", "COM3", "--imei", "86000000000000A"},  // the field takes digits only
      {"--profile", "p.ini", "--port", "serial"},
      {"--profile", "p.ini", "--port", "COM3", "extra"},
      {"--frobnicate"},
      {"--profile", "p.ini", "--port"},            // a value missing
      {"--profile", "p.ini", "--port", "COM3", "--yes=no"},
      {"--profile", "p.ini", "--port", "COM3", "--pool", "p.db", "--station", "b1\nimei 86"},  // forges lines
      {"--profile", "p.ini", "--port", "COM3", "--pool", "p.db", "--station", ""},
      {"--profile", "p.ini", "--port", "COM3", "--port", "COM3"},
      {"--profile", "p.ini", "--port", "COM3", "--port", "COM4", "--imei", "860000000000001"},  // one IMEI, two devices
      {"--profile", "p.ini", "--port", "COM3", "--pool", "p.db", "--imei-list", "i.txt"},
  };
  for (const Arguments& arguments : wrong) {
    int exitCode = -1;
    EXPECT_FALSE(Parse(arguments, exitCode)) << Joined(arguments);
    EXPECT_EQ(exitCode, kExitUsage) << Joined(arguments);
  }
}

TEST(ProvisionExitStatus, theWorstOutcomeOfAnyDeviceDecides) {
  const auto withSteps = [](std::initializer_list<std::pair<EStepStatus, bool>> steps) {
    CDeviceReport device;
    for (const auto& [status, linkFault] : steps) {
      device.steps.emplace_back();
      device.steps.back().status = status;
      device.steps.back().linkFault = linkFault;
      device.steps.back().opensLink = device.steps.size() == 1;
    }
    return device;
  };
  CRunReport report;
  report.devices.push_back(withSteps({{EStepStatus::Ok, false}, {EStepStatus::Refused, false}}));
  EXPECT_EQ(ExitStatusOf(report), kExitRefused);
  report.devices.push_back(withSteps({{EStepStatus::Ok, false}, {EStepStatus::NoResponse, false}}));
  EXPECT_EQ(ExitStatusOf(report), kExitNoResponse);
  report.devices.push_back(withSteps({{EStepStatus::Fail, false}, {EStepStatus::NotRun, false}}));
  EXPECT_EQ(ExitStatusOf(report), kExitFailed);
  report.devices.push_back(withSteps({{EStepStatus::Ok, false}, {EStepStatus::Fail, true}}));
  EXPECT_EQ(ExitStatusOf(report), kExitFailed);  // the link closed during a step
  report.devices.push_back(withSteps({{EStepStatus::NoResponse, true}}));
  EXPECT_EQ(ExitStatusOf(report), kExitLink);
  report.fault = "imeis.txt.done: cannot record";
  EXPECT_EQ(ExitStatusOf(report), kExitFiles);
  report.interrupted = true;
  EXPECT_EQ(ExitStatusOf(report), kExitInterrupted);

  CRunReport clean;
  clean.devices.push_back(withSteps({{EStepStatus::Ok, false}, {EStepStatus::Ok, false}}));
  EXPECT_EQ(ExitStatusOf(clean), kExitOk);
}

TEST(ProvisionJsonReport, carriesThePoolsFaultAndTheStatusItLedTo) {
  CRunReport report;
  report.poolFault = "the pool failed (postgresql://line@db/imeis): server closed the connection unexpectedly";
  // Every step went through, but the pool still holds the IMEI as claimed: not OK.
  CDeviceReport device;
  for (const char* name : {"Connect", "Write IMEI"}) {
    device.steps.emplace_back();
    device.steps.back().name = name;
    device.steps.back().status = EStepStatus::Ok;
  }
  device.unrecorded = report.poolFault;
  report.devices.push_back(device);
  EXPECT_EQ(DescribeDeviceResult(device), "written to the device; the pool could not record it: " + report.poolFault);

  const auto json = nlohmann::json::parse(JsonReport(report));
  EXPECT_EQ(json["pool_fault"], report.poolFault);
  EXPECT_EQ(json["devices"][0]["pool_fault"], report.poolFault);
  EXPECT_EQ(json["devices"][0]["succeeded"], false);
  EXPECT_TRUE(json["devices"][0]["label"].is_null());
  EXPECT_EQ(json["exit_status"], kExitPool);
}

}  // namespace
}  // namespace tolvane::testing
