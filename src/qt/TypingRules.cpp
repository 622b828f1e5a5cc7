#include "qt/TypingRules.h"

#include <QLineEdit>
#include <algorithm>

namespace tolvane {
namespace {

// ASCII digits only: the platform's digits-only edit refuses full-width and other scripts' digits,
// which would go to the device as several bytes each.
qsizetype NonDigits(const QString& text) {
  return std::count_if(text.cbegin(), text.cend(), [](QChar c) { return c < u'0' || c > u'9'; });
}

}  // namespace

CTypingRules::CTypingRules(QLineEdit& edit, bool digitsOnly) : QValidator(&edit), m_bDigitsOnly(digitsOnly) {
  Remember(edit.text());
  connect(&edit, &QLineEdit::textChanged, this, &CTypingRules::Remember);
}

void CTypingRules::Remember(const QString& text) {
  m_strCurrent = text;
  m_nCurrentNonDigits = NonDigits(text);
}

QValidator::State CTypingRules::validate(QString& input, int& position) const {
  if (m_bProgramChange) return Acceptable;
  // A change may not add what the rules forbid; text that already breaks them can still be edited down.
  if (m_bDigitsOnly && NonDigits(input) > m_nCurrentNonDigits) return Invalid;
  if (m_nLimit <= 0 || input.size() <= m_nLimit || input.size() <= m_strCurrent.size()) return Acceptable;
  // Too long: keep as much of what was just put in as fits, as a paste into the platform's edit does.
  // What follows the caret is the old text's end; the inserted text runs back to where the old
  // text's start stops matching.
  const qsizetype after = input.size() - position;
  qsizetype before = 0;
  while (before < position && before < m_strCurrent.size() - after && input[before] == m_strCurrent[before]) ++before;
  const qsizetype room = m_nLimit - (before + after);
  if (room <= 0) return Invalid;
  input = input.left(before) + input.mid(before, room) + input.mid(position);
  position = static_cast<int>(before + room);
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
