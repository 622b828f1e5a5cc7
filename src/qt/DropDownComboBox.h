#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QStyle>
#include <algorithm>
#include <functional>
#include <utility>

namespace tolvane {

// A combo box that says when its list is about to open, so the list can be filled afresh first,
// and opens its list wide enough for its widest item.
class CDropDownComboBox : public QComboBox {
 public:
  using QComboBox::QComboBox;
  void SetBeforePopup(std::function<void()> beforePopup) { m_beforePopup = std::move(beforePopup); }
  void showPopup() override {
    if (m_beforePopup) m_beforePopup();
    FitListToItems();
    QComboBox::showPopup();
  }

 private:
  // Measured only when the list opens: "中文简体" would otherwise load a CJK font at start-up,
  // for a list that may never be opened.
  void FitListToItems() {
    int widest = 0;
    for (int i = 0; i < count(); ++i) widest = std::max(widest, fontMetrics().horizontalAdvance(itemText(i)));
    view()->setMinimumWidth(widest + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + kListMargins);
  }
  static constexpr int kListMargins = 16;

 private:
  std::function<void()> m_beforePopup;
};

}  // namespace tolvane
