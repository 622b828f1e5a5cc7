#include "DevsimOptions.h"

#include <charconv>

namespace tolvane::devsim {

namespace {

bool ParseCount(const std::string& text, long long maximum, long long& value) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end && value >= 0 && value <= maximum;
}

// "KEY,KEY,...": keys are compared exactly, as the device compares them.
bool ParseKeys(const std::string& text, std::set<std::string>& keys) {
  std::size_t begin = 0;
  for (;;) {
    const std::size_t comma = text.find(',', begin);
    const std::string key = text.substr(begin, comma == std::string::npos ? std::string::npos : comma - begin);
    if (key.empty() || key.find_first_of(":~") != std::string::npos) return false;
    keys.insert(key);
    if (comma == std::string::npos) return true;
    begin = comma + 1;
  }
}

}  // namespace

std::optional<CDevsimOptions> ParseDevsimOptions(const std::vector<std::string>& arguments, std::string& errorText) {
  CDevsimOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    const auto takeValue = [&](std::string& value) {
      if (i + 1 >= arguments.size()) {
        errorText = option + " needs a value";
        return false;
      }
      value = arguments[++i];
      return true;
    };
    const auto takeCount = [&](long long maximum, long long& value) {
      std::string text;
      if (!takeValue(text)) return false;
      if (ParseCount(text, maximum, value)) return true;
      errorText = option + " takes a whole number from 0 to " + std::to_string(maximum) + ", not \"" + text + "\"";
      return false;
    };

    const auto takeKeys = [&](std::set<std::string>& keys) {
      std::string text;
      if (!takeValue(text)) return false;
      if (ParseKeys(text, keys)) return true;
      errorText = option + " takes keys separated by commas, such as IP,HOST, not \"" + text + "\"";
      return false;
    };

    long long count = 0;
    if (option == "-h" || option == "--help") {
      options.bHelp = true;
    } else if (option == "--silent") {
      options.bSilent = true;
    } else if (option == "--refuse") {
      if (!takeKeys(options.refuseKeys)) return std::nullopt;
    } else if (option == "--ignore") {
      if (!takeKeys(options.ignoreKeys)) return std::nullopt;
    } else if (option == "--reports") {
      options.reportKeys.clear();
      if (i + 1 < arguments.size() && arguments[i + 1] == "none")
        ++i;
      else if (!takeKeys(options.reportKeys))
        return std::nullopt;
    } else if (option == "--split") {
      options.faults.bSplit = true;
    } else if (option == "--garbage") {
      options.faults.bGarbage = true;
    } else if (option == "--delay") {
      if (!takeCount(3'600'000, count)) return std::nullopt;
      options.faults.delay = std::chrono::milliseconds(count);
    } else if (option == "--unplug-after") {
      if (!takeCount(1'000'000'000, count)) return std::nullopt;
      options.nUnplugAfter = static_cast<int>(count);
    } else if (option == "--seed") {
      if (!takeCount(4'294'967'295LL, count)) return std::nullopt;
      options.seed = static_cast<unsigned>(count);
    } else if (option == "--exit-with-parent") {
      options.bExitWithParent = true;
    } else if (option == "--registry") {
      if (!takeValue(options.strRegistryDirectory)) return std::nullopt;
    } else if (option == "--wifi-password" || option == "--bt-pin") {
      std::string& secret = option == "--bt-pin" ? options.strBtPin : options.strWifiPassword;
      if (!takeValue(secret)) return std::nullopt;
      // The PC never sends a "~" inside a field, so such a secret could never be matched.
      if (secret.find('~') != std::string::npos) {
        errorText = option + " must not contain \"~\"";
        return std::nullopt;
      }
    } else {
      errorText = "unknown option \"" + option + "\"";
      return std::nullopt;
    }
  }
  for (const std::string& key : options.refuseKeys) {
    if (options.ignoreKeys.count(key) != 0) {
      errorText = key + " cannot be both refused and ignored";
      return std::nullopt;
    }
  }
  return options;
}

std::string DevsimUsage() {
  return "Usage: tolvane-devsim [options]\n"
         "\n"
         "A simulated Mirl intercom on a pseudo-terminal. It registers itself so that Tolvane\n"
         "lists it as COM200 (ttySIM0) and up, and answers the way the intercom app would.\n"
         "It keeps the settings the PC writes (IMEI, server, account, APN, language, network\n"
         "type) until it ends, reports them after COM:open, and on FACTORY_RESET:reboot goes\n"
         "back to its defaults and restarts, deaf to the line for two seconds.\n"
         "Each line typed on standard input is sent to the PC as one message, e.g. COM:close.\n"
         "While the PC holds the link, Wi-Fi that is on lists its networks every 4 seconds and\n"
         "GPS that is on sends NMEA sentences, satellites and status every second.\n"
         "\n"
         "  --silent           read commands but never answer them\n"
         "  --refuse KEY,...   answer KEY:fail to commands with these keys, e.g. IP,APN\n"
         "  --ignore KEY,...   never answer commands with these keys, so the PC times out\n"
         "  --reports KEY,...  report only these settings when the link opens, or none\n"
         "                     (default IMEI,IP,LANGUAGE,NETWORK_TYPE)\n"
         "  --split            send every message in random pieces, with short pauses\n"
         "  --delay MS         hold every answer back MS milliseconds\n"
         "  --garbage          send junk between messages, each run cut off by \"~\"\n"
         "  --unplug-after N   after N commands, drop the line like a pulled cable and exit\n"
         "  --seed N           seed for --split and --garbage, to repeat a run\n"
         "  --registry DIR     register in DIR (default: $TOLVANE_PORT_REGISTRY,\n"
         "                     else $XDG_RUNTIME_DIR/tolvane, else /tmp/tolvane-<uid>)\n"
         "  --wifi-password PW the password that joins a listed Wi-Fi network (default parlo123)\n"
         "  --bt-pin PIN       the PIN that pairs a listed Bluetooth device (default 0000)\n"
         "  --exit-with-parent stop when the program that started it ends\n"
         "  -h, --help         show this text\n";
}

}  // namespace tolvane::devsim
