#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace tolvane {

// First-in, first-out list of strings with a lock of its own: new entries at the head, oldest taken
// from the tail. Unbounded.
class CStringQueue {
 public:
  void AddHead(std::string text);
  // Copies and removes the oldest entry in one step; false when empty.
  bool TakeTail(std::string& text);
  // Removes every entry in one step and appends them to `texts`, oldest first; false when empty.
  bool TakeAll(std::vector<std::string>& texts);
  bool IsEmpty() const;
  std::size_t GetCount() const;
  void RemoveAll();

 private:
  mutable std::mutex m_lock;
  std::deque<std::string> m_entries;  // front = head (newest)
};

}  // namespace tolvane
