#include "qt/DeviceMemory.h"

#include <QSettings>
#include <QStandardPaths>

namespace tolvane {

namespace {

const QString kLastDeviceKey = QStringLiteral("port/lastReadyDevice");

}  // namespace

CDeviceMemory::CDeviceMemory(QString path) : m_strPath(std::move(path)) {
  const QSettings settings(m_strPath, QSettings::IniFormat);
  m_strKey = settings.value(kLastDeviceKey).toString().toStdString();
}

QString CDeviceMemory::DefaultPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/tolvane/tolvane.conf");
}

void CDeviceMemory::Remember(const std::string& key) {
  if (key.empty() || key == m_strKey) return;
  m_strKey = key;
  // A settings file that cannot be written costs only the preselection next time.
  QSettings settings(m_strPath, QSettings::IniFormat);
  settings.setValue(kLastDeviceKey, QString::fromStdString(key));
  settings.sync();
}

}  // namespace tolvane
