#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tolvane {

// A claim that no run has reported back on: the IMEI may be in that unit.
struct CUnconfirmedClaim {
  std::string imei, station, port, claimedAt, usbSerial;
  bool operator==(const CUnconfirmedClaim&) const = default;
};

struct CPoolCounts {
  int free = 0;
  int unconfirmed = 0;
};

// What the bench asks of the IMEI pool; the front end fills it in over src/pool, on the bench's
// thread. Each call answers false (or nothing) with the reason when the pool fails.
class IBenchPool {
 public:
  virtual ~IBenchPool() = default;
  virtual bool Counts(CPoolCounts& counts, std::string& errorText) = 0;
  virtual bool Unconfirmed(std::vector<CUnconfirmedClaim>& claims, std::string& errorText) = 0;
  // `pool release`: the claim back to free, after a person has checked the unit.
  virtual bool Release(const std::string& imei, std::string& errorText) = 0;
  // The IMEI a label went with, when the pool holds the label (its claim recorded it).
  virtual std::optional<std::string> LabelImei(const std::string& label) = 0;
};

}  // namespace tolvane
