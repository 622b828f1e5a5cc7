// What the traffic trace costs the receive path: bytes decoded at "~" and cut into messages, as
// the port and the receiver thread do, without a trace, with one that is not recording, and with
// one recording while another thread takes and formats its lines as the window does. Prints
// figures; never a test.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "link/Framing.h"
#include "link/TrafficTrace.h"

namespace {

using Clock = std::chrono::steady_clock;

enum class Tracing { None, Idle, Recording };

double MessagesPerSecond(const std::string& stream, std::size_t readSize, Tracing tracing) {
  tolvane::CTrafficTrace trace;
  trace.SetRecording(tracing == Tracing::Recording);
  std::atomic<bool> done{false};
  std::size_t formatted = 0;
  // The window's side: every 100 ms, take what is there and format it.
  std::thread taker([&] {
    while (!done) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      std::size_t leftOut = 0;
      for (const tolvane::CTraceEntry& entry : trace.Take(leftOut)) formatted += FormatTraceLine(entry).size();
    }
  });
  tolvane::CByteFramer framer;
  tolvane::CMessageCutter cutter;
  std::size_t messages = 0;
  const auto start = Clock::now();
  for (std::size_t at = 0; at < stream.size(); at += readSize) {
    cutter.Append(framer.Feed(std::string_view(stream).substr(at, readSize)));
    std::string message;
    while (cutter.Next(message)) {
      if (tracing != Tracing::None) trace.Record(tolvane::TraceDirection::FromDevice, message);
      ++messages;
    }
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  done = true;
  taker.join();
  return static_cast<double>(messages) / seconds;
}

}  // namespace

int main() {
  std::string stream;
  for (int i = 0; i < 20000; ++i)
    stream +=
        "GPS_R:$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47~WiFi_L:-55^中文网络^00:11:22:33:44:"
        "55~ACCOUNT:ok~";

  std::printf("messages/s: no trace | trace not recording | trace recording (ratio to no trace)\n");
  for (const std::size_t readSize : {64u, 1024u}) {
    // Best of three, so that a busy machine does not decide the figure.
    double none = 0, idle = 0, recording = 0;
    for (int round = 0; round < 3; ++round) {
      none = std::max(none, MessagesPerSecond(stream, readSize, Tracing::None));
      idle = std::max(idle, MessagesPerSecond(stream, readSize, Tracing::Idle));
      recording = std::max(recording, MessagesPerSecond(stream, readSize, Tracing::Recording));
    }
    const double addedMicroseconds = (1 / recording - 1 / none) * 1e6;
    std::printf("reads of %4zu bytes: %9.0f | %9.0f | %9.0f (%.2f); recording adds %.2f us a message\n", readSize, none,
                idle, recording, recording / none, addedMicroseconds);
  }
  // The receiver hands each message to the window's thread and then pauses 2 ms, so the link cuts
  // at most 500 messages a second; what recording adds is set against that pause.
  std::printf("the receiver's pause after each message: 2000 us\n");
  return 0;
}
