#include "HeadlessWindow.h"

#include <algorithm>
#include <cctype>
#include <thread>

#include "link/Framing.h"

namespace tolvane::testing {
namespace {

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

const CHeadlessWindow::Control& CHeadlessWindow::At(int id) const {
  static const Control empty;
  const auto found = m_controls.find(id);
  return found == m_controls.end() ? empty : found->second;
}

void CHeadlessWindow::SetWindowText(int id, const std::string& text) { m_controls[id].text = text; }
std::string CHeadlessWindow::GetWindowText(int id) const { return At(id).text; }
int CHeadlessWindow::GetWindowTextLength(int id) const { return Utf16Length(At(id).text); }
void CHeadlessWindow::EnableWindow(int id, bool enable) { m_controls[id].enabled = enable; }
bool CHeadlessWindow::IsWindowEnabled(int id) const { return At(id).enabled; }
void CHeadlessWindow::LimitText(int id, int maxChars) { m_controls[id].limit = maxChars; }
void CHeadlessWindow::AppendText(int id, const std::string& text) { m_controls[id].text += text; }

int CHeadlessWindow::ComboAddString(int id, const std::string& text) {
  Control& combo = m_controls[id];
  auto& items = combo.items;
  const auto at = std::upper_bound(items.begin(), items.end(), text, LessIgnoringCase);
  const auto index = at - items.begin();
  items.insert(at, text);
  combo.itemTips.resize(items.size() - 1);
  combo.itemTips.insert(combo.itemTips.begin() + index, std::string());
  return static_cast<int>(index);
}

void CHeadlessWindow::ComboSetItemTip(int id, int index, const std::string& tip) {
  Control& combo = m_controls[id];
  if (index < 0 || index >= static_cast<int>(combo.itemTips.size())) return;
  combo.itemTips[static_cast<std::size_t>(index)] = tip;
}

int CHeadlessWindow::ComboSetCurSel(int id, int index) {
  Control& combo = m_controls[id];
  if (index < 0 || index >= static_cast<int>(combo.items.size())) {
    combo.selection = -1;
    return -1;
  }
  combo.selection = index;
  combo.text = combo.items[static_cast<std::size_t>(index)];
  return index;
}

int CHeadlessWindow::ComboGetCurSel(int id) const { return At(id).selection; }

int CHeadlessWindow::ComboGetCount(int id) const { return failComboCount ? -1 : static_cast<int>(At(id).items.size()); }

void CHeadlessWindow::ComboResetContent(int id) {
  Control& combo = m_controls[id];
  combo.items.clear();
  combo.itemTips.clear();
  combo.selection = -1;
  combo.text.clear();
}

int CHeadlessWindow::ListGetClientWidth(int) const { return clientWidth; }
void CHeadlessWindow::ListAddExtendedStyle(int id, unsigned styles) { m_controls[id].listStyles |= styles; }

void CHeadlessWindow::ListInsertColumn(int id, int column, const std::string& heading, ColumnAlign align, int width) {
  auto& columns = m_controls[id].columns;
  const auto at = std::min<std::size_t>(static_cast<std::size_t>(std::max(column, 0)), columns.size());
  columns.insert(columns.begin() + static_cast<std::ptrdiff_t>(at), Column{heading, align, width});
}

void CHeadlessWindow::ListSetImageList(int id, const CImageList& images) { m_controls[id].images = &images; }
int CHeadlessWindow::ListGetItemCount(int id) const { return static_cast<int>(At(id).rows.size()); }

int CHeadlessWindow::ListInsertItem(int id, int row, const std::string& text, int image) {
  auto& rows = m_controls[id].rows;
  const auto at = std::min<std::size_t>(static_cast<std::size_t>(std::max(row, 0)), rows.size());
  rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), Row{{text}, image});
  return static_cast<int>(at);
}

void CHeadlessWindow::ListSetItemText(int id, int row, int column, const std::string& text) {
  auto& rows = m_controls[id].rows;
  if (row < 0 || row >= static_cast<int>(rows.size()) || column < 0) return;
  auto& cells = rows[static_cast<std::size_t>(row)].cells;
  if (static_cast<int>(cells.size()) <= column) cells.resize(static_cast<std::size_t>(column) + 1);
  cells[static_cast<std::size_t>(column)] = text;
}

std::string CHeadlessWindow::ListGetItemText(int id, int row, int column) const {
  const auto& rows = At(id).rows;
  if (row < 0 || row >= static_cast<int>(rows.size()) || column < 0) return {};
  const auto& cells = rows[static_cast<std::size_t>(row)].cells;
  return column < static_cast<int>(cells.size()) ? cells[static_cast<std::size_t>(column)] : std::string();
}

void CHeadlessWindow::ListDeleteAllItems(int id) { m_controls[id].rows.clear(); }

void CHeadlessWindow::IpClearAddress(int id) {
  m_controls[id].ip = 0;
  m_controls[id].ipBlank = true;
}
bool CHeadlessWindow::IpIsBlank(int id) const { return At(id).ipBlank; }
std::uint32_t CHeadlessWindow::IpGetAddress(int id) const { return At(id).ip; }
void CHeadlessWindow::IpSetAddress(int id, std::uint32_t address) {
  m_controls[id].ip = address;
  m_controls[id].ipBlank = false;
}

bool CHeadlessWindow::AppendSystemMenuItem(int commandId, const std::string& text) {
  if (!hasSystemMenu) return false;
  systemMenu.emplace_back(commandId, text);
  return true;
}

void CHeadlessWindow::MessageBox(const std::string& text) {
  m_messageBoxes.push_back(text);
  if (m_onMessageBox) m_onMessageBox(text);
}

std::vector<std::string> CHeadlessWindow::MessageBoxes() const { return m_messageBoxes; }

void CHeadlessWindow::SetTimer(int id, int milliseconds) { m_timers[id] = Timer{milliseconds, m_now + milliseconds}; }
void CHeadlessWindow::KillTimer(int id) { m_timers.erase(id); }
bool CHeadlessWindow::IsTimerRunning(int id) const { return m_timers.count(id) != 0; }

int CHeadlessWindow::TimerInterval(int id) const {
  const auto found = m_timers.find(id);
  return found == m_timers.end() ? 0 : found->second.interval;
}

void CHeadlessWindow::AdvanceClock(int milliseconds) {
  const long long end = m_now + milliseconds;
  for (;;) {
    auto next = m_timers.end();
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it)
      if (it->second.due <= end && (next == m_timers.end() || it->second.due < next->second.due)) next = it;
    if (next == m_timers.end()) break;
    m_now = next->second.due;
    const int id = next->first;
    next->second.due = m_now + next->second.interval;  // a window timer repeats until killed
    if (m_onTimer) m_onTimer(id);
  }
  m_now = end;
}

void CHeadlessWindow::PostToWindowThread(std::function<void()> task) {
  std::lock_guard lock(m_postedLock);
  m_posted.push_back(std::move(task));
}

int CHeadlessWindow::PendingPostedCount() const {
  std::lock_guard lock(m_postedLock);
  return static_cast<int>(m_posted.size());
}

int CHeadlessWindow::RunPosted() {
  std::vector<std::function<void()>> tasks;
  {
    std::lock_guard lock(m_postedLock);
    tasks.swap(m_posted);
  }
  for (auto& task : tasks) task();
  return static_cast<int>(tasks.size());
}

bool CHeadlessWindow::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (RunPosted() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace tolvane::testing
