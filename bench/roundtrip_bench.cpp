// Press to reply handled, over a real pseudo-terminal: Update Pw pressed on the dialog's logic
// (headless window, real serial port), answered "ok" at once by a device of the benchmark's own.
// Prints the figures next to the polling model's floor and the raw line's; never a test.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>
#include <vector>

#include "AnsweringDevice.h"
#include "BenchLink.h"
#include "Figures.h"
#include "HeadlessWindow.h"
#include "qtserial/LinuxPortList.h"
#include "qtserial/QtSerialPort.h"
#include "res/Strings.h"

namespace {

using namespace tolvane;
using Clock = std::chrono::steady_clock;

constexpr int kPresses = 1000;
constexpr int kMaxPauseMs = 20;  // two polling periods, so every phase of the passes is hit
// The polling model: a command waits for the sender's next 10 ms pass, its reply for the
// receiver's; two independent waits, uniform over a pass.
constexpr double kModelP50 = 10.05;
constexpr double kModelP99 = 18.74;
constexpr double kTargetFactor = 1.1;

// The headless window, with hops delivered through Qt's event loop as the real window does.
class CQtPostedHeadlessWindow : public testing::CHeadlessWindow {
 public:
  void PostToWindowThread(std::function<void()> task) override {
    QMetaObject::invokeMethod(&m_context, std::move(task), Qt::QueuedConnection);
  }

 private:
  QObject m_context;
};

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The same command and answer on the same pseudo-terminal, written and read directly: no queues,
// no threads, no polling.
std::vector<double> MeasureRawLine(const std::string& terminalPath, std::mt19937& random) {
  std::vector<double> samples;
  const int fd = ::open(terminalPath.c_str(), O_RDWR | O_NOCTTY);
  if (fd < 0) return samples;
  termios raw{};
  ::tcgetattr(fd, &raw);
  ::cfmakeraw(&raw);
  ::tcsetattr(fd, TCSANOW, &raw);
  std::uniform_int_distribution<int> pauseUs(0, kMaxPauseMs * 1000);
  const std::string command = "CUSTOMER_PW:~";
  for (int i = 0; i < kPresses; ++i) {
    std::this_thread::sleep_for(std::chrono::microseconds(pauseUs(random)));
    const auto start = Clock::now();
    if (::write(fd, command.data(), command.size()) != static_cast<ssize_t>(command.size())) break;
    std::string answer;
    while (answer.find('~') == std::string::npos) {
      pollfd ready{fd, POLLIN, 0};
      if (::poll(&ready, 1, 1000) <= 0) break;
      char buffer[256];
      const ssize_t count = ::read(fd, buffer, sizeof buffer);
      if (count <= 0) break;
      answer.append(buffer, static_cast<std::size_t>(count));
    }
    if (answer != "CUSTOMER_PW:ok~") break;
    samples.push_back(MillisecondsSince(start));
  }
  ::close(fd);
  return samples;
}

void PrintRow(const char* name, const std::vector<double>& samples, const char* note) {
  std::printf("  %-16s %8.2f %8.2f %8.2f   %s\n", name, bench::Percentile(samples, 0.5),
              bench::Percentile(samples, 0.99), bench::Maximum(samples), note);
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  QTemporaryDir registry;
  bench::UsePortRegistry(registry.path().toStdString());
  bench::CAnsweringDevice device(registry.path().toStdString(), bench::AnswerOk);
  if (device.ComNumber() == 0) {
    std::fprintf(stderr, "roundtrip_bench: no pseudo-terminal for the device\n");
    return 1;
  }

  CQtPostedHeadlessWindow window;
  CLinuxPortList ports;
  CQtSerialPort port(ports);
  CMirlSettingsDlg dialog(window, port, ports);
  dialog.OnInitDialog();
  if (!bench::SelectPort(window, dialog, device.ComNumber())) return 1;
  dialog.OnConnect();
  if (!bench::PumpUntil([&] { return dialog.IsDeviceReady(); })) {
    std::fprintf(stderr, "roundtrip_bench: the device never answered COM:open\n");
    return 1;
  }

  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> pauseUs(0, kMaxPauseMs * 1000);
  std::vector<double> polled;
  Clock::time_point pressedAt;
  bool waiting = false;
  const std::string answered = LoadString(IDS_DEALER_PW_OK);
  std::function<void()> pressAfterPause = [&] {
    if (static_cast<int>(polled.size()) == kPresses) {
      QCoreApplication::quit();
      return;
    }
    QTimer::singleShot(std::chrono::milliseconds(pauseUs(random) / 1000), Qt::PreciseTimer, [&] {
      waiting = true;
      pressedAt = Clock::now();
      dialog.OnUpdateDealerPw();
    });
  };
  // The reply has been handled when its handler shows the result.
  window.SetMessageBoxHook([&](const std::string& text) {
    if (!waiting || text != answered) return;
    polled.push_back(MillisecondsSince(pressedAt));
    waiting = false;
    pressAfterPause();
  });
  pressAfterPause();
  QTimer::singleShot(std::chrono::minutes(5), &application, [] { QCoreApplication::exit(1); });
  const int status = QCoreApplication::exec();
  dialog.OnDestroy();
  if (status != 0) {
    std::fprintf(stderr, "roundtrip_bench: only %zu of %d replies came\n", polled.size(), kPresses);
    return 1;
  }
  const std::vector<double> raw = MeasureRawLine(device.TerminalPath(), random);

  const double p50 = bench::Percentile(polled, 0.5);
  const double p99 = bench::Percentile(polled, 0.99);
  std::printf("press -> reply handled: Update Pw, answered \"ok\" at once over a pseudo-terminal\n");
  std::printf("%d presses one at a time, each after a random pause of 0-%d ms\n\n", kPresses, kMaxPauseMs);
  std::printf("  %-16s %8s %8s %8s   (ms)\n", "", "p50", "p99", "max");
  PrintRow("measured", polled, "headless window, real port, sender and receiver threads");
  std::printf("  %-16s %8.2f %8.2f %8s   %s\n", "polling model", kModelP50, kModelP99, "-",
              "floor: the sender's 10 ms pass, then the receiver's");
  PrintRow("raw line", raw, "floor: the same write and read, no polling");
  std::printf("  %-16s %8.2f %8.2f %8s   1.1 x the model: p50 %s, p99 %s\n", "target", kModelP50 * kTargetFactor,
              kModelP99 * kTargetFactor, "-", bench::Verdict(p50 <= kModelP50 * kTargetFactor),
              bench::Verdict(p99 <= kModelP99 * kTargetFactor));
  std::printf("\n  above the model: p50 %+.2f ms, p99 %+.2f ms\n", p50 - kModelP50, p99 - kModelP99);
  return 0;
}
