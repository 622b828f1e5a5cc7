// --help, from one list of the options in each program's own layout: tolvane's as Linux programs
// lay theirs out (wrapped to 79 columns), Tolvane.exe's with its options in the usage line.
#include <algorithm>
#include <cctype>
#include <sstream>

#include "shell/CommandLine.h"

namespace tolvane {
namespace {

constexpr char kPurpose[] = "Configures a Mirl intercom plugged into this PC through a serial port.";
constexpr int kLineWidth = 79;

struct COptionHelp {
  const char* names;
  const char* valueName;  // "" for a switch
  const char* description;
};

constexpr COptionHelp kOptions[] = {
    {"-h, --help", "", "Shows this help."},
    {"-v, --version", "", "Shows the version."},
    {"--language", "code",
     "The language of the window, its messages and the About box: en_US (English, the default) or zh_CN "
     "(Simplified Chinese)."},
    {"--trace", "file",
     "Appends every message sent to and received from the device to this file, from start-up on, for a report "
     "to support. Passwords and the Bluetooth PIN are masked."},
};

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

// Each option's names and value as the program writes them: "--language <code>" or "--language CODE".
std::vector<std::string> OptionColumn(EProgram program) {
  std::vector<std::string> column;
  for (const COptionHelp& option : kOptions) {
    std::string names = option.names;
    const std::string value = option.valueName;
    if (!value.empty() && program == EProgram::Tolvane) names.append(" <").append(value).append(">");
    if (!value.empty() && program == EProgram::TolvaneExe) names.append(" ").append(Upper(value));
    column.push_back(std::move(names));
  }
  return column;
}

std::vector<std::string> Wrapped(const std::string& text, std::size_t width) {
  std::vector<std::string> lines(1);
  std::istringstream words(text);
  for (std::string word; words >> word;) {
    if (!lines.back().empty() && lines.back().size() + 1 + word.size() > width) lines.emplace_back();
    lines.back() += (lines.back().empty() ? "" : " ") + word;
  }
  return lines;
}

}  // namespace

std::string HelpText(EProgram program) {
  const std::vector<std::string> column = OptionColumn(program);
  std::size_t width = 0;
  for (const std::string& names : column) width = std::max(width, names.size());
  // Descriptions start two columns past the longest entry for tolvane, three for Tolvane.exe.
  width += program == EProgram::Tolvane ? 1 : 2;
  std::string text;
  if (program == EProgram::Tolvane) {
    text = std::string("Usage: tolvane [options]\n") + kPurpose + "\n\nOptions:";
  } else {
    text = "Usage: Tolvane.exe";
    for (std::size_t i = 0; i < column.size(); ++i)
      if (*kOptions[i].valueName) text += " [" + column[i] + "]";
    text += std::string("\n") + kPurpose + "\n";
  }
  const std::size_t indent = 2 + width + 1;
  for (std::size_t i = 0; i < column.size(); ++i) {
    const std::string& description = kOptions[i].description;
    const std::vector<std::string> lines = program == EProgram::Tolvane ? Wrapped(description, kLineWidth - indent)
                                                                        : std::vector<std::string>{description};
    for (std::size_t line = 0; line < lines.size(); ++line) {
      std::string names = line == 0 ? column[i] : std::string();
      names.resize(width, ' ');
      text += "\n  " + names + " " + lines[line];
    }
  }
  return text;
}

}  // namespace tolvane
