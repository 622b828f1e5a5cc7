#include "ui/MemoryWindow.h"

#include <algorithm>
#include <cctype>

#include "link/Framing.h"

namespace tolvane {

namespace {

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

const CMemoryWindow::CControl& CMemoryWindow::At(int id) const {
  static const CControl none;
  const auto found = m_controls.find(id);
  return found == m_controls.end() ? none : found->second;
}

int CMemoryWindow::GetWindowTextLength(int id) const { return Utf16Length(At(id).text); }

int CMemoryWindow::ComboAddString(int id, const std::string& text) {
  CControl& combo = m_controls[id];
  // Sorted without regard to case, after equal items, as CBS_SORT does.
  const auto at = std::upper_bound(combo.items.begin(), combo.items.end(), text, LessIgnoringCase);
  const auto index = at - combo.items.begin();
  combo.items.insert(at, text);
  combo.itemTips.resize(combo.items.size() - 1);
  combo.itemTips.insert(combo.itemTips.begin() + index, std::string());
  if (combo.selection >= index) ++combo.selection;
  return static_cast<int>(index);
}

int CMemoryWindow::ComboSetCurSel(int id, int index) {
  CControl& combo = m_controls[id];
  // As CB_SETCURSEL: -1 or an index out of range clears the selection and the text shown.
  if (index < 0 || index >= static_cast<int>(combo.items.size())) {
    combo.selection = -1;
    combo.text.clear();
    return -1;
  }
  combo.selection = index;
  combo.text = combo.items[static_cast<std::size_t>(index)];
  return index;
}

void CMemoryWindow::ComboResetContent(int id) {
  CControl& combo = m_controls[id];
  combo.items.clear();
  combo.itemTips.clear();
  combo.selection = -1;
  combo.text.clear();
}

void CMemoryWindow::ComboSetItemTip(int id, int index, const std::string& tip) {
  CControl& combo = m_controls[id];
  if (index < 0 || index >= static_cast<int>(combo.itemTips.size())) return;
  combo.itemTips[static_cast<std::size_t>(index)] = tip;
}

void CMemoryWindow::ListInsertColumn(int id, int column, const std::string& heading, ColumnAlign align, int width) {
  auto& columns = m_controls[id].columns;
  const auto at = std::min<std::size_t>(static_cast<std::size_t>(std::max(column, 0)), columns.size());
  columns.insert(columns.begin() + static_cast<std::ptrdiff_t>(at), CColumn{heading, align, width});
}

int CMemoryWindow::ListInsertItem(int id, int row, const std::string& text, int image) {
  auto& rows = m_controls[id].rows;
  const auto at = std::min<std::size_t>(static_cast<std::size_t>(std::max(row, 0)), rows.size());
  rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), CRow{{text}, image});
  return static_cast<int>(at);
}

void CMemoryWindow::ListSetItemText(int id, int row, int column, const std::string& text) {
  auto& rows = m_controls[id].rows;
  if (row < 0 || row >= static_cast<int>(rows.size()) || column < 0) return;
  auto& cells = rows[static_cast<std::size_t>(row)].cells;
  if (static_cast<int>(cells.size()) <= column) cells.resize(static_cast<std::size_t>(column) + 1);
  cells[static_cast<std::size_t>(column)] = text;
}

std::string CMemoryWindow::ListGetItemText(int id, int row, int column) const {
  const auto& rows = At(id).rows;
  if (row < 0 || row >= static_cast<int>(rows.size()) || column < 0) return {};
  const auto& cells = rows[static_cast<std::size_t>(row)].cells;
  return column < static_cast<int>(cells.size()) ? cells[static_cast<std::size_t>(column)] : std::string();
}

void CMemoryWindow::IpClearAddress(int id) {
  m_controls[id].ip = 0;
  m_controls[id].ipBlank = true;
}

void CMemoryWindow::IpSetAddress(int id, std::uint32_t address) {
  m_controls[id].ip = address;
  m_controls[id].ipBlank = false;
}

void CMemoryWindow::MessageBox(const std::string& text) {
  // Nobody is there to press OK: the box is answered at once.
  m_messageBoxes.push_back(text);
  if (m_onMessageBox) m_onMessageBox(text);
}

void CMemoryWindow::SetTimer(int id, int milliseconds) {
  m_timers[id] = CTimer{milliseconds, m_nNow + milliseconds};
  Wake();
}

int CMemoryWindow::TimerInterval(int id) const {
  const auto found = m_timers.find(id);
  return found == m_timers.end() ? 0 : found->second.interval;
}

long long CMemoryWindow::UntilNextTimer() const {
  long long next = -1;
  for (const auto& entry : m_timers) {
    const long long left = std::max(entry.second.due - m_nNow, 0LL);
    if (next < 0 || left < next) next = left;
  }
  return next;
}

void CMemoryWindow::AdvanceClock(long long milliseconds) {
  const long long end = m_nNow + milliseconds;
  for (;;) {
    // Looked for afresh each time: a handler may set or kill timers.
    auto next = m_timers.end();
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it)
      if (it->second.due <= end && (next == m_timers.end() || it->second.due < next->second.due)) next = it;
    if (next == m_timers.end()) break;
    m_nNow = next->second.due;
    const int id = next->first;
    next->second.due = m_nNow + next->second.interval;
    if (m_onTimer) m_onTimer(id);
  }
  m_nNow = end;
}

void CMemoryWindow::PostToWindowThread(std::function<void()> task) {
  std::lock_guard lock(m_postedLock);
  m_posted.push_back(std::move(task));
  if (m_wake) m_wake();
}

void CMemoryWindow::SetWakeHandler(std::function<void()> wake) {
  // Under the lock: once this returns, no thread is still inside the old handler.
  std::lock_guard lock(m_postedLock);
  m_wake = std::move(wake);
}

void CMemoryWindow::Wake() {
  std::lock_guard lock(m_postedLock);
  if (m_wake) m_wake();
}

int CMemoryWindow::PendingPostedCount() const {
  std::lock_guard lock(m_postedLock);
  return static_cast<int>(m_posted.size());
}

int CMemoryWindow::RunPosted() {
  std::vector<std::function<void()>> tasks;
  {
    std::lock_guard lock(m_postedLock);
    tasks.swap(m_posted);
  }
  for (auto& task : tasks) task();
  return static_cast<int>(tasks.size());
}

}  // namespace tolvane
