#pragma once

#include <QString>
#include <string>

#include "link/IDeviceMemory.h"

namespace tolvane {

// The remembered device's key in the program's settings file.
class CDeviceMemory : public IDeviceMemory {
 public:
  explicit CDeviceMemory(QString path = DefaultPath());

  // $XDG_CONFIG_HOME/tolvane/tolvane.conf, else ~/.config/tolvane/tolvane.conf.
  static QString DefaultPath();
  const QString& Path() const { return m_strPath; }

  std::string Recall() const override;
  // A settings file that cannot be written costs only the preselection next time.
  void Remember(const std::string& key) override;

 private:
  QString m_strPath;
};

}  // namespace tolvane
