#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "bench/BenchWindow.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace tolvane {

class CQtBenchTile;

// The bench window on Qt: it draws what the session publishes and passes the operator's actions
// on; every rule is the model's.
class CQtBenchWindow : public QWidget, public IBenchWindow {
  Q_OBJECT

 public:
  CQtBenchWindow(int slotCount, bool labels, bool pool, QWidget* parent = nullptr);

  // Before the window is shown; the session outlives the window's events.
  void Attach(IBenchActions& bench);
  // Queues a task on the window's thread.
  void Post(std::function<void()> task);

  // IBenchWindow
  void ShowBench(const CBenchSnapshot& bench) override;
  void Beep() override;
  void BenchClosed(int exitStatus) override;

  // Asked before Release; a test answers instead of a person.
  std::function<bool(const QString& question)> confirmRelease;
  std::function<void(int exitStatus)> onClosed;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ShowLog(int slot);
  void OnRelease();

  IBenchActions* m_session = nullptr;
  QGroupBox* m_profile;
  QLabel* m_profileRows;
  std::vector<QLabel*> m_counters;
  QCheckBox* m_sound;
  QLabel* m_banner;  // closing, or stopped and why
  std::vector<CQtBenchTile*> m_tiles;
  QGroupBox* m_claimsBox = nullptr;
  QTreeWidget* m_claims = nullptr;
  QPushButton* m_release = nullptr;
  QLabel* m_poolNote = nullptr;
  std::vector<CUnconfirmedClaim> m_shownClaims;
  bool m_bClosed = false;
};

}  // namespace tolvane
