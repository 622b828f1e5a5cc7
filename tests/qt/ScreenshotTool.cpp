// Draws the main window as it looks after start-up and saves it as a PNG.
// Usage: tolvane_screenshot <out.png> [en|zh] [--rows | --radios | --connected | --about]
// --rows adds sample list rows and GPS text; --radios fills all three radio panels through the
// window's logic, as a device's answers would; --connected draws it connected, after the device has
// reported its IMEI, address, language and network type; --about draws the About box instead.
#include <QApplication>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "FakePort.h"
#include "app/AboutDlg.h"
#include "qt/QtMainWindow.h"
#include "res/Strings.h"
#include "ui/MirlSettingsDlg.h"

using namespace tolvane;

namespace {

// Each panel switched on and answered as the simulated device answers, a network joined and a
// headset picked, so that every kind of row and text shows.
void FillRadioPanels(CMirlSettingsDlg& dialog, testing::CFakePort& port) {
  dialog.OnConnect();
  dialog.HandleDeviceMessage("COM:open");
  dialog.OnOpenWifi();
  dialog.OnOpenBt();
  dialog.OnOpenGps();
  const char* messages[] = {
      "WiFi:open",
      "WiFi_N:3c:84:6a:01:22:9f",
      "WiFi_L:Office-5G^3c:84:6a:01:22:9f^4",
      "WiFi_L:Café Müller^d8:07:b6:5e:3a:10^3",
      "WiFi_L:Lab^Guest^a0:63:91:7e:10:04^2",
      "WiFi_L:家庭网络^f4:f2:6d:22:81:c7^2",
      "WiFi_L:AndroidAP_7F21^62:1d:91:0a:7f:21^1",
      "BT:open",
      "BT_L:Mirl PTT Headset^00:1A:7D:DA:71:13^P",
      "BT_L:JBL Flip 5^F8:DF:15:3A:9C:02^N",
      "BT_L:Car Kit 2^9C:8C:6E:11:40:7B^P",
      "BT_L:Lautsprecher Küche^44:73:D6:0E:55:21^N",
      "GPS:open",
      "GPS_R:$GPGGA,092750.00,4807.0383,N,01131.0006,E,1,08,0.9,545.4,M,46.9,M,,*68\r\n",
      "GPS_R:$GPRMC,092750.00,A,4807.0383,N,01131.0006,E,0.02,0.00,071226,,,A*52\r\n",
      "GPS_R:$GPGGA,092751.00,4807.0384,N,01131.0008,E,1,08,0.9,545.4,M,46.9,M,,*60\r\n",
      "GPS_ST:8",
      "GPS_S:fixed",
  };
  for (const char* message : messages) dialog.HandleDeviceMessage(message);
  dialog.OnClickWifiList(0);
  dialog.OnClickBtList(0);
  port.ClearWrites();
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <out.png> [en|zh] [--rows | --radios | --connected | --about]\n", argv[0]);
    return 2;
  }
  const TextLanguage language =
      argc > 2 && std::strcmp(argv[2], "zh") == 0 ? TextLanguage::Chinese : TextLanguage::English;
  const bool withRows = argc > 3 && std::strcmp(argv[3], "--rows") == 0;
  const bool withRadios = argc > 3 && std::strcmp(argv[3], "--radios") == 0;
  SetProcessTextLanguage(language);
  if (argc > 3 && std::strcmp(argv[3], "--about") == 0) {
    CAboutDlg about(nullptr, language);
    about.show();
    if (!QTest::qWaitForWindowExposed(&about)) return 1;
    return about.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
  }

  // As scripts/run.sh starts it: the PC's own port and the simulated device, which is chosen.
  testing::CFakePortList ports({"COM1 (ttyS0)", "COM200 (ttySIM0)"});
  ports.preferred = "COM200 (ttySIM0)";
  testing::CFakePort port;
  CQtMainWindow window(language);
  CMirlSettingsDlg dialog(window, port, ports);
  window.AttachDialog(&dialog);
  dialog.OnInitDialog();
  if (withRows) {
    const char* rows[][3] = {{"Office", "3c:84:6a:01:22:9f", "3"}, {"Guest", "a0:63:91:7e:10:04", "1"}};
    for (const auto& row : rows) {
      const int index =
          window.ListInsertItem(IDC_WIFI_LIST, window.ListGetItemCount(IDC_WIFI_LIST), "", std::atoi(row[2]));
      window.ListSetItemText(IDC_WIFI_LIST, index, 1, row[0]);
      window.ListSetItemText(IDC_WIFI_LIST, index, 2, row[1]);
    }
    window.ListInsertItem(IDC_BT_LIST, 0, "Headset", -1);
    window.ListSetItemText(IDC_BT_LIST, 0, 1, "00:1a:7d:da:71:13");
    window.ListSetItemText(IDC_BT_LIST, 0, 2, LoadString(IDS_PAIRED));
    window.SetWindowText(IDC_GPS_RAW, "$GPGGA,092750.000,5321.6802,N,00630.3372,W,1,8,1.03,61.7,M,55.2,M,,*76");
  }
  if (withRadios) FillRadioPanels(dialog, port);
  if (argc > 3 && std::strcmp(argv[3], "--connected") == 0) {
    dialog.OnConnect();
    // The address last: once it shows, every report has been handled.
    port.Feed("COM:open~IMEI:356938035643809~LANGUAGE:en_US~NETWORK_TYPE:3G/2G~IP:192.168.10.20~");
    if (!QTest::qWaitFor([&window] { return !window.IpIsBlank(IDC_SERVER_IP); }, 20000)) return 1;
  }
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  QTest::qWait(200);
  const bool saved = window.grab().save(QString::fromLocal8Bit(argv[1]));
  window.accept();
  return saved ? 0 : 1;
}
