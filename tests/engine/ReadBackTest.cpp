// What the device reports once the steps are done, held against what it answered ok to.
#include <gtest/gtest.h>

#include "engine/ReadBack.h"

namespace tolvane::testing {
namespace {

class ReadBack : public ::testing::Test {
 protected:
  ReadBack() {
    written.imei = report.imei = "860000000000009";
    written.serverIp = 0x0A000005;
    written.language = "zh_CN";
    for (const char* name : {"Connect", "Write IMEI", "Update IP", "Set Language"}) {
      report.steps.emplace_back();
      report.steps.back().name = name;
      report.steps.back().status = EStepStatus::Ok;
    }
    report.before.read = report.after.read = true;
    report.before.imei = "356938035643809";
    report.after.imei = "860000000000009";
    report.after.ip = "10.0.0.5";
    report.after.language = "zh_CN";
  }
  CProfile written;
  CDeviceReport report;
};

TEST_F(ReadBack, whatWasWrittenAndIsReported_isVerified) {
  const auto verify = VerifyReadBack(written, report);
  ASSERT_TRUE(verify);
  EXPECT_EQ(verify->status, EStepStatus::Ok);
  EXPECT_EQ(SettlementOf(report).state, CSettlement::EState::Verified);
  EXPECT_EQ(SettlementOf(report).settingsAfter, "IP 10.0.0.5, language zh_CN, network type -");
}

TEST_F(ReadBack, aDifferenceFailsAndNamesBothValues) {
  report.after.ip = "10.0.0.9";
  const auto verify = VerifyReadBack(written, report);
  ASSERT_TRUE(verify);
  EXPECT_EQ(verify->status, EStepStatus::Fail);
  EXPECT_EQ(verify->detail, "the device reports IP 10.0.0.9 after it answered ok to 10.0.0.5");
  // A step the device refused is not held against it.
  report.steps[2].status = EStepStatus::Fail;
  EXPECT_EQ(VerifyReadBack(written, report)->status, EStepStatus::Ok);
}

TEST_F(ReadBack, whatTheDeviceDoesNotReportIsUncheckedNotDifferent) {
  report.after = {};
  report.after.read = true;
  auto verify = VerifyReadBack(written, report);
  ASSERT_TRUE(verify);
  EXPECT_EQ(verify->status, EStepStatus::Ok);
  EXPECT_EQ(verify->detail, "the device did not report its IMEI, IP and language");
  EXPECT_EQ(SettlementOf(report).state, CSettlement::EState::Written);

  report.after.imei = "860000000000009";
  verify = VerifyReadBack(written, report);
  EXPECT_EQ(verify->status, EStepStatus::Ok);
  EXPECT_EQ(verify->detail, "the device reports what was written; the device did not report its IP and language");
  EXPECT_EQ(SettlementOf(report).state, CSettlement::EState::Verified);

  report.after.language = "en_US";  // what it does report is still held against what it took
  EXPECT_EQ(VerifyReadBack(written, report)->status, EStepStatus::Fail);
}

TEST_F(ReadBack, theOldImeiAwaitsARestartButAThirdOneFails) {
  report.after.imei = report.before.imei;
  EXPECT_EQ(VerifyReadBack(written, report)->status, EStepStatus::Ok);
  EXPECT_EQ(SettlementOf(report).state, CSettlement::EState::Written);
  report.after.imei = "490154203237518";
  EXPECT_EQ(VerifyReadBack(written, report)->status, EStepStatus::Fail);
  EXPECT_EQ(SettlementOf(report).state, CSettlement::EState::Failed);
}

TEST_F(ReadBack, anAnswerThatNeverCameLeavesTheImeiUnconfirmed) {
  report.steps[1].status = EStepStatus::NoResponse;
  report.after.read = false;
  EXPECT_EQ(SettlementOf(report).state, CSettlement::EState::Unconfirmed);
  report.steps[1].status = EStepStatus::Fail;  // the device said fail: it did not take it
  EXPECT_EQ(SettlementOf(report).state, CSettlement::EState::Failed);
  report.steps[1].linkFault = true;  // the link closed on the way: it may have
  EXPECT_EQ(SettlementOf(report).state, CSettlement::EState::Unconfirmed);
  EXPECT_FALSE(VerifyReadBack(written, report));
}

}  // namespace
}  // namespace tolvane::testing
