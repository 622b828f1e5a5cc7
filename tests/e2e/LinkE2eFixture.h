#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <memory>

#include "DevsimProcess.h"
#include "HeadlessWindow.h"
#include "qtserial/LinuxPortList.h"
#include "qtserial/QtSerialPort.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane::e2e {

// Points TOLVANE_PORT_REGISTRY at a fresh private directory for as long as it lives, so that
// devices of other tests and of the user stay out of sight.
class CScopedRegistry {
 public:
  CScopedRegistry();
  ~CScopedRegistry();
  CScopedRegistry(const CScopedRegistry&) = delete;
  CScopedRegistry& operator=(const CScopedRegistry&) = delete;
  QString Path() const { return m_directory.path(); }

 private:
  QTemporaryDir m_directory;
  bool m_bHadPrevious;
  QByteArray m_previous;
};

// The main window's logic on the real port layer against a real simulated device. The test's
// thread plays the window's thread: PumpUntil runs Qt's events and the window's posted tasks.
class LinkE2eTest : public ::testing::Test {
 protected:
  using Milliseconds = std::chrono::milliseconds;

  void TearDown() override;

  // Starts a device with these options; fails the test when it does not come up.
  CDevsimProcess& StartDevice(const QStringList& arguments = {});
  // Creates the window, runs its start-up and selects the port with this number.
  void OpenWindowOn(int comNumber);
  void PressConnect() { m_dlg->OnConnect(); }

  bool PumpUntil(const std::function<bool()>& done, Milliseconds bound = Milliseconds(20'000));
  bool IsLinkClosed() const;
  bool IsDeviceReady() const { return m_dlg->IsDeviceReady(); }
  // Every command button that needs no selection, as the ready state enables them.
  bool AreCommandButtonsEnabled() const;
  bool AreCommandButtonsDisabled() const;
  std::string ConnectCaption() const { return m_window.GetWindowText(IDC_CONNECT); }

  CScopedRegistry m_registry;
  testing::CHeadlessWindow m_window;
  CLinuxPortList m_ports;
  std::unique_ptr<CQtSerialPort> m_port;
  std::unique_ptr<CMirlSettingsDlg> m_dlg;
  std::unique_ptr<CDevsimProcess> m_device;
};

}  // namespace tolvane::e2e
