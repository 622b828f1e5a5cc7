#pragma once

#include <optional>
#include <string>

namespace tolvane {

// The unit an IMEI is taken for, as far as it can be told apart from others.
struct CUnit {
  std::string port;        // "COM33 (ttyUSB0)"
  std::string usbSerial;   // of the port's USB bridge, where it has one
  std::string imeiBefore;  // what the device reported of itself when the link opened
  std::string label;       // what the operator scanned for it; empty without --label
};

// What became of an IMEI that was taken: told once the device has answered, and again once the
// device has been read back.
struct CSettlement {
  enum class EState { Unconfirmed, Written, Verified, Failed };
  EState state = EState::Unconfirmed;
  std::string imeiAfter, settingsAfter, steps, detail;
};

// Where a batch's IMEIs come from: a list file with its .done file, or a pool in a database. An
// IMEI is taken for good just before it is sent, and never handed out again by itself.
class IImeiSource {
 public:
  enum class ETake { Taken, NoneLeft, Failed };
  virtual ~IImeiSource() = default;

  // What it holds, for the first line of a run.
  virtual std::string Describe() = 0;
  // The IMEI the next device would get as things stand; nothing when none is left. Only shown or
  // planned with: Take decides.
  virtual std::optional<std::string> Likely(std::string& errorText) = 0;
  virtual ETake Take(const CUnit& unit, std::string& imei, std::string& errorText) = 0;
  virtual bool Settle(const std::string& imei, const CSettlement& settlement, std::string& errorText) = 0;
  // "9 of 40 IMEIs used, 31 left".
  virtual std::string Progress() = 0;
  // A fault of a pool ends a run with its own status.
  virtual bool IsPool() const = 0;
  // From any thread, at the user's second Ctrl-C: a call waiting for its answer gives up now, and
  // every later one fails at once.
  virtual void Abandon() {}
};

}  // namespace tolvane
