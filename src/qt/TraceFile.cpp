#include "qt/TraceFile.h"

#include <cstdio>

namespace tolvane {

bool CTraceFile::Open(const QString& path, QString& errorText) {
  m_file.setFileName(path);
  if (m_file.open(QIODevice::WriteOnly | QIODevice::Append)) return true;
  errorText = m_file.errorString();
  return false;
}

bool CTraceFile::Show(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + '\n';
  const auto size = static_cast<qint64>(text.size());
  return m_file.write(text.data(), size) == size && m_file.flush();
}

void CTraceFile::ReportFailure() {
  std::fprintf(stderr, "tolvane: the trace could not be written to %s: %s\n", qPrintable(m_file.fileName()),
               qPrintable(m_file.errorString()));
}

}  // namespace tolvane
