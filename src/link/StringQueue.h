#pragma once

#include <deque>
#include <mutex>
#include <string>

namespace tolvane {

// First-in, first-out list of strings with a lock of its own: new entries at the head, oldest taken
// from the tail. Unbounded.
class CStringQueue {
 public:
  void AddHead(std::string text);
  // Copies and removes the oldest entry in one step; false when empty.
  bool TakeTail(std::string& text);
  bool IsEmpty() const;
  std::size_t GetCount() const;
  void RemoveAll();

 private:
  mutable std::mutex m_lock;
  std::deque<std::string> m_entries;  // front = head (newest)
};

}  // namespace tolvane
