// The bench's model fed with the job's events on one thread, as the job's loop would tell them.
#include <gtest/gtest.h>

#include <map>

#include "bench/BenchModel.h"
#include "bench/ProductionProfile.h"
#include "res/Strings.h"

namespace tolvane::testing {
namespace {

using namespace std::chrono_literals;

CStepResult Step(const std::string& name, EStepStatus status, const std::string& detail = {}) {
  CStepResult step;
  step.name = name;
  step.status = status;
  step.detail = detail;
  return step;
}

// A unit that got `imei` and reports `imeiAfter` when read back.
CDeviceReport Unit(std::vector<CStepResult> steps, const std::string& imei = "860000000000001",
                   const std::string& imeiAfter = "356938035643809") {
  CDeviceReport device;
  device.port = "COM200 (ttySIM0)";
  device.imei = imei;
  device.before.read = device.after.read = true;
  device.before.imei = "356938035643809";
  device.after.imei = imeiAfter;
  device.steps = std::move(steps);
  return device;
}

CDeviceReport Passed(const std::string& imei = "860000000000001", const std::string& imeiAfter = "356938035643809") {
  return Unit({Step("Connect", EStepStatus::Ok), Step("Write IMEI", EStepStatus::Ok)}, imei, imeiAfter);
}

class CRecordingView : public IBenchView {
 public:
  void OnTileChanged(int) override {}
  void OnCountersChanged() override {}
  void OnBeep() override { ++beeps; }
  int beeps = 0;
};

class CFakeBenchPool : public IBenchPool {
 public:
  bool Counts(CPoolCounts& counts, std::string&) override {
    counts = {free, static_cast<int>(claims.size())};
    return true;
  }
  bool Unconfirmed(std::vector<CUnconfirmedClaim>& out, std::string&) override {
    out = claims;
    return true;
  }
  bool Release(const std::string& imei, std::string&) override {
    std::erase_if(claims, [&imei](const CUnconfirmedClaim& claim) { return claim.imei == imei; });
    ++free;
    return true;
  }
  std::optional<std::string> LabelImei(const std::string& label) override {
    const auto found = labels.find(label);
    return found == labels.end() ? std::nullopt : std::optional(found->second);
  }

  int free = 40;
  std::vector<CUnconfirmedClaim> claims;
  std::map<std::string, std::string> labels;
};

class BenchModelTest : public ::testing::Test {
 protected:
  void SetUp() override { SetThreadTextLanguage(TextLanguage::English); }
  void TearDown() override { SetThreadTextLanguage(TextLanguage::English); }

  CBenchModel& Make(bool labels = false, IBenchPool* pool = nullptr) {
    CBenchSetup setup;
    setup.ports = {"COM200 (ttySIM0)", "COM201 (ttySIM1)"};
    setup.profileName = "dealer.ini";
    setup.labels = labels;
    setup.pool = pool;
    setup.clock = [this] { return m_now; };
    m_model = std::make_unique<CBenchModel>(std::move(setup));
    m_model->SetView(&m_view);
    m_model->SetResumeHandler([this](int slot) { resumed.push_back(slot); });
    return *m_model;
  }

