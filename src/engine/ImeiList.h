#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/IFileSystem.h"

namespace tolvane {

// The IMEIs of a batch, one per line, and the companion "<list>.done" file that records every
// IMEI once it is about to be sent, so that an interrupted batch never writes one twice. Several
// runs on one machine may share a list: an IMEI is taken under a lock on "<list>.done.lock". A
// list on a network share is not safe that way; file locks do not reach across machines reliably.
class CImeiList {
 public:
  // How long a run waits for another run to let go of the list.
  static constexpr int kLockWaitMs = 10'000;
  enum class EClaim { Taken, UsedUp, Failed };

  // Reads the list and, if it exists, its .done file. Blank lines and lines starting with "#" are
  // skipped. A line that is not a 15-digit IMEI, or an IMEI listed twice, is an error naming the line.
  static std::optional<CImeiList> Read(const std::string& path, IFileSystem& files, std::string& errorText);

  const std::string& DonePath() const { return m_strDonePath; }
  int Count() const { return static_cast<int>(m_imeis.size()); }
  // As of the last read or claim: another run may have taken more since.
  int UsedCount() const;
  std::optional<std::string> NextUnused() const;
  // Reads the .done file again.
  void Refresh();
  // Under the lock: reads the .done file again, takes the first IMEI of the list it does not hold,
  // appends it with the note and waits until that is on the disk. Only then may the IMEI be sent.
  EClaim Claim(const std::string& note, std::string& imei, std::string& errorText, int lockWaitMs = kLockWaitMs);

 private:
  bool Append(const std::string& imei, const std::string& note, std::string& errorText);

  IFileSystem* m_pFiles = nullptr;
  std::vector<std::string> m_imeis;
  std::set<std::string> m_used;
  std::string m_strDonePath;
};

}  // namespace tolvane
