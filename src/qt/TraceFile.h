#pragma once

#include <QFile>
#include <QString>

#include "link/TraceFeed.h"

namespace tolvane {

// The file that --trace names: every line appended from start-up on, as UTF-8.
class CTraceFile : public ITraceView {
 public:
  // False, with the reason, when it cannot be written.
  bool Open(const QString& path, QString& errorText);

  bool IsListening() const override { return m_file.isOpen(); }
  bool Show(const std::vector<std::string>& lines) override;
  void ReportFailure() override;

 private:
  QFile m_file;
};

}  // namespace tolvane