  std::chrono::steady_clock::time_point m_now{};
  CRecordingView m_view;
  std::unique_ptr<CBenchModel> m_model;
  std::vector<int> resumed;
};

TEST_F(BenchModelTest, tile_waitsUnderItsPortsEntry_thenShowsEachStepWithItsProgress) {
  CBenchModel& model = Make();
  EXPECT_EQ(model.Tile(1).name, "COM201 (ttySIM1)");
  EXPECT_EQ(model.Tile(1).status, "Waiting for a unit");

  model.OnUnitStarted(1, "COM201 (ttyUSB3)");
  model.OnStepStarted(1, 1, 4, "Write IMEI");
  EXPECT_EQ(model.Tile(1).name, "COM201 (ttyUSB3)");
  EXPECT_EQ(model.Tile(1).status, "Step 2 of 4: Write IMEI");
  EXPECT_EQ(model.Tile(1).step, 2);
  EXPECT_EQ(model.Tile(1).stepCount, 4);
  EXPECT_EQ(model.Tile(0).status, "Waiting for a unit");
}

TEST_F(BenchModelTest, verdicts_nameTheImei_andOnAnythingButPassTheStepAndTheAnswerOrTimeOut) {
  EXPECT_EQ(JudgeUnit(Passed()).text, "PASS: IMEI 860000000000001 is written and takes effect after a restart");
  const CUnitVerdict verified = JudgeUnit(Passed("860000000000001", "860000000000001"));
  EXPECT_EQ(verified.kind, EVerdict::Pass);
  EXPECT_EQ(verified.text, "PASS: IMEI 860000000000001, verified");

  const CUnitVerdict failed = JudgeUnit(Unit({Step("Connect", EStepStatus::Ok), Step("Write IMEI", EStepStatus::Ok),
                                              Step("Set APN", EStepStatus::Fail, "Update APN fail"),
                                              Step("Set Language", EStepStatus::NoResponse, "no reply within 10 s")}));
  EXPECT_EQ(failed.kind, EVerdict::Fail);
  EXPECT_EQ(failed.text, "FAIL: IMEI 860000000000001; Set APN: Update APN fail");

  const CUnitVerdict silent =
      JudgeUnit(Unit({Step("Connect", EStepStatus::NoResponse, "the device did not answer COM:open within 10 s"),
                      Step("Write IMEI", EStepStatus::NotRun, "the link did not open")},
                     ""));
  EXPECT_EQ(silent.kind, EVerdict::NoResponse);
  EXPECT_EQ(silent.text, "NO RESPONSE: no IMEI was sent; Connect: the device did not answer COM:open within 10 s");

  SetThreadTextLanguage(TextLanguage::Chinese);
  EXPECT_EQ(JudgeUnit(Passed()).text, "PASS 通过：IMEI 860000000000001 已写入，重启后生效");
  EXPECT_EQ(JudgeUnit(Unit({Step("Set APN", EStepStatus::Fail, "Update APN fail")})).text,
            "FAIL 失败：IMEI 860000000000001；Set APN：Update APN fail");
}

TEST_F(BenchModelTest, verdictLogAndBeep_verdictAndLogStayAfterTheUnitIsUnplugged_untilTheNextUnitStarts) {
  CBenchModel& model = Make();
  model.OnUnitStarted(0, "COM200 (ttySIM0)");
  model.OnUnitFinished(0, Passed(), {"Device 1: COM200 (ttySIM0)", "  Result: OK"});
  model.OnPortGone(0, "COM200 (ttySIM0)");
  EXPECT_EQ(model.Tile(0).verdict, EVerdict::Pass);
  EXPECT_TRUE(model.Tile(0).status.starts_with("PASS"));
  EXPECT_EQ(model.Tile(0).log, (std::vector<std::string>{"Device 1: COM200 (ttySIM0)", "  Result: OK"}));

  EXPECT_EQ(m_view.beeps, 1);

  model.OnUnitStarted(0, "COM200 (ttySIM0)");
  EXPECT_EQ(model.Tile(0).verdict, EVerdict::None);
  EXPECT_TRUE(model.Tile(0).log.empty());
  model.SetSoundOn(false);
  model.OnUnitFinished(0, Passed(), {});
  EXPECT_EQ(m_view.beeps, 1);
}

TEST_F(BenchModelTest, counters_countAnyVerdictButPassAsFailed_andUnitsPerHourFromTheFirstUnit) {
  CBenchModel& model = Make();
  m_now += 2h;  // the bench stood open before the first unit: no production time
  model.OnUnitStarted(0, "COM200 (ttySIM0)");
  model.OnUnitStarted(1, "COM201 (ttySIM1)");
  m_now += 10min;
  model.OnUnitFinished(0, Passed(), {});
  model.OnUnitFinished(1, Unit({Step("Connect", EStepStatus::NoResponse, "t")}, ""), {});
  model.OnUnitStarted(0, "COM200 (ttySIM0)");
  m_now += 5min;
  model.OnUnitFinished(0, Unit({Step("Connect", EStepStatus::Fail, "the link closed")}, ""), {});
  EXPECT_EQ(model.CounterTexts(), (std::vector<std::string>{"Passed: 1", "Failed: 2", "Units per hour: 12"}));
  m_now += 15min;
  EXPECT_EQ(model.CounterTexts()[2], "Units per hour: 6");
}

TEST_F(BenchModelTest, labels_holdAUnitUntilGiven_thenResumeItsSlot_andGoWithTheImei) {
  CBenchModel& model = Make(true);
  EXPECT_FALSE(model.MayStartUnit(0, "COM200 (ttySIM0)"));
  EXPECT_EQ(model.Tile(0).status, "Waiting for a unit: enter its label to start");
  EXPECT_FALSE(model.SetLabel(0, "   "));
  EXPECT_TRUE(resumed.empty());

  EXPECT_TRUE(model.SetLabel(0, " A-0001\n"));
  EXPECT_EQ(resumed, std::vector<int>{0});
  EXPECT_TRUE(model.MayStartUnit(0, "COM200 (ttySIM0)"));
  model.OnUnitStarted(0, "COM200 (ttySIM0)");
  EXPECT_FALSE(model.LabelEditable(0));
  model.OnUnitFinished(0, Passed(), {});
  EXPECT_EQ(model.Tile(0).label, "");

  // A unit that went before it started leaves the slot waiting; a label typed early starts the
  // next at once.
  EXPECT_FALSE(model.MayStartUnit(1, "COM201 (ttySIM1)"));
  model.OnPortGone(1, "COM201 (ttySIM1)");
  EXPECT_EQ(model.Tile(1).status, "Waiting for a unit");
  EXPECT_TRUE(model.SetLabel(1, "A-0002"));
  EXPECT_EQ(resumed, std::vector<int>{0});
  EXPECT_TRUE(model.MayStartUnit(1, "COM201 (ttySIM1)"));
}

TEST_F(BenchModelTest, labels_usedInThisSessionInThePoolOrOnAnotherSlot_areRefusedAndNothingStarts) {
  CFakeBenchPool pool;
  pool.labels["B-7"] = "860000000000099";
  CBenchModel& model = Make(true, &pool);
  model.SetLabel(0, "A-1");
  model.OnUnitStarted(0, "COM200 (ttySIM0)");
  model.OnUnitFinished(0, Passed("860000000000001"), {});

  EXPECT_FALSE(model.MayStartUnit(1, "COM201 (ttySIM1)"));
  EXPECT_FALSE(model.SetLabel(1, "A-1"));
  EXPECT_EQ(model.Tile(1).labelMessage, "The label A-1 is already used, with IMEI 860000000000001: nothing was sent");
  EXPECT_FALSE(model.SetLabel(1, "B-7"));
  EXPECT_EQ(model.Tile(1).labelMessage, "The label B-7 is already used, with IMEI 860000000000099: nothing was sent");
  model.SetLabel(0, "C-3");
  EXPECT_FALSE(model.SetLabel(1, "C-3"));
  EXPECT_EQ(model.Tile(1).labelMessage, "The label C-3 is already given to the unit on COM200 (ttySIM0)");
  EXPECT_TRUE(resumed.empty());
  EXPECT_FALSE(model.MayStartUnit(1, "COM201 (ttySIM1)"));

  SetThreadTextLanguage(TextLanguage::Chinese);
  model.SetLabel(1, "A-1");
  EXPECT_EQ(model.Tile(1).labelMessage, "标签 A-1 已用于 IMEI 860000000000001：未发送任何内容");
}

TEST_F(BenchModelTest, pool_countsAndUnconfirmedClaims_areReadAgainAfterEachVerdictAndRelease) {
  CFakeBenchPool pool;
  CBenchModel& model = Make(false, &pool);
  EXPECT_EQ(model.CounterTexts()[3], "Free: 40");
  pool.free = 38;
  pool.claims = {{"860000000000002", "bench-1", "COM201 (ttySIM1)", "2026-12-08 07:40:00", "A10KX3"},
                 {"860000000000003", "bench-2", "COM5 (ttyUSB0)", "2026-12-08 07:41:00", ""}};
  model.OnUnitFinished(0, Passed(), {});
  EXPECT_EQ(model.CounterTexts()[4], "Unconfirmed: 2");
  EXPECT_EQ(
      CBenchModel::UnconfirmedCells(model.Unconfirmed()[0]),
      (std::vector<std::string>{"860000000000002", "bench-1", "COM201 (ttySIM1)", "2026-12-08 07:40:00", "A10KX3"}));

  EXPECT_TRUE(model.Release(0));
  ASSERT_EQ(model.Unconfirmed().size(), 1u);
  EXPECT_EQ(model.Unconfirmed()[0].imei, "860000000000003");
  EXPECT_EQ(model.CounterTexts()[3], "Free: 39");
  EXPECT_FALSE(model.Release(5));
}

TEST(ProductionProfile, showsWhatItSets_withEverySecretMasked) {
  CProfile profile;
  profile.serverIp = 0x0A000005;
  profile.account = "unit7";
  profile.accountPassword = "s3cret";
  profile.apn = "cmnet";
  profile.apnPassword = "apnpw";
  profile.wifiAddress = "3c:84:6a:01:22:9f";
  profile.wifiPassword = "parlo123";
  profile.factoryReset = true;
  EXPECT_EQ(DescribeProfile(profile),
            (std::vector<std::string>{"server_ip = 10.0.0.5", "account = unit7", "account_password = ••••",
                                      "apn = cmnet", "apn_password = ••••", "wifi_address = 3c:84:6a:01:22:9f",
                                      "wifi_password = ••••", "factory_reset = true"}));
}

}  // namespace
}  // namespace tolvane::testing
