#pragma once

#include <QString>
#include <QValidator>

class QLineEdit;

namespace tolvane {

// What the user may type into an edit: ASCII digits only, and a length cap that cuts a long paste
// down to what fits. Like the platform's edits, the rules bind typing only: text the program sets
// is kept whole, and can then be edited down.
class CTypingRules : public QValidator {
  Q_OBJECT

 public:
  CTypingRules(QLineEdit& edit, bool digitsOnly);
  void SetLimit(int maxChars) { m_nLimit = maxChars; }
  State validate(QString& input, int& position) const override;

  // The rules of an edit, created on first use.
  static CTypingRules& Of(QLineEdit& edit);
  // Sets the text on the program's behalf, past the rules.
  static void SetProgramText(QLineEdit& edit, const QString& text);

 private:
  void Remember(const QString& text);

  bool m_bDigitsOnly;
  int m_nLimit = 0;  // 0: no cap
  bool m_bProgramChange = false;
  // The text before the change under validation: the edit itself already holds the change.
  QString m_strCurrent;
  qsizetype m_nCurrentNonDigits = 0;
};

}  // namespace tolvane
