#pragma once

#include <QString>
#include <string>

namespace tolvane {

// The last device that became ready, kept between runs in the program's settings file. The file is
// read once, written only when the device changes, and never created just by reading.
class CDeviceMemory {
 public:
  explicit CDeviceMemory(QString path = DefaultPath());

  // $XDG_CONFIG_HOME/tolvane/tolvane.conf, else ~/.config/tolvane/tolvane.conf.
  static QString DefaultPath();
  const QString& Path() const { return m_strPath; }

  // The remembered device's key (RememberKey); empty when none.
  const std::string& Recall() const { return m_strKey; }
  void Remember(const std::string& key);

 private:
  QString m_strPath;
  std::string m_strKey;
};

}  // namespace tolvane
