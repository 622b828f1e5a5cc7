// The real job on a slot thread tells the bench its events in order, holds a unit until the bench
// resumes its slot, and hands over the unit's lines exactly as it prints them.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "FakePort.h"
#include "bench/BenchModel.h"
#include "engine/ProvisionJob.h"
#include "posix/PosixFileSystem.h"

namespace tolvane::testing {
namespace {

thread_local IEventLoop* t_slotLoop = nullptr;

// Says ok to everything; reports only its old IMEI when the link opens.
class CAnsweringPlatform : public IProvisionPlatform {
 public:
  explicit CAnsweringPlatform(const std::string& caption) : m_ports({caption}) {
    m_ports.identities[caption].path = "/dev/fake1";
  }
  IPortList& Ports() override { return m_ports; }
  std::unique_ptr<ILoopThread> StartLoopThread() override {
    auto thread = std::make_unique<CLoopThread>();
    thread->Loop().Post([loop = &thread->Loop()] { t_slotLoop = loop; });
    return thread;
  }
  CSlotPorts NewSlotPorts() override {
    auto port = std::make_unique<CFakePort>();
    port->onWrite = [&port = *port, &loop = *t_slotLoop](const std::string& command) {
      if (command == "COM:close~") return;
      const std::string key = command.substr(0, command.find(':'));
      const std::string answer = key == "COM" ? "COM:open~IMEI:356938035643809~" : key + ":ok~";
      loop.Post([&port, answer] {
        if (port.IsOpen()) port.Feed(answer);
      });
    };
    return {std::make_unique<CFakePortList>(m_ports.ports), std::move(port)};
  }
  IFileSystem& Files() override { return m_files; }

 private:
  CFakePortList m_ports;
  CPosixFileSystem m_files;
};

class CListSource : public IImeiSource {
 public:
  std::string Describe() override { return "IMEIs from memory."; }
  std::optional<std::string> Likely(std::string&) override { return "860000000000001"; }
  ETake Take(const CUnit& unit, std::string& imei, std::string&) override {
    label = unit.label;
    imei = "860000000000001";
    return ETake::Taken;
  }
  bool Settle(const std::string&, const CSettlement&, std::string&) override { return true; }
  std::string Progress() override { return "1 taken"; }
  bool IsPool() const override { return false; }
  std::string label;  // the unit's, as the claim had it
};

// Writes each event down and passes it on to the model.
class CRecordingObserver : public IJobObserver {
 public:
  explicit CRecordingObserver(CBenchModel& model) : m_model(model) {}
  bool MayStartUnit(int slot, const std::string& port) override {
    const bool may = m_model.MayStartUnit(slot, port);
    events.push_back("may start " + port + (may ? ": yes" : ": no"));
    return may;
  }
  void OnUnitStarted(int slot, const std::string& port) override {
    events.push_back("started " + port);
    m_model.OnUnitStarted(slot, port);
  }
  void OnStepStarted(int slot, int index, int count, const std::string& step) override {
    events.push_back("step " + std::to_string(index) + "/" + std::to_string(count) + " " + step);
    m_model.OnStepStarted(slot, index, count, step);
  }
  void OnUnitFinished(int slot, const CDeviceReport& device, const std::vector<std::string>& lines) override {
    events.push_back("finished");
    unitLines = lines;
    m_model.OnUnitFinished(slot, device, lines);
    if (onFinished) onFinished();
  }
  void OnPortGone(int, const std::string& port) override { events.push_back("gone " + port); }
  std::string UnitLabel(int slot) const override { return m_model.UnitLabel(slot); }

  std::vector<std::string> events, unitLines;
  std::function<void()> onFinished;

 private:
  CBenchModel& m_model;
};

TEST(ThreadedBenchJob, aUnitHeldForItsLabel_startsOnResume_andItsEventsArriveInOrder_andTheLabelGoesWithIt) {
  const std::string caption = "COM1 (fake1)";
  CAnsweringPlatform platform(caption);
  CProvisionOptions options;
  options.comNumbers = {1};
  options.imeiListPath = "imeis.txt";
  options.wait = true;
  CProfile profile;
  profile.serverIp = 0x0A000009;
  CRunTimings timings;
  timings.quietMs = 20;

  CBenchSetup setup;
  setup.ports = {caption};
  setup.labels = true;
  CBenchModel model(std::move(setup));
  CRecordingObserver observer(model);
  CEventLoop loop;
  std::vector<std::string> printed;
  auto source = std::make_unique<CListSource>();
  const CListSource& imeis = *source;
  CProvisionJob job(
      platform, loop, options, profile, std::move(source),
      [&printed](const std::string& line) { printed.push_back(line); }, timings);
  job.SetObserver(&observer);
  model.SetResumeHandler([&job](int slot) { job.ResumeSlot(slot); });
  observer.onFinished = [&loop] { loop.Quit(); };
  loop.Post([&job] { job.Start(); });
  // The label comes once the job has held the unit.
  loop.Post([&model] { EXPECT_TRUE(model.SetLabel(0, "A-0001")); });
  // A bound, never a measure: the unit is done long before.
  const IEventLoop::TimerId bound = loop.PostAfter(std::chrono::seconds(60), [&loop] { loop.Quit(); });
  loop.Run();
  loop.Cancel(bound);

  EXPECT_EQ(
      observer.events,
      (std::vector<std::string>{"may start " + caption + ": no", "may start " + caption + ": yes", "started " + caption,
                                "step 0/3 Connect", "step 1/3 Write IMEI", "step 2/3 Update IP", "finished"}));
  const auto header = std::find(printed.begin(), printed.end(), "Device 1: " + caption);
  ASSERT_NE(header, printed.end());
  EXPECT_EQ(observer.unitLines,
            std::vector<std::string>(header, header + static_cast<long>(observer.unitLines.size())));
  ASSERT_FALSE(observer.unitLines.empty());
  EXPECT_EQ(observer.unitLines.back(), "  Result: OK");
  ASSERT_GT(observer.unitLines.size(), 1u);
  EXPECT_EQ(observer.unitLines[1], "  Label: A-0001");
  EXPECT_EQ(imeis.label, "A-0001");
  EXPECT_EQ(nlohmann::json::parse(JsonReport(job.Report()))["devices"][0]["label"], "A-0001");
  EXPECT_EQ(model.Tile(0).status, "PASS: IMEI 860000000000001 is written and takes effect after a restart");
  EXPECT_EQ(model.Tile(0).log, observer.unitLines);
}

}  // namespace
}  // namespace tolvane::testing
