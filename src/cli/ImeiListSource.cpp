#include "cli/ImeiListSource.h"

#include <QDateTime>

namespace tolvane {

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
  const std::string when = QDateTime::currentDateTime().toString(Qt::ISODate).toStdString();
  switch (m_list.Claim(when + "  " + unit.port, imei, errorText)) {
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
