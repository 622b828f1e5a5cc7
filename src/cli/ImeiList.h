#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tolvane {

// The IMEIs of a batch, one per line, and the companion "<list>.done" file that records every
// IMEI once it is about to be sent, so that an interrupted batch never writes one twice.
class CImeiList {
 public:
  // Reads the list and, if it exists, its .done file. Blank lines and lines starting with "#" are
  // skipped. A line that is not a 15-digit IMEI, or an IMEI listed twice, is an error naming the line.
  static std::optional<CImeiList> Read(const std::string& path, std::string& errorText);

  const std::string& DonePath() const { return m_strDonePath; }
  int Count() const { return static_cast<int>(m_imeis.size()); }
  int UsedCount() const;
  // The first IMEI of the list that the .done file does not hold.
  std::optional<std::string> NextUnused() const;
  // Appends the IMEI to the .done file and waits until it is on the disk, before it goes to a device.
  bool MarkUsed(const std::string& imei, const std::string& note, std::string& errorText);

 private:
  std::vector<std::string> m_imeis;
  std::set<std::string> m_used;
  std::string m_strDonePath;
};

}  // namespace tolvane
