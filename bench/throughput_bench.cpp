// Device to window, sustained: a device of the benchmark's own floods the real window (offscreen)
// through the real port, in the bursts a UART at 921600 baud delivers. Prints messages handled per
// second against the design ceiling, the backlog over time, and how long an event for the window
// waits meanwhile. With --trace FILE, the traffic trace records every message into FILE as
// `tolvane --trace` does, to show what it costs. Never a test.
#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "AnsweringDevice.h"
#include "BenchLink.h"
#include "CountingWindow.h"
#include "Figures.h"
#include "qtserial/LinuxPortList.h"
#include "qt/QtMainWindow.h"
#include "qtserial/QtSerialPort.h"
#include "qt/TrafficTracing.h"
#include "res/Strings.h"

namespace {

using namespace tolvane;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using e2e::CCountingWindow;

constexpr double kCeilingPerSecond = 500;  // 2 ms between dispatched messages
constexpr int kLineBytesPerMs = 92;        // 921600 baud, 10 bits a byte
constexpr double kWaitTargetMs = 50;

// What the device sends: whole messages, each counted as sent once its last byte is on the line.
struct CFlood {
  std::string bytes;
  std::vector<std::size_t> messageEnds;
};

CFlood MakeFlood(int count, const std::function<std::string(int)>& message) {
  CFlood flood;
  for (int i = 0; i < count; ++i) {
    flood.bytes += message(i) + "~";
    flood.messageEnds.push_back(flood.bytes.size());
  }
  return flood;
}

class CPhase {
 public:
  CPhase(CCountingWindow& window, const CMirlSettingsDlg& dialog, bench::CAnsweringDevice& device)
      : m_window(window), m_dialog(dialog), m_device(device) {}

  // Sends the flood at `messagesPerSecond` (0: as fast as the line goes), in 1 ms bursts, and runs
  // the window's events until every message is handled.
  void Run(const char* title, const CFlood& flood, double messagesPerSecond) {
    std::printf("\n== %s: %zu messages, %s ==\n", title, flood.messageEnds.size(),
                messagesPerSecond > 0 ? (std::to_string(static_cast<int>(messagesPerSecond)) + " per second").c_str()
                                      : "at line speed");
    std::printf("  %6s %8s %8s %12s %10s\n", "t (s)", "sent", "handled", "in flight", "rx queue");
    const long handledBefore = m_window.handled;
    const long expected = static_cast<long>(flood.messageEnds.size());
    m_sent = 0;
    m_bSending = true;
    std::thread sender([&] { Send(flood, messagesPerSecond); });
    std::thread prober([&] { ProbeWindow(); });

    const auto start = Clock::now();
    std::vector<long> inFlight;
    QEventLoop loop;
    QTimer sample;
    int tick = 0;
    QObject::connect(&sample, &QTimer::timeout, [&] {
      const long handled = m_window.handled - handledBefore;
      inFlight.push_back(m_sent - handled);
      if (++tick % 10 == 0 || handled >= expected)
        std::printf("  %6.1f %8ld %8ld %12ld %10zu\n", std::chrono::duration<double>(Clock::now() - start).count(),
                    m_sent.load(), handled, m_sent - handled, m_dialog.GetRecvQueue().GetCount());
      if (handled >= expected || Clock::now() - start > 180s) loop.quit();
    });
    sample.start(100ms);
    loop.exec();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    m_bSending = false;
    sender.join();
    prober.join();

    const long handled = m_window.handled - handledBefore;
    const double rate = static_cast<double>(handled) / seconds;
    std::printf("  handled %ld of %ld in %.1f s: %.0f per second; design ceiling %.0f per second (%.0f%%)\n", handled,
                expected, seconds, rate, kCeilingPerSecond, 100 * rate / kCeilingPerSecond);
    if (messagesPerSecond > 0) {
      // While sending, a bounded backlog stops growing: compare the second half with the first.
      const std::size_t sendingTicks = std::min(inFlight.size(), static_cast<std::size_t>(m_sendSeconds * 10));
      const std::vector<double> first(inFlight.begin(), inFlight.begin() + sendingTicks / 2);
      const std::vector<double> second(inFlight.begin() + sendingTicks / 2, inFlight.begin() + sendingTicks);
      const double growth = bench::Maximum(second) - bench::Maximum(first);
      std::printf("  backlog while sending: peak %.0f in the first half, %.0f in the second: %s\n",
                  bench::Maximum(first), bench::Maximum(second),
                  growth <= 0.1 * messagesPerSecond ? "bounded" : "GROWING");
    }
    std::lock_guard lock(m_waitsLock);
    std::printf("  an event for the window waited p50 %.2f ms, p99 %.2f ms, max %.2f ms; target under %.0f ms: %s\n",
                bench::Percentile(m_waits, 0.5), bench::Percentile(m_waits, 0.99), bench::Maximum(m_waits),
                kWaitTargetMs, bench::Verdict(bench::Maximum(m_waits) < kWaitTargetMs));
    m_waits.clear();
  }

