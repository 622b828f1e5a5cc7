#include "engine/ImeiList.h"

#include <algorithm>
#include <fstream>
#include <map>

#include "engine/Profile.h"

namespace tolvane {

namespace {

constexpr std::size_t kImeiLength = 15;

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool IsSkipped(const std::string& line) { return line.empty() || line[0] == '#'; }

}  // namespace

std::optional<CImeiList> CImeiList::Read(const std::string& path, IFileSystem& files, std::string& errorText) {
  std::ifstream in(path);
  if (!in) {
    errorText = path + ": cannot read the IMEI list";
    return std::nullopt;
  }
  CImeiList list;
  list.m_strDonePath = path + ".done";
  list.m_pFiles = &files;
  std::map<std::string, int> lineOf;
  std::string text;
  for (int line = 1; std::getline(in, text); ++line) {
    const std::string imei = Trimmed(text);
    if (IsSkipped(imei)) continue;
    const std::string where = path + ":" + std::to_string(line) + ": ";
    if (imei.size() != kImeiLength || !IsImeiText(imei)) {
      errorText = where + "\"" + imei + "\" is not an IMEI of 15 digits";
      return std::nullopt;
    }
    if (const auto first = lineOf.find(imei); first != lineOf.end()) {
      errorText = where + imei + " is listed twice (first on line " + std::to_string(first->second) + ")";
      return std::nullopt;
    }
    lineOf[imei] = line;
    list.m_imeis.push_back(imei);
  }
  list.Refresh();
  return list;
}

void CImeiList::Refresh() {
  // Each line of the .done file starts with an IMEI; what follows it is a note for people.
  std::ifstream done(m_strDonePath);
  std::string text;
  while (std::getline(done, text)) {
    const std::string line = Trimmed(text);
    if (!IsSkipped(line)) m_used.insert(line.substr(0, line.find_first_of(" \t")));
  }
}

int CImeiList::UsedCount() const {
  return static_cast<int>(
      std::count_if(m_imeis.begin(), m_imeis.end(), [this](const std::string& imei) { return m_used.count(imei); }));
}

std::optional<std::string> CImeiList::NextUnused() const {
  for (const std::string& imei : m_imeis)
    if (m_used.count(imei) == 0) return imei;
  return std::nullopt;
}

CImeiList::EClaim CImeiList::Claim(const std::string& note, std::string& imei, std::string& errorText,
                                   int lockWaitMs) {
  const std::string lockPath = m_strDonePath + ".lock";
  const std::unique_ptr<IHeldLock> lock = m_pFiles->Lock(lockPath, lockWaitMs, errorText);
  if (!lock) return EClaim::Failed;
  Refresh();
  const auto next = NextUnused();
  if (!next) return EClaim::UsedUp;
  if (!Append(*next, note, errorText)) return EClaim::Failed;
  imei = *next;
  return EClaim::Taken;
}

bool CImeiList::Append(const std::string& imei, const std::string& note, std::string& errorText) {
  // On the disk before the IMEI leaves: a power cut must not let it be written twice.
  std::string reason;
  if (!m_pFiles->AppendDurably(m_strDonePath, imei + "  " + note + "\n", reason)) {
    errorText = m_strDonePath + ": cannot record " + imei + ": " + reason;
    return false;
  }
  m_used.insert(imei);
  return true;
}

}  // namespace tolvane
