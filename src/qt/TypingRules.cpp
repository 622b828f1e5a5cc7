#include "qt/TypingRules.h"

#include <QLineEdit>
#include <algorithm>

namespace tolvane {
namespace {

qsizetype NonDigits(const QString& text) {
  return std::count_if(text.cbegin(), text.cend(), [](QChar c) { return !c.isDigit(); });
}

}  // namespace

CTypingRules::CTypingRules(QLineEdit& edit, bool digitsOnly) : QValidator(&edit), m_bDigitsOnly(digitsOnly) {
  Remember(edit.text());
  connect(&edit, &QLineEdit::textChanged, this, &CTypingRules::Remember);
}

void CTypingRules::Remember(const QString& text) {
  m_nCurrentLength = text.size();
  m_nCurrentNonDigits = NonDigits(text);
}

QValidator::State CTypingRules::validate(QString& input, int&) const {
  if (m_bProgramChange) return Acceptable;
  // A change may not add what the rules forbid; text that already breaks them can still be edited down.
  if (m_bDigitsOnly && NonDigits(input) > m_nCurrentNonDigits) return Invalid;
  if (m_nLimit > 0 && input.size() > m_nLimit && input.size() > m_nCurrentLength) return Invalid;
  return Acceptable;
}

CTypingRules& CTypingRules::Of(QLineEdit& edit) {
  if (auto* rules = qobject_cast<CTypingRules*>(const_cast<QValidator*>(edit.validator()))) return *rules;
  auto* rules = new CTypingRules(edit, false);
  edit.setValidator(rules);
  return *rules;
}

void CTypingRules::SetProgramText(QLineEdit& edit, const QString& text) {
  CTypingRules& rules = Of(edit);
  rules.m_bProgramChange = true;
  edit.setText(text);
  rules.m_bProgramChange = false;
}

}  // namespace tolvane
