// The real port layer as a device sees it: pacing at the wire, and errors that are not a loss.
#include <QSerialPort>
#include <algorithm>
#include <thread>

#include "LinkE2eFixture.h"
#include "PtyPeer.h"

namespace tolvane::e2e {
namespace {

using namespace std::chrono_literals;

class PortAtTheWire : public LinkE2eTest {
 protected:
  // A window on the test's own pseudo-terminal, ready.
  void ConnectToPeer() {
    m_peer = std::make_unique<CPtyPeer>(m_registry.Path().toStdString());
    ASSERT_NE(m_peer->ComNumber(), 0);
    OpenWindowOn(m_peer->ComNumber());
    PressConnect();
    ASSERT_TRUE(PumpUntil([this] { return m_peer->Received().find("COM:open~") != std::string::npos; }));
    m_peer->Send("COM:open~");
    ASSERT_TRUE(PumpUntil([this] { return IsDeviceReady(); }));
  }

  // The commands the device has received, in order, each with the time its read arrived.
  std::vector<std::pair<std::string, std::chrono::steady_clock::time_point>> CommandsReceived() const {
    std::vector<std::pair<std::string, std::chrono::steady_clock::time_point>> commands;
    std::string pending;
    for (const CPtyPeer::Arrival& arrival : m_peer->Arrivals()) {
      pending += arrival.bytes;
      for (std::size_t end; (end = pending.find('~')) != std::string::npos; pending.erase(0, end + 1))
        commands.emplace_back(pending.substr(0, end), arrival.at);
    }
    return commands;
  }

  QSerialPort& SerialOf(CQtSerialPort& port) { return *port.findChild<QSerialPort*>(); }

  void TearDown() override {
    LinkE2eTest::TearDown();
    m_peer.reset();
  }

  std::unique_ptr<CPtyPeer> m_peer;
};

TEST_F(PortAtTheWire, commandsLeavePacedInOrderWhileTheWindowsThreadIsBusy) {
  ConnectToPeer();
  const std::size_t before = CommandsReceived().size();
  constexpr int kBurst = 10;
  for (int i = 0; i < kBurst; ++i) m_dlg->QueueCommand("CUSTOMER_PW:" + std::to_string(i));

  // This thread is the window's: hold it, without pumping, until the device has seen the burst.
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (CommandsReceived().size() < before + kBurst && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(1ms);

  const auto commands = CommandsReceived();
  ASSERT_EQ(commands.size(), before + kBurst) << "commands waited for the window's thread";
  for (int i = 0; i < kBurst; ++i) EXPECT_EQ(commands[before + i].first, "CUSTOMER_PW:" + std::to_string(i));
  // One command per 10 ms pass: the burst cannot reach the device in less than nine passes. Even
  // with the first arrival noticed late, it spans most of that; written in one go it spans none.
  const auto span = commands.back().second - commands[before].second;
  EXPECT_GE(span, 60ms);
}

TEST_F(PortAtTheWire, aSpuriousReadErrorKeepsTheLink) {
  ConnectToPeer();
  emit SerialOf(*m_port).errorOccurred(QSerialPort::ReadError);
  PumpUntil([] { return false; }, 100ms);
  EXPECT_TRUE(m_port->IsOpen());
  m_peer->Send("IMEI:860000000000001~");
  ASSERT_TRUE(PumpUntil([this] { return m_window.GetWindowText(IDC_IMEI) == "860000000000001"; }));
  EXPECT_TRUE(IsDeviceReady());
}

TEST_F(PortAtTheWire, readErrorsThatKeepComingCloseTheLinkAsClose) {
  ConnectToPeer();
  for (int i = 0; i < 3; ++i) emit SerialOf(*m_port).errorOccurred(QSerialPort::ReadError);
  ASSERT_TRUE(PumpUntil([this] { return IsLinkClosed(); }));
  EXPECT_TRUE(AreCommandButtonsDisabled());
}

TEST_F(PortAtTheWire, closeHandsTheDeviceItsCloseAnnouncementWhole) {
  ConnectToPeer();
  PressConnect();
  EXPECT_TRUE(IsLinkClosed());
  ASSERT_TRUE(PumpUntil([this] {
    const auto commands = CommandsReceived();
    return !commands.empty() && commands.back().first == "COM:close";
  }));
}

}  // namespace
}  // namespace tolvane::e2e
