#pragma once

#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CountingWindow.h"
#include "qtserial/LinuxPortList.h"
#include "qtserial/QtSerialPort.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane::linksoak {

// The real window (offscreen), the real port and the dialog's logic, as the program puts them
// together. Message boxes are noted and closed at once, as a user who always presses OK.
class CSoakSession {
 public:
  CSoakSession();
  ~CSoakSession();
  CSoakSession(const CSoakSession&) = delete;
  CSoakSession& operator=(const CSoakSession&) = delete;

  // Runs start-up and picks COM<comNumber> in the port list; false when it is not listed.
  bool Start(int comNumber);
  // Clicks a button of the window.
  void Click(int controlId);
  // Runs the window's events until `done` holds or the bound passes; returns `done()`.
  bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds bound = std::chrono::seconds(20));

  bool IsReady() const { return m_dialog->IsDeviceReady(); }
  // Closed as Close leaves it: port shut, no workers, the button offers Connect again.
  bool IsClosed() const;
  std::string Text(int controlId) const { return m_window->GetWindowText(controlId); }
  std::string StatusText() const;
  const std::vector<std::string>& MessageBoxes() const { return m_boxes; }
  bool HasShown(const std::string& text) const;
  long MessagesHandled() const { return m_window->handled; }
  e2e::CCountingWindow& Window() { return *m_window; }

 private:
  void CloseOpenBoxes();

  CLinuxPortList m_ports;
  std::unique_ptr<CQtSerialPort> m_port;
  std::unique_ptr<e2e::CCountingWindow> m_window;
  std::unique_ptr<CMirlSettingsDlg> m_dialog;
  QTimer m_boxWatch;
  std::vector<std::string> m_boxes;
};

}  // namespace tolvane::linksoak
