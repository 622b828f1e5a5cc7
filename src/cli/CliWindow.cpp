#include "cli/CliWindow.h"

#include <QMetaObject>
#include <QString>
#include <QTimer>
#include <algorithm>

#include "link/Framing.h"

namespace tolvane {

namespace {

std::string DottedAddress(std::uint32_t address) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    if (!text.empty()) text += '.';
    text += std::to_string((address >> shift) & 0xFFu);
  }
  return text;
}

}  // namespace

CCliWindow::CCliWindow() : m_pContext(std::make_unique<QObject>()) {}

// The context goes first: its timers stop and queued calls that have not run yet are dropped.
CCliWindow::~CCliWindow() { m_pContext.reset(); }

const CCliWindow::CControl* CCliWindow::Find(int id) const {
  const auto found = m_controls.find(id);
  return found == m_controls.end() ? nullptr : &found->second;
}

void CCliWindow::NoteDeviceShown(int id, const std::string& text) {
  // Only the link's hops post to this window, and each hop handles one device message.
  if (m_nPostedDepth > 0) m_deviceShown[id] = text;
}

std::optional<std::string> CCliWindow::DeviceShown(int id) const {
  const auto found = m_deviceShown.find(id);
  if (found == m_deviceShown.end()) return std::nullopt;
  return found->second;
}

void CCliWindow::SetWindowText(int id, const std::string& text) {
  At(id).text = text;
  NoteDeviceShown(id, text);
}

std::string CCliWindow::GetWindowText(int id) const {
  const CControl* control = Find(id);
  if (!control) return {};
  if (control->address) return DottedAddress(*control->address);
  return control->text;
}

int CCliWindow::GetWindowTextLength(int id) const { return Utf16Length(GetWindowText(id)); }

bool CCliWindow::IsWindowEnabled(int id) const {
  const CControl* control = Find(id);
  return !control || control->enabled;
}

bool CCliWindow::PickItem(int id, const std::string& item) {
  const auto& items = At(id).items;
  const auto found = std::find(items.begin(), items.end(), item);
  if (found == items.end()) return false;
  ComboSetCurSel(id, static_cast<int>(found - items.begin()));
  return true;
}

int CCliWindow::ComboAddString(int id, const std::string& text) {
  CControl& combo = At(id);
  // Sorted as the window's combo boxes sort: without regard to case, after equal items.
  const QString item = QString::fromStdString(text);
  const auto at = std::find_if(combo.items.begin(), combo.items.end(), [&item](const std::string& other) {
    return QString::compare(QString::fromStdString(other), item, Qt::CaseInsensitive) > 0;
  });
  const int index = static_cast<int>(at - combo.items.begin());
  combo.items.insert(at, text);
  if (combo.selection >= index) ++combo.selection;
  return index;
}

int CCliWindow::ComboSetCurSel(int id, int index) {
  CControl& combo = At(id);
  if (index < 0 || index >= static_cast<int>(combo.items.size())) {
    combo.selection = -1;
    combo.text.clear();
    return -1;
  }
  combo.selection = index;
  combo.text = combo.items[static_cast<std::size_t>(index)];
  NoteDeviceShown(id, combo.text);
  return index;
}

int CCliWindow::ComboGetCurSel(int id) const {
  const CControl* control = Find(id);
  return control ? control->selection : -1;
}

int CCliWindow::ComboGetCount(int id) const {
  const CControl* control = Find(id);
  return control ? static_cast<int>(control->items.size()) : 0;
}

void CCliWindow::ComboResetContent(int id) {
  CControl& combo = At(id);
  combo.items.clear();
  combo.selection = -1;
  combo.text.clear();
}

int CCliWindow::ListGetItemCount(int id) const {
  const CControl* control = Find(id);
  return control ? static_cast<int>(control->rows.size()) : 0;
}

int CCliWindow::ListInsertItem(int id, int row, const std::string& text, int) {
  auto& rows = At(id).rows;
  const int at = std::clamp(row, 0, static_cast<int>(rows.size()));
  rows.insert(rows.begin() + at, std::vector<std::string>{text});
  return at;
}

void CCliWindow::ListSetItemText(int id, int row, int column, const std::string& text) {
  auto& rows = At(id).rows;
  if (row < 0 || row >= static_cast<int>(rows.size()) || column < 0) return;
  auto& cells = rows[static_cast<std::size_t>(row)];
  if (static_cast<int>(cells.size()) <= column) cells.resize(static_cast<std::size_t>(column) + 1);
  cells[static_cast<std::size_t>(column)] = text;
}

std::string CCliWindow::ListGetItemText(int id, int row, int column) const {
  const CControl* control = Find(id);
  if (!control || row < 0 || row >= static_cast<int>(control->rows.size()) || column < 0) return {};
  const auto& cells = control->rows[static_cast<std::size_t>(row)];
  return column < static_cast<int>(cells.size()) ? cells[static_cast<std::size_t>(column)] : std::string();
}

int CCliWindow::FindRow(int id, int column, const std::string& text) const {
  for (int row = 0; row < ListGetItemCount(id); ++row)
    if (ListGetItemText(id, row, column) == text) return row;
  return -1;
}

bool CCliWindow::IpIsBlank(int id) const {
  const CControl* control = Find(id);
  return !control || !control->address;
}

std::uint32_t CCliWindow::IpGetAddress(int id) const {
  const CControl* control = Find(id);
  return control && control->address ? *control->address : 0;
}

void CCliWindow::IpSetAddress(int id, std::uint32_t address) {
  At(id).address = address;
  NoteDeviceShown(id, DottedAddress(address));
}

void CCliWindow::MessageBox(const std::string& text) {
  // Nobody is there to press OK: the box is answered at once, and its text goes into the report.
  m_messageBoxes.push_back(text);
  TellChange();
}

void CCliWindow::SetStatusText(const std::string& text) {
  m_strStatus = text;
  TellChange();
}

void CCliWindow::SetTimer(int id, int milliseconds) {
  QTimer*& timer = m_timers[id];
  if (!timer) {
    timer = new QTimer(m_pContext.get());
    // A reply timer must never run out early.
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, m_pContext.get(), [this, id] {
      ++m_expiries[id];
      if (m_onTimer) m_onTimer(id);
      TellChange();
    });
  }
  timer->start(milliseconds);
}

void CCliWindow::KillTimer(int id) {
  const auto found = m_timers.find(id);
  if (found != m_timers.end()) found->second->stop();
}

bool CCliWindow::IsTimerRunning(int id) const {
  const auto found = m_timers.find(id);
  return found != m_timers.end() && found->second->isActive();
}

int CCliWindow::TimerExpiries(int id) const {
  const auto found = m_expiries.find(id);
  return found == m_expiries.end() ? 0 : found->second;
}

void CCliWindow::PostToWindowThread(std::function<void()> task) {
  // Queued on the context: dropped if the window goes first.
  QMetaObject::invokeMethod(
      m_pContext.get(),
      [this, task = std::move(task)] {
        ++m_nPostedDepth;
        task();
        --m_nPostedDepth;
        TellChange();
      },
      Qt::QueuedConnection);
}

void CCliWindow::TellChange() {
  // Later, from the event loop: whoever listens may press the next button, which must not happen
  // in the middle of a handler.
  if (m_bChangePending || !m_pContext) return;
  m_bChangePending = true;
  QMetaObject::invokeMethod(
      m_pContext.get(),
      [this] {
        m_bChangePending = false;
        if (m_onChange) m_onChange();
      },
      Qt::QueuedConnection);
}

}  // namespace tolvane
