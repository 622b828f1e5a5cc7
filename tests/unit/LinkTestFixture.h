#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "FakePort.h"
#include "HeadlessWindow.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane::testing {

// The ids that EnableDeviceControls drives, in its order.
inline const int kDeviceControls[] = {IDC_BT_OPEN,          IDC_GPS_OPEN,     IDC_WIFI_OPEN,   IDC_WIFI_CONNECT,
                                      IDC_WRITE_IMEI,       IDC_BT_PAIR,      IDC_BT_SEARCH,   IDC_UPDATE_IP,
                                      IDC_UPDATE_DOMAIN,    IDC_SET_ACCOUNT,  IDC_SET_APN,     IDC_CLEAR_APN,
                                      IDC_UPDATE_DEALER_PW, IDC_SET_LANGUAGE, IDC_SET_NETWORK, IDC_FACTORY_RESET};

// A dialog over the headless window and the fake port, started up with the given ports.
class LinkTest : public ::testing::Test {
 protected:
  void StartUp(std::vector<std::string> ports = {"COM3 (ttyUSB0)"}) {
    portList.ports = std::move(ports);
    dlg = std::make_unique<CMirlSettingsDlg>(window, port, portList);
    // Handler tests drive everything from this thread: the workers park until the link closes.
    dlg->SetSleeper([this](std::chrono::milliseconds) {
      while (dlg->IsRunning()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    window.SetTimerHandler([this](int id) { dlg->OnTimer(id); });
    dlg->OnInitDialog();
  }

  // Connects and lets the device answer "COM:open", all on this thread: no worker runs the queue.
  void ConnectReady() {
    dlg->OnConnect();
    dlg->HandleDeviceMessage("COM:open");
  }

  bool Enabled(int id) const { return window.IsWindowEnabled(id); }

  // The commands queued since the last call, oldest first. The workers are parked while the link
  // runs, so nothing else takes from the queue.
  std::vector<std::string> TakeSentCommands() {
    auto& queue = const_cast<CStringQueue&>(dlg->GetSendQueue());
    std::vector<std::string> commands;
    std::string command;
    while (queue.TakeTail(command)) commands.push_back(command);
    return commands;
  }

  void TearDown() override {
    if (dlg) dlg->OnDestroy();
    dlg.reset();
  }

  CHeadlessWindow window;
  CFakePort port;
  CFakePortList portList;
  std::unique_ptr<CMirlSettingsDlg> dlg;
};

}  // namespace tolvane::testing
