#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include "res/Strings.h"

class QPlainTextEdit;
class QPushButton;

namespace tolvane {

// "Traffic…": a window of its own, not modal, that lists the trace's lines, newest last, and can
// save them as plain text or start afresh.
class CTraceWindow : public QDialog {
  Q_OBJECT

 public:
  // Far more than a session needs; the oldest lines go first past it.
  static constexpr int kMaxLines = 200'000;

  explicit CTraceWindow(TextLanguage language, QWidget* parent = nullptr);

  void AppendLines(const QStringList& lines);
  // Every line, each ended by a newline.
  QString Text() const;
  bool SaveTo(const QString& path, QString& errorText) const;
  QPlainTextEdit* View() const { return m_pView; }
  QPushButton* SaveButton() const { return m_pSave; }
  QPushButton* ClearButton() const { return m_pClear; }

 private:
  void OnSave();

  TextLanguage m_language;
  QPlainTextEdit* m_pView;
  QPushButton* m_pSave;
  QPushButton* m_pClear;
};

}  // namespace tolvane
