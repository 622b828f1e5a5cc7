#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "DevsimProcess.h"
#include "qtserial/LinuxPortList.h"
#include "qt/QtMainWindow.h"
#include "qtserial/QtSerialPort.h"
#include "ui/MirlSettingsDlg.h"

class QPushButton;

namespace tolvane::e2e {

// The real window on the real port against a tolvane-devsim of its own, for tests that drive the
// window only through its controls. Qt Test's QTRY_ macros pump the events.
class CWindowSession {
 public:
  // Points the port registry at a private directory, so only this session's device is listed
  // besides the machine's own serial ports.
  CWindowSession();
  ~CWindowSession();
  CWindowSession(const CWindowSession&) = delete;
  CWindowSession& operator=(const CWindowSession&) = delete;

  // Starts the device with these options, then the window, and shows it. False when either
  // does not come up.
  bool Start(const QStringList& devsimArguments = {}) { return StartDevice(devsimArguments) && StartWindow(); }
  bool StartDevice(const QStringList& devsimArguments = {});
  bool StartWindow();
  // Picks the device in the port list with the keyboard, as a user would.
  bool ChooseDevicePort();
  // Clicks Connect and waits until the device has answered. False when it never does.
  bool ConnectAndWaitReady();
  // Clicks a button of the window with the mouse.
  void Click(int controlId);
  QPushButton* Button(int controlId) const;
  QWidget* Control(int controlId) const { return m_window->Control(controlId); }
  // Waits until the device has printed `text`. False when it never does.
  bool WaitForDevice(const QString& text, int milliseconds = 20'000);

  CDevsimProcess& Device() { return *m_device; }
  CQtMainWindow& Window() { return *m_window; }
  CMirlSettingsDlg& Dialog() { return *m_dialog; }
  CQtSerialPort& Port() { return *m_port; }

 private:
  QTemporaryDir m_registry;
  QByteArray m_previousRegistry;
  bool m_bHadRegistry;
  std::unique_ptr<CDevsimProcess> m_device;
  std::unique_ptr<CLinuxPortList> m_ports;
  std::unique_ptr<CQtSerialPort> m_port;
  std::unique_ptr<CQtMainWindow> m_window;
  std::unique_ptr<CMirlSettingsDlg> m_dialog;
};

}  // namespace tolvane::e2e
