#pragma once

#include <QGroupBox>
#include <functional>

#include "bench/BenchModel.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tolvane {

// One slot of the bench: its port as the group's name, the status, the progress, the label field
// and the way to the unit's log. A click or Enter on the tile opens the log too.
class CQtBenchTile : public QGroupBox {
  Q_OBJECT

 public:
  CQtBenchTile(bool labels, int minimumWidth, QWidget* parent);

  void Show(const CBenchTile& tile);
  const CBenchTile& Shown() const { return m_tile; }

  std::function<void(const QString& label)> onLabel;
  std::function<void()> onShowLog;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  CBenchTile m_tile;
  QLabel* m_status;
  QProgressBar* m_progress;
  QLineEdit* m_label = nullptr;
  QLabel* m_labelMessage = nullptr;
  QPushButton* m_log;
};

}  // namespace tolvane
