#include "engine/ProvisionCommandLine.h"

#include <algorithm>
#include <map>

#include "engine/Profile.h"
#include "link/PortNaming.h"

namespace tolvane {

namespace {

constexpr char kHelp[] =
    "Usage: tolvane-provision [options]\n"
    "Provisions Mirl intercoms from a profile: the same steps the Tolvane window's buttons take, one after\n"
    "the other, each waiting for its reply or its time-out, with a pass/fail report.\n"
    "\n"
    "  tolvane-provision --port COM33 --profile dealer.ini [--imei 860000000000001]\n"
    "  tolvane-provision --profile dealer.ini --imei-list imeis.txt --wait [--port COM33]\n"
    "  tolvane-provision --port COM33 --port COM34 --profile dealer.ini --pool pool.db [--wait]\n"
    "  tolvane-provision pool init|import|status|export|release POOL ...   (pool --help)\n"
    "  tolvane-provision --profile dealer.ini [--port COM33] --dry-run\n"
    "  tolvane-provision --list-ports\n"
    "\n"
    "Options:\n"
    "  -h, --help          Displays help on commandline options.\n"
    "  --port <port>       The device's port: COM33, or ttyUSB0. Given several\n"
    "                      times, the devices are provisioned at once.\n"
    "  --profile <file>    The profile to write (INI).\n"
    "  --imei <digits>     The IMEI to write, instead of the profile's.\n"
    "  --imei-list <file>  One IMEI per line; each device takes the next one that\n"
    "                      <file>.done does not hold yet.\n"
    "  --pool <pool>       Each device takes the next free IMEI of this pool (an\n"
    "                      SQLite file, or postgresql://user@host:port/dbname with\n"
    "                      the password in PGPASSWORD or ~/.pgpass).\n"
    "  --station <name>    The bench's name in the pool's record (the host name by\n"
    "                      default).\n"
    "  --wait              With --imei-list or --pool: wait for each device to be\n"
    "                      plugged in, until the IMEIs are used up or Ctrl-C.\n"
    "  --dry-run           Print the commands that would be sent, and send nothing.\n"
    "  --list-ports        Print the ports the window would list, and end.\n"
    "  --report <file>     Also write the report as JSON.\n"
    "  --yes               Confirm the factory reset that the profile asks for.\n";

constexpr char kKeysAndStatuses[] =
    "\n"
    "Profile keys (INI, all optional), in the order the steps run:\n"
    "  imei                                  Write IMEI\n"
    "  server_ip                             Update IP\n"
    "  domain                                Update Domain\n"
    "  account, account_password             Set Account/Pw\n"
    "  dealer_password                       Update Pw\n"
    "  apn, apn_user, apn_password           Set APN\n"
    "  clear_apn = true                      Clear APN (not with apn)\n"
    "  language = en_US|zh_CN                Set Language\n"
    "  network_type = 2G|3G|3G/2G            Set Network\n"
    "  wifi_address, wifi_password           Open Wi-Fi, then Join Wi-Fi\n"
    "  factory_reset = true                  Factory Reset, always last; needs --yes\n"
    "\n"
    "Exit status:\n"
    "  0    every step of every device succeeded\n"
    "  1    a step failed: the device refused it, or the link closed during it\n"
    "  2    the command line is wrong\n"
    "  3    the profile or the IMEI list is wrong; nothing was sent\n"
    "  4    a step got no response\n"
    "  5    a step was refused by the window's checks; nothing was sent for it\n"
    "  6    the port could not be opened, or the device did not answer the link\n"
    "  7    the report or the .done file could not be written, or another run kept\n"
    "       the IMEI list locked for more than 10 s\n"
    "  8    the IMEI pool cannot be reached, is not a pool, failed or did not answer\n"
    "       in time (20 s), or could not record an IMEI that went to a device\n"
    "  9    the IMEI list or pool had no IMEI left for a device; nothing was sent to it\n"
    "  130  stopped with Ctrl-C\n"
    "When several apply, the first of 130, 7, 8, 6, 9, 1, 4, 5 wins.\n";

CProvisionCommandLine Refused(const std::string& message) {
  CProvisionCommandLine line;
  line.action = CProvisionCommandLine::EAction::Refuse;
  line.text = "tolvane-provision: " + message + "\nTry tolvane-provision --help.";
  line.exitStatus = 2;
  return line;
}

// The options that take a value, and the flags.
const char* const kValued[] = {"--port", "--profile", "--imei", "--imei-list", "--pool", "--station", "--report"};
const char* const kFlags[] = {"--wait", "--dry-run", "--list-ports", "--yes"};

}  // namespace

bool IsStationName(const std::string& name) {
  return !name.empty() && std::none_of(name.begin(), name.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
  });
}

