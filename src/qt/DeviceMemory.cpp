#include "qt/DeviceMemory.h"

#include <QSettings>
#include <QStandardPaths>

namespace tolvane {

namespace {

const QString kLastDeviceKey = QStringLiteral("port/lastReadyDevice");

}  // namespace

CDeviceMemory::CDeviceMemory(QString path) : m_strPath(std::move(path)) {}

QString CDeviceMemory::DefaultPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/tolvane/tolvane.conf");
}

std::string CDeviceMemory::Recall() const {
  return QSettings(m_strPath, QSettings::IniFormat).value(kLastDeviceKey).toString().toStdString();
}

void CDeviceMemory::Remember(const std::string& key) {
  QSettings settings(m_strPath, QSettings::IniFormat);
  settings.setValue(kLastDeviceKey, QString::fromStdString(key));
  settings.sync();
}

}  // namespace tolvane
