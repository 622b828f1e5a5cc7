// Cost of adding one GPS_R message to the raw-data box as it fills, on the real Qt widget
// (offscreen unless a platform is set). Prints figures; never a test.
#include <QApplication>
#include <QPlainTextEdit>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "qt/QtMainWindow.h"
#include "ui/MirlSettingsDlg.h"

namespace {

using namespace tolvane;
using Clock = std::chrono::steady_clock;

// The dialog needs a port and a port list; the box needs neither.
class CNoPort : public IPort {
 public:
  void SetEventSink(IPortEvents*) override {}
  bool Open(int, int, int) override { return false; }
  bool ApplySettings(const std::string&, std::string&) override { return false; }
  bool IsOpen() const override { return false; }
  void Close() override {}
  bool Write(const std::string&) override { return false; }
  std::string ReadInput() override { return {}; }
};

class CNoPorts : public IPortList {
 public:
  std::vector<std::string> ListPorts() override { return {"COM1 (ttyS0)"}; }
};

// A receiver's sentence with its line end.
const std::string kMessage = "GPS_R:$GPGGA,123519.00,4807.0380,N,01131.0000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";

// Text of `length` characters made of whole sentences, as the box holds after a while.
QString FilledText(int length) {
  const QString sentence = QString::fromStdString(kMessage.substr(6)).replace("\r\n", "\n");
  QString text;
  while (text.size() < length) text += sentence;
  text.truncate(length);
  return text;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  CNoPort port;
  CNoPorts ports;
  CQtMainWindow window;
  CMirlSettingsDlg dialog(window, port, ports);
  window.AttachDialog(&dialog);
  dialog.OnInitDialog();
  window.show();
  // Drawing counts only once the window is on its (offscreen) screen.
  while (!window.windowHandle() || !window.windowHandle()->isExposed()) QApplication::processEvents();
  dialog.HandleDeviceMessage("GPS:open");
  auto* box = qobject_cast<QPlainTextEdit*>(window.Control(IDC_GPS_RAW));

  constexpr int kRounds = 400;
  std::printf("one GPS_R message of %zu characters added to the raw-data box (median of %d)\n", kMessage.size() - 6,
              kRounds);
  std::printf("%12s %16s %22s\n", "box holds", "handled (us)", "handled + drawn (us)");
  for (const int length : {0, 1000, 2500, 5000}) {
    const QString filled = FilledText(length);
    std::vector<double> handled, drawn;
    for (int round = 0; round < kRounds; ++round) {
      box->setPlainText(filled);
      box->moveCursor(QTextCursor::End);
      box->viewport()->repaint();
      const auto start = Clock::now();
      dialog.HandleDeviceMessage(kMessage);
      const auto afterHandler = Clock::now();
      box->viewport()->repaint();
      const auto afterPaint = Clock::now();
      handled.push_back(std::chrono::duration<double, std::micro>(afterHandler - start).count());
      drawn.push_back(std::chrono::duration<double, std::micro>(afterPaint - start).count());
    }
    std::printf("%12d %16.1f %22.1f\n", length, Median(handled), Median(drawn));
  }
  dialog.OnDestroy();
  return 0;
}
