#include "link/StringQueue.h"

namespace tolvane {

void CStringQueue::AddHead(std::string text) {
  std::lock_guard lock(m_lock);
  m_entries.push_front(std::move(text));
}

bool CStringQueue::TakeTail(std::string& text) {
  std::lock_guard lock(m_lock);
  if (m_entries.empty()) return false;
  text = std::move(m_entries.back());
  m_entries.pop_back();
  return true;
}

bool CStringQueue::TakeAll(std::vector<std::string>& texts) {
  std::lock_guard lock(m_lock);
  if (m_entries.empty()) return false;
  for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) texts.push_back(std::move(*it));
  m_entries.clear();
  return true;
}

bool CStringQueue::IsEmpty() const {
  std::lock_guard lock(m_lock);
  return m_entries.empty();
}

std::size_t CStringQueue::GetCount() const {
  std::lock_guard lock(m_lock);
  return m_entries.size();
}

void CStringQueue::RemoveAll() {
  std::lock_guard lock(m_lock);
  m_entries.clear();
}

}  // namespace tolvane
