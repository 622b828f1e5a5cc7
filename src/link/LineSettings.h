#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvane {

// The line the link runs at, and the buffers it opens the port with: the port's stored start values.
inline constexpr char kLinkLineSettings[] = "921600,n,8,1";
inline constexpr int kLinkInBufferSize = 2048;
inline constexpr int kLinkOutBufferSize = 1024;

enum class EParity { None, Odd, Even, Mark, Space };
enum class EStopBits { One, Two };

// A line as "baud,parity,data bits,stop bits" gives it, for each port to map onto its own types.
struct CLineSettings {
  int baudRate = 0;
  EParity parity = EParity::None;
  int dataBits = 8;
  EStopBits stopBits = EStopBits::One;
};

// What every port can apply: a positive baud rate, parity n, o, e, m or s (either case), 5 to 8 data
// bits and 1 or 2 stop bits; blanks around a field are ignored. 1.5 stop bits are refused, as POSIX
// lines have none, and so are 5 data bits with 2 stop bits, which Windows refuses. Otherwise gives
// nothing, with the text that a refused value gives.
std::optional<CLineSettings> ParseLineSettings(std::string_view text, std::string& errorText);

}  // namespace tolvane
