// Several slots at once, each on a thread of its own, against devices that answer from the link's
// sender thread: every device gets its own IMEI, and nothing races (this suite runs under
// ThreadSanitizer).
#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <set>

#include "FakePort.h"
#include "engine/ProvisionJob.h"
#include "posix/PosixFileSystem.h"

namespace tolvane::testing {
namespace {

thread_local IEventLoop* t_slotLoop = nullptr;

// A device that says ok to everything, and reports only its IMEI when the link opens.
void AnswerAsADevice(CFakePort& port, IEventLoop& loop) {
  port.onWrite = [&port, &loop](const std::string& command) {
    const std::string key = command.substr(0, command.find(':'));
    if (command == "COM:close~") return;
    const std::string answer = key == "COM" ? "COM:open~IMEI:356938035643809~" : key + ":ok~";
    loop.Post([&port, answer] {
      if (port.IsOpen()) port.Feed(answer);
    });
  };
}

class CFakePlatform : public IProvisionPlatform {
 public:
  explicit CFakePlatform(std::vector<std::string> captions) : m_ports(std::move(captions)) {
    for (const std::string& caption : m_ports.ports) m_ports.identities[caption].path = "/dev/" + caption;
  }
  IPortList& Ports() override { return m_ports; }
  std::unique_ptr<ILoopThread> StartLoopThread() override {
    auto thread = std::make_unique<CLoopThread>();
    thread->Loop().Post([loop = &thread->Loop()] { t_slotLoop = loop; });
    return thread;
  }
  CSlotPorts NewSlotPorts() override {
    auto port = std::make_unique<CFakePort>();
    AnswerAsADevice(*port, *t_slotLoop);
    return {std::make_unique<CFakePortList>(m_ports.ports), std::move(port)};
  }
  IFileSystem& Files() override { return m_files; }

 private:
  CFakePortList m_ports;
  CPosixFileSystem m_files;
};

// IMEIs from memory, in order; the job keeps its calls apart.
class CCountingSource : public IImeiSource {
 public:
  std::string Describe() override { return "IMEIs from memory."; }
  std::optional<std::string> Likely(std::string&) override { return Next(); }
  ETake Take(const CUnit&, std::string& imei, std::string&) override {
    imei = Next();
    ++m_nTaken;
    return ETake::Taken;
  }
  bool Settle(const std::string& imei, const CSettlement&, std::string&) override {
    settled.insert(imei);
    return true;
  }
  std::string Progress() override { return std::to_string(m_nTaken) + " taken"; }
  bool IsPool() const override { return true; }

  std::set<std::string> settled;

 private:
  std::string Next() const { return "86000000000" + std::to_string(1000 + m_nTaken); }
  int m_nTaken = 0;
};

TEST(ThreadedProvisionJob, eightSlotsAtOnce_eachDeviceGetsItsOwnImeiAndEveryRunSucceeds) {
  std::vector<std::string> captions;
  CProvisionOptions options;
  options.profilePath = "line.ini";
  for (int number = 1; number <= 8; ++number) {
    captions.push_back("COM" + std::to_string(number) + " (fake" + std::to_string(number) + ")");
    options.comNumbers.push_back(number);
  }
  CFakePlatform platform(captions);
  CProfile profile;
  profile.serverIp = 0x0A000009;
  profile.language = "zh_CN";
  auto source = std::make_unique<CCountingSource>();
  CCountingSource& imeis = *source;
  CRunTimings timings;
  timings.quietMs = 20;

  CEventLoop loop;
  std::vector<std::string> lines;
  int status = -1;
  CProvisionJob job(platform, loop, options, profile, std::move(source),
                    [&lines](const std::string& line) { lines.push_back(line); }, timings);
  job.SetFinishedHandler([&](int exitStatus) {
    status = exitStatus;
    loop.Quit();
  });
  loop.Post([&job] { job.Start(); });
  // A bound, never a measure: the job ends long before.
  const IEventLoop::TimerId bound = loop.PostAfter(std::chrono::seconds(60), [&loop] { loop.Quit(); });
  loop.Run();
  loop.Cancel(bound);

  EXPECT_EQ(status, kExitOk);
  ASSERT_EQ(job.Report().devices.size(), 8u);
  std::set<std::string> written;
  for (const CDeviceReport& device : job.Report().devices) {
    EXPECT_TRUE(DeviceSucceeded(device)) << device.port << ": " << DescribeDeviceResult(device);
    written.insert(device.imei);
  }
  EXPECT_EQ(written.size(), 8u);
  EXPECT_EQ(imeis.settled, written);
}

}  // namespace
}  // namespace tolvane::testing
