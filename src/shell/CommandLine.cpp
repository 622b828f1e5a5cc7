#include "shell/CommandLine.h"

#include <optional>

namespace tolvane {
namespace {

constexpr int kRefusedStatus = 2;

const char* NameOf(EProgram program) { return program == EProgram::Tolvane ? "tolvane" : "Tolvane.exe"; }

CCommandLine Answer(CCommandLine::EAction action, std::string text) {
  CCommandLine answer;
  answer.action = action;
  answer.text = std::move(text);
  return answer;
}

// "--name value" or "--name=value"; nothing when `argument` is another option. `missing` tells that
// the value is not there at all.
std::optional<std::string> ValueOf(const std::string& name, const std::vector<std::string>& arguments, std::size_t& i,
                                   bool& missing) {
  const std::string& argument = arguments[i];
  if (argument.starts_with(name + "=")) return argument.substr(name.size() + 1);
  if (argument != name) return std::nullopt;
  missing = i + 1 >= arguments.size();
  return missing ? std::string() : arguments[++i];
}

std::optional<TextLanguage> LanguageOf(const std::string& code) {
  if (code == "en_US") return TextLanguage::English;
  if (code == "zh_CN") return TextLanguage::Chinese;
  return std::nullopt;
}

}  // namespace

CCommandLine ParseCommandLine(const std::vector<std::string>& arguments, EProgram program) {
  CCommandLine result;
  std::string refusal;
  const auto refuse = [&refusal](std::string reason) {
    if (refusal.empty()) refusal = std::move(reason);
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    bool missing = false;
    if (argument == "-h" || argument == "--help" || argument == "/?")
      return Answer(CCommandLine::EAction::ShowHelp, HelpText(program));
    if (argument == "-v" || argument == "--version")
      return Answer(CCommandLine::EAction::ShowVersion,
                    std::string(program == EProgram::Tolvane ? "tolvane " : "Tolvane ") + TOLVANE_VERSION);
    if (const auto file = ValueOf("--trace", arguments, i, missing)) {
      if (file->empty()) refuse("--trace needs a file name");
      result.traceFile = *file;
    } else if (const auto code = ValueOf("--language", arguments, i, missing)) {
      const std::optional<TextLanguage> language = LanguageOf(*code);
      if (missing)
        refuse("--language needs a value: en_US or zh_CN");
      else if (!language)
        refuse("unknown language \"" + *code + "\": use en_US or zh_CN");
      else
        result.language = *language;
    } else if (argument.starts_with("-")) {
      refuse("unknown option \"" + argument + "\"");
    } else {
      refuse("unexpected argument \"" + argument + "\"");
    }
  }
  if (refusal.empty()) return result;
  CCommandLine refused = Answer(CCommandLine::EAction::Refuse, refusal + "\nTry " + NameOf(program) + " --help.");
  refused.exitStatus = kRefusedStatus;
  return refused;
}

}  // namespace tolvane
