// The link feeds the trace from its worker threads: what is written and cut, in order, masked, and
// without waiting for the window's thread.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "FakePort.h"
#include "HeadlessWindow.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane::testing {
namespace {

using namespace std::chrono_literals;
using Entry = std::pair<TraceDirection, std::string>;
constexpr auto kTo = TraceDirection::ToDevice;
constexpr auto kFrom = TraceDirection::FromDevice;

class ThreadedTrace : public ::testing::Test {
 protected:
  void SetUp() override {
    portList.ports = {"COM5 (ttySIM0)"};
    dlg = std::make_unique<CMirlSettingsDlg>(window, port, portList);
    dlg->SetSleeper([](std::chrono::milliseconds) { std::this_thread::sleep_for(1ms); });
    dlg->SetTrafficTrace(&trace);
    trace.SetRecording(true);
    dlg->OnInitDialog();
  }

  void TearDown() override {
    if (dlg) dlg->OnDestroy();
    dlg.reset();
  }

  // Everything traced so far, taken on this thread as the window would.
  const std::vector<Entry>& Traced() {
    std::size_t leftOut = 0;
    for (const CTraceEntry& entry : trace.Take(leftOut)) m_traced.emplace_back(entry.direction, entry.text);
    return m_traced;
  }
  bool HasTraced(const Entry& wanted) {
    const auto& traced = Traced();
    return std::find(traced.begin(), traced.end(), wanted) != traced.end();
  }

  CHeadlessWindow window;
  CFakePort port;
  CFakePortList portList;
  CTrafficTrace trace;
  std::unique_ptr<CMirlSettingsDlg> dlg;

 private:
  std::vector<Entry> m_traced;
};

TEST_F(ThreadedTrace, showsTheExchangeInOrderWithTheSecretsMasked) {
  dlg->OnConnect();
  ASSERT_TRUE(window.PumpUntil([&] { return port.WrittenText() == "COM:open~"; }, 20s));
  port.Feed("COM:open~");
  ASSERT_TRUE(window.PumpUntil([&] { return dlg->IsDeviceReady(); }, 20s));
  window.SetWindowText(IDC_ACCOUNT, "unit7");
  window.SetWindowText(IDC_ACCOUNT_PASSWORD, "hunter2");
  dlg->OnSetAccount();
  ASSERT_TRUE(window.PumpUntil([&] { return port.Writes().size() == 2; }, 20s));
  port.Feed("ACCOUNT:ok~IMEI:860000000000001~");
  ASSERT_TRUE(window.PumpUntil([&] { return window.GetWindowText(IDC_IMEI) == "860000000000001"; }, 20s));
  dlg->OnConnect();

  const std::vector<Entry> expected = {{kTo, "COM:open"},
                                       {kFrom, "COM:open"},
                                       {kTo, "ACCOUNT:unit7^\u2022\u2022\u2022\u2022"},
                                       {kFrom, "ACCOUNT:ok"},
                                       {kFrom, "IMEI:860000000000001"},
                                       {kTo, "COM:close"}};
  EXPECT_EQ(Traced(), expected);
  EXPECT_NE(port.WrittenText().find("hunter2"), std::string::npos);  // the wire itself is untouched
}

TEST_F(ThreadedTrace, commandsAreTracedWhileTheWindowsThreadIsHeldByABox) {
  dlg->OnConnect();
  ASSERT_TRUE(window.PumpUntil([&] { return port.WrittenText() == "COM:open~"; }, 20s));
  port.Feed("COM:open~");
  ASSERT_TRUE(window.PumpUntil([&] { return dlg->IsDeviceReady(); }, 20s));
  bool tracedWhileHeld = false;
  window.SetMessageBoxHook([&](const std::string&) {
    // Inside the box, without serving the window's queue.
    dlg->QueueCommand("GPS:open");
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (!(tracedWhileHeld = HasTraced({kTo, "GPS:open"})) && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(1ms);
  });
  port.Feed("IMEI:ok~");
  ASSERT_TRUE(window.PumpUntil([&] { return !window.MessageBoxes().empty(); }, 20s));
  EXPECT_TRUE(tracedWhileHeld);
}

TEST_F(ThreadedTrace, aRefusedWriteIsNotTracedAsSent) {
  port.failWrites = true;
  dlg->OnConnect();
  port.Feed("COM:open~");
  ASSERT_TRUE(window.PumpUntil([&] { return HasTraced({kFrom, "COM:open"}); }, 20s));
  dlg->OnConnect();
  EXPECT_FALSE(HasTraced({kTo, "COM:open"}));
  EXPECT_FALSE(HasTraced({kTo, "COM:close"}));
}

}  // namespace
}  // namespace tolvane::testing
