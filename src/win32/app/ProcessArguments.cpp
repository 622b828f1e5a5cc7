#include "win32/app/CommandLine.h"

#include "win32/Utf16.h"
#include "win32/WinApi.h"
// After windows.h, which it builds on.
#include <shellapi.h>

namespace tolvane::win32 {
namespace {

constexpr char kHelp[] =
    "Usage: Tolvane.exe [--language CODE] [--trace FILE]\n"
    "Configures a Mirl intercom plugged into this PC through a serial port.\n\n"
    "  -h, --help        Shows this help.\n"
    "  -v, --version     Shows the version.\n"
    "  --language CODE   The language of the window, its messages and the About box: en_US (English, the "
    "default) or zh_CN (Simplified Chinese).\n"
    "  --trace FILE      Appends every message sent to and received from the device to this file, from start-up "
    "on, for a report to support. Passwords and the Bluetooth PIN are masked.";

CCommandLine Refused(const std::string& reason) {
  return {CCommandLine::Action::Refuse, TextLanguage::English, reason + "\nTry Tolvane.exe --help.", {}};
}

}  // namespace

CCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CCommandLine result;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "-h" || argument == "--help" || argument == "/?")
      return {CCommandLine::Action::ShowHelp, result.language, kHelp, {}};
    if (argument == "-v" || argument == "--version")
      return {CCommandLine::Action::ShowVersion, result.language, std::string("Tolvane ") + TOLVANE_VERSION, {}};
    if (argument == "--trace" || argument.rfind("--trace=", 0) == 0) {
      if (argument == "--trace" && i + 1 < arguments.size()) result.traceFile = arguments[++i];
      if (argument != "--trace") result.traceFile = argument.substr(8);
      if (result.traceFile.empty()) return Refused("--trace needs a file name");
      continue;
    }
    std::string code;
    if (argument == "--language") {
      if (i + 1 >= arguments.size()) return Refused("--language needs a value: en_US or zh_CN");
      code = arguments[++i];
    } else if (argument.rfind("--language=", 0) == 0) {
      code = argument.substr(11);
    } else if (!argument.empty() && argument[0] == '-') {
      return Refused("unknown option \"" + argument + "\"");
    } else {
      return Refused("unexpected argument \"" + argument + "\"");
    }
    if (code == "zh_CN")
      result.language = TextLanguage::Chinese;
    else if (code == "en_US")
      result.language = TextLanguage::English;
    else
      return Refused("unknown language \"" + code + "\": use en_US or zh_CN");
  }
  return result;
}

std::vector<std::string> ProcessArguments() {
  std::vector<std::string> arguments;
  int count = 0;
  wchar_t** list = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!list) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Narrow(list[i]));
  ::LocalFree(list);
  return arguments;
}

}  // namespace tolvane::win32
