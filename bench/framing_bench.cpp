// Receive-path throughput: bytes decoded at "~" and cut into messages, as the port and the receiver
// thread do. Prints figures; never a test.
#include <chrono>
#include <cstdio>
#include <string>

#include "link/Framing.h"

int main() {
  using Clock = std::chrono::steady_clock;
  std::string stream;
  for (int i = 0; i < 20000; ++i)
    stream +=
        "GPS_R:$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47~WiFi_L:-55^中文网络^00:11:22:33:44:"
        "55~";

  for (const std::size_t readSize : {1u, 7u, 64u, 1024u}) {
    tolvane::CByteFramer framer;
    tolvane::CMessageCutter cutter;
    std::size_t messages = 0;
    const auto start = Clock::now();
    for (std::size_t at = 0; at < stream.size(); at += readSize) {
      cutter.Append(framer.Feed(std::string_view(stream).substr(at, readSize)));
      std::string message;
      while (cutter.Next(message)) ++messages;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("reads of %4zu bytes: %zu messages, %.1f MB/s, %.0f messages/s\n", readSize, messages,
                static_cast<double>(stream.size()) / seconds / 1e6, static_cast<double>(messages) / seconds);
  }
  return 0;
}
