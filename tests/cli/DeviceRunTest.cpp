#include <gtest/gtest.h>

#include <memory>

#include "FakePort.h"
#include "ScriptedDevice.h"
#include "engine/DeviceRun.h"
#include "qtserial/QtEventLoop.h"
#include "engine/DryRunPort.h"
#include "engine/ReadBack.h"

// One device provisioned through the window without widgets, against the scripted fake port.
namespace tolvane::testing {
namespace {

using Strings = std::vector<std::string>;

class DeviceRunTest : public ::testing::Test {
 protected:
  DeviceRunTest() {
    timings.connectMs = 5000;
    timings.replyMs = 5000;
    timings.wifiListMs = 5000;
    timings.quietMs = 50;
    timings.settleMs = 1000;
    device.answers.insert({{"IMEI", "IMEI:ok~"},
                           {"IP", "IP:ok~"},
                           {"HOST", "HOST:ok~"},
                           {"ACCOUNT", "ACCOUNT:ok~"},
                           {"CUSTOMER_PW", "CUSTOMER_PW:ok~"},
                           {"APN", "APN:ok~"},
                           {"APN_RESET", "APN_RESET:ok~"},
                           {"LANGUAGE", "LANGUAGE:ok~"},
                           {"NETWORK_TYPE", "NETWORK_TYPE:ok~"},
                           {"FACTORY_RESET", "FACTORY_RESET:ok~"},
                           {"WiFi", "WiFi:open~WiFi_L:clean~WiFi_L:Office^3c:84:6a:01:22:9f^4~"},
                           {"WiFi_PW", "WiFi:connected_ok~"}});
  }

  void Run() { Run(testPort, CDeviceRun::EMode::Send); }
  void Run(IPort& runPort, CDeviceRun::EMode mode) {
    // One dialog at a time on a port: the one going lets go of the port's events.
    run.reset();
    run = std::make_unique<CDeviceRun>(loop, runPort, ports, profile, 3, mode, timings);
    run->SetLineSink([this](const std::string& line) { lines.push_back(line); });
    run->Start();
  }
  bool Finished() {
    return PumpUntil([this] { return run->IsFinished(); });
  }
  const CStepResult& Step(const std::string& name) const {
    for (const CStepResult& step : run->Report().steps)
      if (step.name == name) return step;
    static const CStepResult none;
    ADD_FAILURE() << "no step " << name;
    return none;
  }
  Strings Statuses() const {
    Strings statuses;
    for (const CStepResult& step : run->Report().steps) statuses.push_back(step.name + " " + StatusText(step.status));
    return statuses;
  }

