#pragma once

#include <string>

namespace tolvane {

// Where the last device that became ready is kept between runs: one key (RememberKey) in the
// platform's storage. Reading never creates the storage.
class IDeviceMemory {
 public:
  virtual ~IDeviceMemory() = default;
  // Empty when none is kept.
  virtual std::string Recall() const = 0;
  virtual void Remember(const std::string& key) = 0;
};

}  // namespace tolvane
