#pragma once

#include <QComboBox>
#include <functional>
#include <utility>

namespace tolvane {

// A combo box that says when its list is about to open, so the list can be filled afresh first.
class CDropDownComboBox : public QComboBox {
 public:
  using QComboBox::QComboBox;
  void SetBeforePopup(std::function<void()> beforePopup) { m_beforePopup = std::move(beforePopup); }
  void showPopup() override {
    if (m_beforePopup) m_beforePopup();
    QComboBox::showPopup();
  }

 private:
  std::function<void()> m_beforePopup;
};

}  // namespace tolvane