 private:
  void Send(const CFlood& flood, double messagesPerSecond) {
    const auto start = Clock::now();
    std::size_t at = 0, message = 0;
    for (int ms = 1; at < flood.bytes.size() && m_bSending; ++ms) {
      std::this_thread::sleep_until(start + std::chrono::milliseconds(ms));
      // What the line carries in this millisecond, or the messages due by now, whichever is less.
      std::size_t end =
          std::min(flood.bytes.size(), static_cast<std::size_t>(kLineBytesPerMs) * static_cast<std::size_t>(ms));
      if (messagesPerSecond > 0) {
        const auto due = static_cast<std::size_t>(messagesPerSecond * ms / 1000.0);
        end = std::min(end, due == 0 ? 0 : flood.messageEnds[std::min(due, flood.messageEnds.size()) - 1]);
      }
      if (end <= at) continue;
      m_device.Send(std::string_view(flood.bytes).substr(at, end - at));
      at = end;
      while (message < flood.messageEnds.size() && flood.messageEnds[message] <= at) ++message;
      m_sent = static_cast<long>(message);
    }
    m_sendSeconds = std::chrono::duration<double>(Clock::now() - start).count();
  }

  // Posts an event to the window's thread every 20 ms and notes how long it waited for its turn.
  void ProbeWindow() {
    while (m_bSending || m_sent > m_window.handled) {
      std::this_thread::sleep_for(20ms);
      const auto posted = Clock::now();
      QMetaObject::invokeMethod(
          &m_window,
          [this, posted] {
            std::lock_guard lock(m_waitsLock);
            m_waits.push_back(std::chrono::duration<double, std::milli>(Clock::now() - posted).count());
          },
          Qt::QueuedConnection);
      if (!m_bSending) break;
    }
  }

  CCountingWindow& m_window;
  const CMirlSettingsDlg& m_dialog;
  bench::CAnsweringDevice& m_device;
  std::atomic<long> m_sent{0};
  std::atomic<bool> m_bSending{false};
  double m_sendSeconds = 0;
  std::mutex m_waitsLock;
  std::vector<double> m_waits;
};

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QTemporaryDir registry;
  bench::UsePortRegistry(registry.path().toStdString());
  // GPS is switched on by the window's press; everything else the flood brings.
  bench::CAnsweringDevice device(registry.path().toStdString(), [](const std::string& key, const std::string& value) {
    return key == "GPS" ? key + ":" + value : std::string();
  });

  CCountingWindow window;
  CLinuxPortList ports;
  CQtSerialPort port(ports);
  CMirlSettingsDlg dialog(window, port, ports);
  window.AttachDialog(&dialog);
  CTrafficTrace trace;
  CTrafficTracing tracing(trace, TextLanguage::English);
  const QStringList arguments = application.arguments();
  const qsizetype traceOption = arguments.indexOf(QStringLiteral("--trace"));
  if (traceOption > 0) {
    QString errorText;
    if (traceOption + 1 >= arguments.size() || !tracing.OpenFile(arguments[traceOption + 1], errorText)) {
      std::fprintf(stderr, "throughput_bench: --trace needs a file it can write: %s\n", qPrintable(errorText));
      return 2;
    }
    dialog.SetTrafficTrace(&trace);
  }
  dialog.OnInitDialog();
  window.show();
  if (!bench::SelectPort(window, dialog, device.ComNumber())) return 1;
  dialog.OnConnect();
  if (!bench::PumpUntil([&] { return dialog.IsDeviceReady(); })) return 1;
  dialog.OnOpenGps();
  if (!bench::PumpUntil([&] { return window.GetWindowText(IDC_GPS_OPEN) == LoadString(IDS_CLOSE_GPS); })) return 1;

  std::printf("device to window over a pseudo-terminal, real window offscreen, real port, trace %s\n",
              traceOption > 0 ? "recording to a file" : "off");
  std::printf("the device writes in 1 ms bursts of at most %d bytes, as a UART at 921600 baud delivers\n",
              kLineBytesPerMs);
  CPhase phase(window, dialog, device);
  phase.Run("short messages (GPS_ST)", MakeFlood(20000, [](int i) { return "GPS_ST:" + std::to_string(i % 100); }), 0);
  phase.Run("short messages at 90% of the ceiling",
            MakeFlood(9000, [](int i) { return "GPS_ST:" + std::to_string(i % 100); }), 0.9 * kCeilingPerSecond);
  const std::string sentence = "$GPGGA,123519.00,4807.0380,N,01131.0000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";
  phase.Run("GPS_R sentences of 80 characters",
            MakeFlood(5000,
                      [&](int i) {
                        std::string text = "GPS_R:" + std::to_string(10000 + i) + sentence;
                        return text.substr(0, 6 + 80);
                      }),
            0);
  dialog.OnDestroy();
  return 0;
}
