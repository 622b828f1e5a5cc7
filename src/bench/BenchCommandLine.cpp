#include "bench/BenchCommandLine.h"

#include <algorithm>

#include "res/DialogTemplates.h"

namespace tolvane {

namespace {

constexpr char kHelp[] =
    "Usage: %1 --profile <file> (--pool <pool> | --imei-list <file>) --port <port>... [options]\n"
    "The production line in a window: a tile per port, each provisioning whatever unit is plugged\n"
    "into it with the next IMEI, until the window is closed.\n"
    "\n"
    "Options:\n"
    "  -h, --help           Displays help on commandline options.\n"
    "  --port <port>        A slot of the bench: COM33, or ttyUSB0. Given once per slot.\n"
    "  --profile <file>     The profile to write (INI), as tolvane-provision reads it.\n"
    "  --imei-list <file>   One IMEI per line; each unit takes the next one that\n"
    "                       <file>.done does not hold yet.\n"
    "  --pool <pool>        Each unit takes the next free IMEI of this pool (an SQLite\n"
    "                       file, or postgresql://user@host:port/dbname).\n"
    "  --station <name>     The bench's name in the pool's record (the host name by\n"
    "                       default).\n"
    "  --label              Each unit waits for its label (typed, or scanned) before\n"
    "                       anything is sent; the label goes into the record.\n"
    "  --language <code>    en_US (the default) or zh_CN.\n"
    "  --report <file>      Also write the report as JSON.\n"
    "  --yes                Confirm the factory reset that the profile asks for.";

// tolvane-provision's options that make no sense for a bench that runs until it is closed.
const char* const kNotForTheBench[] = {"--imei", "--dry-run", "--list-ports"};

CBenchCommandLine Refused(const std::string& program, const std::string& message) {
  CBenchCommandLine line;
  line.action = CProvisionCommandLine::EAction::Refuse;
  line.text = program + ": " + message + "\nTry " + program + " --help.";
  line.exitStatus = 2;
  return line;
}

}  // namespace

CBenchCommandLine ParseBenchCommandLine(const std::vector<std::string>& arguments, const std::string& hostName,
                                        const std::string& program) {
  CBenchCommandLine line;
  std::vector<std::string> batch;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const std::string name = argument.substr(0, argument.find('='));
    if (argument == "-h" || argument == "--help") {
      line.action = CProvisionCommandLine::EAction::ShowHelp;
      line.text = FormatString(kHelp, program);
      return line;
    }
    if (std::find(std::begin(kNotForTheBench), std::end(kNotForTheBench), name) != std::end(kNotForTheBench))
      return Refused(program, name + " is tolvane-provision's; the bench takes --imei-list or --pool");
    if (argument == "--label") {
      line.labels = true;
    } else if (name == "--language") {
      std::string code;
      if (argument.size() > name.size()) {
        code = argument.substr(name.size() + 1);
      } else if (i + 1 < arguments.size()) {
        code = arguments[++i];
      }
      if (code == kLanguageCodes[0]) {
        line.language = TextLanguage::English;
      } else if (code == kLanguageCodes[1]) {
        line.language = TextLanguage::Chinese;
      } else {
        return Refused(program, "--language takes en_US or zh_CN");
      }
    } else if (argument != "--wait") {
      batch.push_back(argument);
    }
  }
  batch.emplace_back("--wait");
  const CProvisionCommandLine parsed = ParseProvisionCommandLine(batch, hostName);
  if (parsed.action != CProvisionCommandLine::EAction::Run) {
    // Its message, under the bench's name.
    const std::string prefix = "tolvane-provision: ";
    std::string message = parsed.text.substr(0, parsed.text.find('\n'));
    if (message.starts_with(prefix)) message.erase(0, prefix.size());
    if (message == "--wait needs --imei-list or --pool") message = "--imei-list or --pool is missing";
    return Refused(program, message);
  }
  if (parsed.options.comNumbers.empty()) return Refused(program, "--port is missing: give it once for each slot");
  line.options = parsed.options;
  return line;
}

}  // namespace tolvane
