// The identity of a USB serial port from the kernel's sysfs tree, laid out here as the kernel lays
// it out: the tty's "device" link points into the interface below the USB device.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "posix/SysfsUsbIdentity.h"

namespace tolvane::e2e {
namespace {

class SysfsUsbIdentity : public ::testing::Test {
 protected:
  void Write(const QString& path, const QByteArray& text) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(m_root.filePath(path)).path()));
    QFile file(m_root.filePath(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
  void Link(const QString& target, const QString& link) {
    ASSERT_TRUE(QDir().mkpath(m_root.filePath(target)));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(m_root.filePath(link)).path()));
    ASSERT_TRUE(QFile::link(m_root.filePath(target), m_root.filePath(link)));
  }
  CPortIdentity Identify(const std::string& device, CPortIdentity identity = {}) {
    CompleteFromSysfs(identity, device, m_root.path().toStdString());
    return identity;
  }

  QTemporaryDir m_root;
};

TEST_F(SysfsUsbIdentity, bridgeAndModemPorts_takeTheUsbDevicesNumbersWhereNothingElseGaveThem) {
  const QString bridge = QStringLiteral("devices/pci0000:00/0000:00:04.0/usb1/1-1");
  for (const auto& [file, text] : {std::pair{"serial", "TV12345\n"}, {"idVendor", "0403\n"}, {"idProduct", "6001\n"},
                                   {"manufacturer", "FTDI\n"}, {"product", "FT232R USB UART\n"}})
    Write(bridge + "/" + file, text);
  Link(bridge + "/1-1:1.0/ttyUSB0", QStringLiteral("class/tty/ttyUSB0/device"));
  const CPortIdentity usb = Identify("ttyUSB0");
  EXPECT_EQ(usb.serialNumber, "TV12345");
  EXPECT_EQ(usb.usbId, "0403:6001");
  EXPECT_EQ(usb.manufacturer, "FTDI");
  EXPECT_EQ(usb.description, "FT232R USB UART");

  // What udev did say stays.
  CPortIdentity fromUdev;
  fromUdev.serialNumber = "A9XK2";
  EXPECT_EQ(Identify("ttyUSB0", fromUdev).serialNumber, "A9XK2");

  const QString modem = QStringLiteral("devices/pci0000:00/0000:00:04.0/usb1/1-2");
  Write(modem + "/idVendor", "1782\n");
  Write(modem + "/idProduct", "4d10\n");
  Link(modem + "/1-2:1.0", QStringLiteral("class/tty/ttyACM0/device"));
  EXPECT_EQ(Identify("ttyACM0").usbId, "1782:4d10");
  EXPECT_EQ(Identify("ttyACM0").serialNumber, "");
}

TEST_F(SysfsUsbIdentity, portsNotOnUsb_orNamesThatLeaveTheTree_areLeftAsTheyAre) {
  Link(QStringLiteral("devices/pnp0/00:01"), QStringLiteral("class/tty/ttyS0/device"));
  Write(QStringLiteral("devices/serial"), "not this one\n");
  EXPECT_EQ(Identify("ttyS0").serialNumber, "");
  EXPECT_EQ(Identify("ttyNONE").usbId, "");
  EXPECT_EQ(Identify("../../devices").usbId, "");
}

}  // namespace
}  // namespace tolvane::e2e