std::optional<int> ParsePortName(const std::string& text) {
  if (text.size() > 3 && (text.starts_with("COM") || text.starts_with("com"))) {
    int number = 0;
    for (std::size_t i = 3; i < text.size(); ++i) {
      if (text[i] < '0' || text[i] > '9' || number > 9999) return std::nullopt;
      number = number * 10 + (text[i] - '0');
    }
    return number > 0 ? std::optional<int>(number) : std::nullopt;
  }
  const std::string device = text.starts_with("/dev/") ? text.substr(5) : text;
  const int number = ComNumberForDevice(device);
  return number > 0 ? std::optional<int>(number) : std::nullopt;
}

CProvisionCommandLine ParseProvisionCommandLine(const std::vector<std::string>& arguments, const std::string& hostName) {
  // Every value given, by option, in order; a flag's is empty.
  std::map<std::string, std::vector<std::string>> given;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "-h" || argument == "--help") {
      CProvisionCommandLine help;
      help.action = CProvisionCommandLine::EAction::ShowHelp;
      help.text = std::string(kHelp) + kKeysAndStatuses;
      help.text.pop_back();  // the text ends where the program's last line does
      return help;
    }
  }
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (!argument.starts_with("-")) return Refused("unexpected argument \"" + argument + "\"");
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    const bool valued = std::find(std::begin(kValued), std::end(kValued), name) != std::end(kValued);
    const bool flag = std::find(std::begin(kFlags), std::end(kFlags), name) != std::end(kFlags);
    if (!valued && !flag) return Refused("unknown option \"" + name + "\"");
    if (flag && equals != std::string::npos) return Refused(name + " takes no value");
    if (flag) {
      given[name].emplace_back();
    } else if (equals != std::string::npos) {
      given[name].push_back(argument.substr(equals + 1));
    } else if (i + 1 < arguments.size()) {
      given[name].push_back(arguments[++i]);
    } else {
      return Refused(name + " needs a value");
    }
  }
  const auto isSet = [&given](const char* name) { return given.count(name) > 0; };
  // The last one given counts, as for any option given more than once but --port.
  const auto value = [&given](const char* name) {
    const auto found = given.find(name);
    return found == given.end() ? std::string() : found->second.back();
  };

  CProvisionCommandLine line;
  CProvisionOptions& options = line.options;
  options.listPorts = isSet("--list-ports");
  if (options.listPorts) return line;
  options.profilePath = value("--profile");
  options.imeiListPath = value("--imei-list");
  options.reportPath = value("--report");
  options.wait = isSet("--wait");
  options.dryRun = isSet("--dry-run");
  options.yes = isSet("--yes");
  options.poolAddress = value("--pool");
  options.station = isSet("--station") ? value("--station") : hostName;
  if ((isSet("--station") || !options.poolAddress.empty()) && !IsStationName(options.station))
    return Refused(kStationRule);
  for (const std::string& port : given["--port"]) {
    const std::optional<int> number = ParsePortName(port);
    if (!number) return Refused("--port takes COM and a number, such as COM33, or a device such as ttyUSB0");
    if (std::find(options.comNumbers.begin(), options.comNumbers.end(), *number) != options.comNumbers.end())
      return Refused("--port " + port + " is given twice");
    options.comNumbers.push_back(*number);
  }
  if (isSet("--imei")) {
    options.imei = value("--imei");
    if (!IsImeiText(*options.imei)) return Refused("--imei takes digits 0 to 9 only");
  }
  if (options.profilePath.empty()) return Refused("--profile is missing");
  const int imeiSources = (options.imei ? 1 : 0) + (options.imeiListPath.empty() ? 0 : 1) +
                          (options.poolAddress.empty() ? 0 : 1);
  if (imeiSources > 1) return Refused("--imei, --imei-list and --pool cannot go together");
  if (options.wait && options.imeiListPath.empty() && options.poolAddress.empty())
    return Refused("--wait needs --imei-list or --pool");
  if (options.comNumbers.empty() && !options.wait && !options.dryRun) return Refused("--port is missing");
  if (options.comNumbers.size() > 1 && options.imei)
    return Refused("--imei with several --port would write one IMEI into several devices");
  if (options.comNumbers.size() > 1 && options.dryRun) return Refused("--dry-run takes one --port at most");
  return line;
}

}  // namespace tolvane
