#include <QDir>
#include <algorithm>

#include "LinkE2eFixture.h"
#include "PortHolder.h"

namespace tolvane::e2e {
namespace {

constexpr char kOccupied[] = " Error, the serial port is occupied or does not exist!";

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

class PortDiscovery : public LinkE2eTest {};
class RealLink : public LinkE2eTest {};
class LostDevice : public LinkE2eTest {};

TEST_F(PortDiscovery, listsTheRunningDeviceUnderItsComNumber) {
  CDevsimProcess& device = StartDevice();
  EXPECT_EQ(device.ComNumber(), 200);

  const std::vector<std::string> captions = m_ports.ListPorts();
  EXPECT_TRUE(Contains(captions, "COM200 (ttySIM0)"));
  const auto entry = m_ports.FindPort(200);
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(entry->path, device.TerminalPath().toStdString());
}

TEST_F(PortDiscovery, dropsADeviceThatStopped) {
  CDevsimProcess& device = StartDevice();
  device.Terminate();
  ASSERT_TRUE(device.WaitForExit(30'000));
  EXPECT_EQ(device.ExitCode(), 0);
  EXPECT_FALSE(m_ports.FindPort(200).has_value());
}

TEST_F(PortDiscovery, dropsADeviceThatWasKilled) {
  CDevsimProcess& device = StartDevice();
  device.Kill();
  ASSERT_TRUE(device.WaitForExit(30'000));
  // It left its entry behind; nobody holds it any more.
  EXPECT_FALSE(m_ports.FindPort(200).has_value());
  EXPECT_TRUE(QDir(m_registry.Path()).isEmpty());
}

TEST_F(RealLink, Connect_deviceAnswersOpen_enablesTheCommandButtons) {
  OpenWindowOn(StartDevice().ComNumber());
  ASSERT_TRUE(AreCommandButtonsDisabled());

  PressConnect();
  EXPECT_EQ(ConnectCaption(), "Close");
  ASSERT_TRUE(PumpUntil([this] { return IsDeviceReady(); }));
  EXPECT_TRUE(AreCommandButtonsEnabled());
  // They need a selected network or device first.
  EXPECT_FALSE(m_window.IsWindowEnabled(IDC_WIFI_CONNECT));
  EXPECT_FALSE(m_window.IsWindowEnabled(IDC_BT_PAIR));
  EXPECT_TRUE(m_window.MessageBoxes().empty());
}

TEST_F(RealLink, Close_tellsTheDeviceAndResetsTheWindow) {
  CDevsimProcess& device = StartDevice();
  OpenWindowOn(device.ComNumber());
  PressConnect();
  ASSERT_TRUE(PumpUntil([this] { return IsDeviceReady(); }));

  PressConnect();
  EXPECT_TRUE(IsLinkClosed());
  EXPECT_TRUE(AreCommandButtonsDisabled());
  EXPECT_TRUE(PumpUntil([&device] { return device.HasPrinted("PC says COM:close"); }));
}

TEST_F(RealLink, CloseThenConnectAgain_deviceAnswersTheNewSession) {
  CDevsimProcess& device = StartDevice();
  OpenWindowOn(device.ComNumber());
  PressConnect();
  ASSERT_TRUE(PumpUntil([this] { return IsDeviceReady(); }));
  PressConnect();
  ASSERT_TRUE(IsLinkClosed());

  PressConnect();
  ASSERT_TRUE(PumpUntil([this] { return IsDeviceReady(); }));
  EXPECT_EQ(ConnectCaption(), "Close");
  EXPECT_TRUE(m_window.MessageBoxes().empty());
}

TEST_F(RealLink, DeviceSaysComClose_closesTheLinkAsCloseDoes) {
  CDevsimProcess& device = StartDevice();
  OpenWindowOn(device.ComNumber());
  PressConnect();
  ASSERT_TRUE(PumpUntil([this] { return IsDeviceReady(); }));

  device.Say("COM:close");
  ASSERT_TRUE(PumpUntil([this] { return IsLinkClosed(); }));
  EXPECT_TRUE(AreCommandButtonsDisabled());
  // The PC's close still says goodbye on the line.
  EXPECT_TRUE(PumpUntil([&device] { return device.HasPrinted("PC says COM:close"); }));
  EXPECT_TRUE(device.IsRunning());
}

TEST_F(LostDevice, Unplugged_endsTheLinkCleanly) {
  CDevsimProcess& device = StartDevice({"--unplug-after", "1"});
  OpenWindowOn(device.ComNumber());
  PressConnect();

  ASSERT_TRUE(PumpUntil([this] { return IsLinkClosed(); }));
  EXPECT_TRUE(AreCommandButtonsDisabled());
  ASSERT_TRUE(device.WaitForExit(30'000));
  EXPECT_EQ(device.ExitCode(), 0);

  // The port is gone for good: a new attempt reports it instead of hanging on to a dead line.
  PressConnect();
  EXPECT_EQ(m_window.MessageBoxes().back(), "COM200" + std::string(kOccupied));
  EXPECT_TRUE(IsLinkClosed());
}

TEST_F(LostDevice, KilledWhileReady_endsTheLinkCleanly) {
  CDevsimProcess& device = StartDevice();
  OpenWindowOn(device.ComNumber());
  PressConnect();
  ASSERT_TRUE(PumpUntil([this] { return IsDeviceReady(); }));

  device.Kill();
  ASSERT_TRUE(PumpUntil([this] { return IsLinkClosed(); }));
  EXPECT_TRUE(AreCommandButtonsDisabled());
  EXPECT_TRUE(m_window.MessageBoxes().empty());
}

TEST_F(RealLink, PortHeldByAnotherProcess_showsTheOccupiedMessage) {
  CDevsimProcess& device = StartDevice();
  OpenWindowOn(device.ComNumber());
  CPortHolder holder;
  ASSERT_TRUE(holder.Hold(device.ComNumber()));

  PressConnect();
  ASSERT_EQ(m_window.MessageBoxes().size(), 1u);
  EXPECT_EQ(m_window.MessageBoxes().front(), "COM200" + std::string(kOccupied));
  EXPECT_NE(ConnectCaption(), "Close");
  EXPECT_FALSE(m_port->IsOpen());
  EXPECT_FALSE(m_dlg->IsRunning());

  // Once the other process lets go, the port opens as usual.
  holder.Release();
  PressConnect();
  EXPECT_TRUE(PumpUntil([this] { return IsDeviceReady(); }));
}

class FaultyLine : public LinkE2eTest, public ::testing::WithParamInterface<QStringList> {};

TEST_P(FaultyLine, Connect_becomesReadyDespiteTheLine) {
  OpenWindowOn(StartDevice(GetParam() + QStringList{"--seed", "1"}).ComNumber());
  PressConnect();
  ASSERT_TRUE(PumpUntil([this] { return IsDeviceReady(); }));
  EXPECT_TRUE(AreCommandButtonsEnabled());
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultyLine,
                         ::testing::Values(QStringList{"--split"}, QStringList{"--garbage"},
                                           QStringList{"--delay", "500"},
                                           QStringList{"--split", "--garbage", "--delay", "100"}),
                         [](const ::testing::TestParamInfo<QStringList>& testInfo) {
                           QString name = testInfo.param.join('_').remove('-');
                           return name.toStdString();
                         });

}  // namespace
}  // namespace tolvane::e2e