  CQtEventLoop loop;
  CFakePort testPort;
  CDryRunPort dryPort;
  CFakePortList ports{{"COM3 (ttyUSB0)"}};
  CScriptedDevice device{testPort};
  CRunTimings timings;
  CProfile profile;
  Strings lines;
  std::unique_ptr<CDeviceRun> run;
};

TEST_F(DeviceRunTest, runsTheProfileStepByStep_eachCommandWaitsForTheReplyToTheOneBefore) {
  profile.imei = "860000000000001";
  profile.serverIp = 0x0A000005;
  profile.account = "unit7";
  profile.accountPassword = "s3cret";
  profile.language = "zh_CN";
  Run();
  ASSERT_TRUE(Finished());

  EXPECT_EQ(Statuses(), (Strings{"Connect OK", "Write IMEI OK", "Update IP OK", "Set Account/Pw OK",
                                 "Set Language OK", "Verify OK"}));
  // COM:open, then each command alone on the line until its answer came, then the read-back.
  const Strings expected{"COM:open~",       "IMEI:860000000000001~",
                         "IP:10.0.0.5~",    "ACCOUNT:unit7^s3cret~",
                         "LANGUAGE:zh_CN~", "COM:close~",
                         "COM:open~",       "COM:close~"};
  EXPECT_EQ(testPort.Writes(), expected);
  for (std::size_t i = 1; i < 5; ++i) {
    ASSERT_GT(device.answeredAt.size(), i);
    EXPECT_EQ(device.answeredAt[i].first, expected[i]);
    EXPECT_EQ(device.answeredAt[i].second, i + 1) << "a command went out before the answer to " << expected[i];
  }
  EXPECT_EQ(Step("Write IMEI").detail, "Write IMEI OK, Restart the device to be effective!");
  EXPECT_EQ(Step("Set Account/Pw").sent, Strings{"ACCOUNT:unit7^••••~"});
  const CDeviceReport& report = run->Report();
  EXPECT_EQ(report.before.imei, "356938035643809");
  EXPECT_EQ(report.before.ip, "192.168.10.20");
  EXPECT_EQ(report.before.language, "en_US");
  EXPECT_EQ(report.before.networkType, "3G/2G");
  EXPECT_TRUE(report.after.read);
  EXPECT_TRUE(DeviceSucceeded(report));
  EXPECT_EQ(lines.back(), "  Result: OK");
}

TEST_F(DeviceRunTest, aDeviceThatReportsNothingOrOnlyItsImei_passesWithWhatWentUnchecked) {
  profile.imei = "860000000000001";
  profile.serverIp = 0x0A000005;
  profile.language = "zh_CN";
  device.reports.clear();
  Run();
  ASSERT_TRUE(Finished());
  EXPECT_EQ(Step("Verify").status, EStepStatus::Ok);
  EXPECT_EQ(Step("Verify").detail, "the device did not report its IMEI, IP and language");
  EXPECT_EQ(lines.back(), "  Result: OK");
  EXPECT_EQ(SettlementOf(run->Report()).state, CSettlement::EState::Written);

  device.reports = {"IMEI"};
  Run();
  ASSERT_TRUE(Finished());
  EXPECT_EQ(Step("Verify").status, EStepStatus::Ok);
  EXPECT_EQ(SettlementOf(run->Report()).state, CSettlement::EState::Verified);
  CRunReport whole;
  whole.devices.push_back(run->Report());
  EXPECT_EQ(ExitStatusOf(whole), kExitOk);
}

TEST_F(DeviceRunTest, windowChecksRefuseAStep_nothingIsSentForItAndTheNextStepRuns) {
  profile.dealerPassword = "ab~IMEI:1";
  profile.apn = "";
  profile.domain = "talk.example.com";
  Run();
  ASSERT_TRUE(Finished());
  EXPECT_EQ(Step("Update Pw").status, EStepStatus::Refused);
  EXPECT_EQ(Step("Update Pw").detail, "The text must not contain the character ~");
  EXPECT_EQ(Step("Set APN").status, EStepStatus::Refused);
  EXPECT_EQ(Step("Set APN").detail, "APN can not be empty");
  EXPECT_EQ(Step("Update Domain").status, EStepStatus::Ok);
  for (const std::string& write : testPort.Writes()) {
    EXPECT_EQ(write.find("CUSTOMER_PW"), std::string::npos);
    EXPECT_EQ(write.find("APN"), std::string::npos);
  }
}

TEST_F(DeviceRunTest, deviceAnswers_failNoAnswerAndOtherAnswersEachGetTheirOwnLine) {
  profile.imei = "860000000000001";
  profile.apn = "cmnet";
  profile.account = "unit7";
  device.answers["IMEI"] = "";
  device.answers["APN"] = "APN:fail~";
  device.answers["ACCOUNT"] = "ACCOUNT:maybe~";
  timings.replyMs = 200;
  Run();
  ASSERT_TRUE(Finished());
  EXPECT_EQ(Step("Write IMEI").status, EStepStatus::NoResponse);
  EXPECT_EQ(Step("Set Account/Pw").status, EStepStatus::Fail);
  EXPECT_EQ(Step("Set Account/Pw").detail, "the device answered neither ok nor fail");
  EXPECT_EQ(Step("Set APN").status, EStepStatus::Fail);
  EXPECT_EQ(Step("Set APN").detail, "Update APN fail");
  CRunReport whole;
  whole.devices.push_back(run->Report());
  EXPECT_EQ(ExitStatusOf(whole), kExitFailed);
}

TEST_F(DeviceRunTest, languageTheDeviceAlreadyReports_isNotSentAgainAndCountsAsDone) {
  profile.language = "en_US";
  profile.networkType = "2G";
  Run();
  ASSERT_TRUE(Finished());
  EXPECT_EQ(Step("Set Language").status, EStepStatus::Ok);
  EXPECT_EQ(Step("Set Language").detail, "the device reports en_US already");
  EXPECT_TRUE(Step("Set Language").sent.empty());
  EXPECT_EQ(Step("Set Network").sent, Strings{"NETWORK_TYPE:2G~"});
}

TEST_F(DeviceRunTest, portVanishesDuringAStep_failsThatStepAndTheRestIsNotRun) {
  profile.serverIp = 0x0A000005;
  profile.domain = "talk.example.com";
  device.answers["IP"] = "";
  Run();
  ASSERT_TRUE(PumpUntil([this] { return testPort.WrittenText().find("IP:10.0.0.5~") != std::string::npos; }));
  testPort.Vanish();
  ASSERT_TRUE(Finished());
  EXPECT_EQ(Step("Update IP").status, EStepStatus::Fail);
  EXPECT_TRUE(Step("Update IP").linkFault);
  EXPECT_EQ(Step("Update Domain").status, EStepStatus::NotRun);
  CRunReport whole;
  whole.devices.push_back(run->Report());
  EXPECT_EQ(ExitStatusOf(whole), kExitFailed);
}

TEST_F(DeviceRunTest, aLinkThatNeverOpensOrIsNeverAnswered_isThePortsFault) {
  device.answers.erase("COM");
  timings.connectMs = 200;
  Run();
  ASSERT_TRUE(Finished());
  EXPECT_EQ(Step("Connect").status, EStepStatus::NoResponse);
  CRunReport silent;
  silent.devices.push_back(run->Report());
  EXPECT_EQ(ExitStatusOf(silent), kExitLink);

  ports.ports.clear();  // unplugged before the run
  Run();
  ASSERT_TRUE(Finished());
  CRunReport absent;
  absent.devices.push_back(run->Report());
  EXPECT_EQ(ExitStatusOf(absent), kExitLink);
}

TEST_F(DeviceRunTest, stop_letsTheStepUnderWayFinishThenClosesTheLink) {
  profile.serverIp = 0x0A000005;
  profile.domain = "talk.example.com";
  device.answers["IP"] = "";
  Run();
  ASSERT_TRUE(PumpUntil([this] { return testPort.WrittenText().find("IP:10.0.0.5~") != std::string::npos; }));
  run->Stop(false);
  EXPECT_FALSE(run->IsFinished());
  testPort.Feed("IP:ok~");
  ASSERT_TRUE(Finished());
  EXPECT_EQ(Step("Update IP").status, EStepStatus::Ok);
  EXPECT_EQ(Step("Update Domain").status, EStepStatus::NotRun);
  EXPECT_EQ(testPort.Writes().back(), "COM:close~");
  EXPECT_TRUE(run->Report().interrupted);
  EXPECT_EQ(lines.back(), "  Result: stopped by the user after Update IP; not run: Update Domain");
}

TEST_F(DeviceRunTest, secondStop_closesAtOnceWithoutWaitingForTheReply) {
  profile.serverIp = 0x0A000005;
  device.answers["IP"] = "";
  Run();
  ASSERT_TRUE(PumpUntil([this] { return testPort.WrittenText().find("IP:10.0.0.5~") != std::string::npos; }));
  run->Stop(false);
  run->Stop(true);
  EXPECT_TRUE(run->IsFinished());
  EXPECT_EQ(Step("Update IP").status, EStepStatus::Interrupted);
  EXPECT_FALSE(testPort.IsOpen());
  EXPECT_EQ(testPort.Writes().back(), "COM:close~");
}

TEST_F(DeviceRunTest, factoryReset_comesLastAndItsAnswerEndsTheRunWithoutAReadBack) {
  profile.factoryReset = true;
  profile.language = "zh_CN";
  Run();
  ASSERT_TRUE(Finished());
  EXPECT_EQ(Statuses(), (Strings{"Connect OK", "Set Language OK", "Factory Reset OK"}));
  EXPECT_EQ(testPort.Writes(), (Strings{"COM:open~", "LANGUAGE:zh_CN~", "FACTORY_RESET:reboot~", "COM:close~"}));
  EXPECT_EQ(run->Report().after.note, "the device restarts after a factory reset");
}

TEST_F(DeviceRunTest, factoryReset_isNotSentAfterAStepThatDidNotSucceed) {
  profile.factoryReset = true;
  profile.apn = "cmnet";
  device.answers["APN"] = "APN:fail~";
  Run();
  ASSERT_TRUE(Finished());
  EXPECT_EQ(Step("Factory Reset").status, EStepStatus::NotRun);
  EXPECT_EQ(testPort.WrittenText().find("FACTORY_RESET"), std::string::npos);
}

TEST_F(DeviceRunTest, wifi_joinsOnceTheNetworkIsListedAndFailsWhenItNeverIs) {
  profile.wifiAddress = "3c:84:6a:01:22:9f";
  profile.wifiPassword = "parlo123";
  Run();
  ASSERT_TRUE(Finished());
  EXPECT_EQ(Step("Open Wi-Fi").status, EStepStatus::Ok);
  EXPECT_EQ(Step("Join Wi-Fi").status, EStepStatus::Ok);
  EXPECT_EQ(Step("Join Wi-Fi").sent, Strings{"WiFi_PW:3c:84:6a:01:22:9f^••••~"});

  profile.wifiAddress = "00:00:00:00:00:01";
  timings.wifiListMs = 300;
  Run();
  ASSERT_TRUE(Finished());
  EXPECT_EQ(Step("Join Wi-Fi").status, EStepStatus::Fail);
  EXPECT_EQ(Step("Join Wi-Fi").detail, "the device lists no Wi-Fi network 00:00:00:00:00:01");
}

TEST_F(DeviceRunTest, dryRun_listsTheExactCommandsAtOnceAndSendsNothing) {
  profile.imei = "860000000000001";
  profile.serverIp = 0x0A000005;
  profile.domain = "talk.example.com";
  profile.apn = "cmnet";
  profile.apnPassword = "pw";
  profile.wifiAddress = "3c:84:6a:01:22:9f";
  profile.wifiPassword = "parlo123";
  Run(dryPort, CDeviceRun::EMode::DryRun);
  // No reply to wait for: the run is over before the event loop turns.
  ASSERT_TRUE(run->IsFinished());
  EXPECT_EQ(lines,
            (Strings{"  Connect          COM:open~", "  Write IMEI       IMEI:860000000000001~",
                     "  Update IP        IP:10.0.0.5~", "  Update Domain    HOST:talk.example.com~",
                     "  Set APN          APN:cmnet^@pw~", "  Open Wi-Fi       WiFi:open~",
                     "  Join Wi-Fi       WiFi_PW:3c:84:6a:01:22:9f^parlo123~", "  Close            COM:close~"}));
  EXPECT_EQ(testPort.openCount, 0);
  // A report the dry run writes keeps the secrets.
  EXPECT_EQ(Step("Set APN").sent, Strings{"APN:cmnet^@••••~"});
}

}  // namespace
}  // namespace tolvane::testing
