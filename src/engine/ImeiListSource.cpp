#include "engine/ImeiListSource.h"

#include <ctime>
#include <mutex>

namespace tolvane {

namespace {

// Local time as "2026-12-08T14:05:09", for people reading the .done file.
std::string LocalTimeNow() {
  static std::mutex localtimeLock;  // std::localtime shares one buffer
  const std::time_t now = std::time(nullptr);
  char text[32] = {};
  const std::lock_guard<std::mutex> hold(localtimeLock);
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", std::localtime(&now));
  return text;
}

}  // namespace

std::string CImeiListSource::Describe() {
  m_list.Refresh();
  return "IMEI list " + m_strPath + ": " + std::to_string(m_list.Count()) + " IMEIs, " +
         std::to_string(m_list.UsedCount()) + " used already (" + m_list.DonePath() + ").";
}

std::optional<std::string> CImeiListSource::Likely(std::string&) {
  // Other runs on the list may have taken some since.
  m_list.Refresh();
  return m_list.NextUnused();
}

IImeiSource::ETake CImeiListSource::Take(const CUnit& unit, std::string& imei, std::string& errorText) {
  switch (m_list.Claim(LocalTimeNow() + "  " + unit.port, imei, errorText)) {
    case CImeiList::EClaim::Taken: return ETake::Taken;
    case CImeiList::EClaim::UsedUp: return ETake::NoneLeft;
    case CImeiList::EClaim::Failed: break;
  }
  return ETake::Failed;
}

std::string CImeiListSource::Progress() {
  return std::to_string(m_list.UsedCount()) + " of " + std::to_string(m_list.Count()) + " IMEIs used, " +
         std::to_string(m_list.Count() - m_list.UsedCount()) + " left";
}

}  // namespace tolvane
