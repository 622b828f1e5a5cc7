#pragma once

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "FakePort.h"
#include "qt/QtMainWindow.h"
#include "qt/ReportList.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane::qttest {

// The window as the application wires it, on a fake port; the logic goes before the window.
struct CWiredWindow {
  explicit CWiredWindow(std::vector<std::string> portNames)
      : ports(std::move(portNames)), dialog(std::make_unique<CMirlSettingsDlg>(window, port, ports)) {
    window.AttachDialog(dialog.get());
    window.SetAboutBoxRunner([this](QWidget&) { ++aboutBoxes; });
  }
  ~CWiredWindow() { dialog.reset(); }

  void ShowActive() {
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
  }
  QComboBox* Combo(int id) const { return qobject_cast<QComboBox*>(window.Control(id)); }
  CReportList* List(int id) const { return qobject_cast<CReportList*>(window.Control(id)); }

  testing::CFakePortList ports;
  testing::CFakePort port;
  CQtMainWindow window;
  std::unique_ptr<CMirlSettingsDlg> dialog;
  int aboutBoxes = 0;
};

}  // namespace tolvane::qttest
