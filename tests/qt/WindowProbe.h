#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "qt/ControlFactory.h"

namespace tolvane::qttest {

// The template control a widget belongs to (the widget itself or one of its parents); 0 for none.
inline int OwningControlId(const QWidget* widget) {
  for (; widget; widget = widget->parentWidget())
    if (widget->property("controlId").isValid()) return ControlIdOf(*widget);
  return 0;
}

inline QMessageBox* OpenMessageBox(const QWidget& window) {
  for (QMessageBox* box : window.findChildren<QMessageBox*>())
    if (box->isVisible()) return box;
  return nullptr;
}

// Modal boxes run their own loop, so a test cannot wait for them from the outside: this polls from
// inside whatever loop is running and acts once `ready` holds.
class CWhenReady : public QObject {
 public:
  CWhenReady(std::function<bool()> ready, std::function<void()> action)
      : m_ready(std::move(ready)), m_action(std::move(action)) {
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, [this] {
      if (!m_ready()) return;
      m_timer.stop();
      m_bDone = true;
      m_action();
    });
    m_timer.start();
  }
  bool Done() const { return m_bDone; }

 private:
  std::function<bool()> m_ready;
  std::function<void()> m_action;
  QTimer m_timer;
  bool m_bDone = false;
};

}  // namespace tolvane::qttest
