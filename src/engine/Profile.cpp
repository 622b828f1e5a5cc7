#include "engine/Profile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <string_view>
#include <vector>

#include "engine/IniValue.h"
#include "res/DialogTemplates.h"

namespace tolvane {

namespace {

enum class EValue { Text, NonEmpty, Imei, Address, Flag, Language, NetworkType };

struct CKey {
  const char* name;
  EValue kind;
  std::optional<std::string> CProfile::*text = nullptr;
  bool CProfile::*flag = nullptr;
};

const CKey kKeys[] = {
    {"imei", EValue::Imei, &CProfile::imei},
    {"server_ip", EValue::Address},
    {"domain", EValue::NonEmpty, &CProfile::domain},
    {"account", EValue::NonEmpty, &CProfile::account},
    {"account_password", EValue::Text, &CProfile::accountPassword},
    {"dealer_password", EValue::Text, &CProfile::dealerPassword},
    // An empty APN is left to the window, which says why it sends nothing.
    {"apn", EValue::Text, &CProfile::apn},
    {"apn_user", EValue::Text, &CProfile::apnUser},
    {"apn_password", EValue::Text, &CProfile::apnPassword},
    {"clear_apn", EValue::Flag, nullptr, &CProfile::clearApn},
    {"language", EValue::Language, &CProfile::language},
    {"network_type", EValue::NetworkType, &CProfile::networkType},
    {"wifi_address", EValue::NonEmpty, &CProfile::wifiAddress},
    {"wifi_password", EValue::Text, &CProfile::wifiPassword},
    {"factory_reset", EValue::Flag, nullptr, &CProfile::factoryReset},
};

// One "key = value" line as written.
struct CRawEntry {
  int line = 0;
  std::string key;    // "section/key" outside [General]
  std::string value;  // everything after "=", blanks included
};

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return std::string(text.substr(first, last - first + 1));
}

bool ReadWhole(const std::string& path, std::string& bytes, std::string& errorText) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  char buffer[4096];
  for (std::size_t count; file && (count = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, count);
  const bool ok = file && !std::ferror(file);
  const int error = errno;
  if (file) std::fclose(file);
  if (!ok) errorText = path + ": cannot read the profile: " + std::strerror(error);
  return ok;
}

// Line by line, so that every fault names its line, and a key given twice is one.
bool ScanLines(std::string_view bytes, const std::string& path, std::vector<CRawEntry>& entries,
               std::string& errorText) {
  std::map<std::string, int> seen;
  std::string section;
  for (int line = 1; !bytes.empty() || line == 1; ++line) {
    const std::size_t end = bytes.find('\n');
    std::string whole(bytes.substr(0, end));
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    if (!whole.empty() && whole.back() == '\r') whole.pop_back();
    const std::string text = Trimmed(whole);
    if (text.empty() || text[0] == ';' || text[0] == '#') continue;
    const std::string where = path + ":" + std::to_string(line) + ": ";
    if (text[0] == '[') {
      if (text.back() != ']') {
        errorText = where + "a section line must end with \"]\"";
        return false;
      }
      section = Trimmed(std::string_view(text).substr(1, text.size() - 2));
      continue;
    }
    const auto equals = text.find('=');
    if (equals == std::string::npos) {
      errorText = where + "expected key = value, found \"" + text + "\"";
      return false;
    }
    std::string key = Trimmed(std::string_view(text).substr(0, equals));
    if (!section.empty() && section != "General") key = section + "/" + key;
    if (const auto first = seen.find(key); first != seen.end()) {
      errorText = where + "\"" + key + "\" is given twice (first on line " + std::to_string(first->second) + ")";
      return false;
    }
    seen[key] = line;
    entries.push_back({line, key, whole.substr(whole.find('=') + 1)});
  }
  return true;
}

template <typename Choices>
bool IsOneOf(const std::string& value, const Choices& choices) {
  return std::find(std::begin(choices), std::end(choices), value) != std::end(choices);
}

// Why the value does not fit its key; empty when it does.
std::string CheckValue(EValue kind, const std::string& value) {
  switch (kind) {
    case EValue::Text: return {};
    case EValue::NonEmpty: return value.empty() ? "must not be empty" : std::string();
    case EValue::Imei: return IsImeiText(value) ? std::string() : "must be digits 0 to 9 only";
    case EValue::Address: return ParseServerIp(value) ? std::string() : "must be an IPv4 address such as 10.0.0.5";
    case EValue::Flag: return IsOneOf(value, std::array<std::string_view, 2>{"true", "false"}) ? std::string() : "must be true or false";
    case EValue::Language: return IsOneOf(value, kLanguageCodes) ? std::string() : "must be en_US or zh_CN";
    case EValue::NetworkType: return IsOneOf(value, kNetworkTypeChoices) ? std::string() : "must be 2G, 3G or 3G/2G";
  }
  return {};
}

// Keys that only mean something together with another.
std::string CheckCombination(const CProfile& profile, const std::map<std::string, int>& lines,
                             const std::string& path) {
  const auto at = [&](const std::string& key) { return path + ":" + std::to_string(lines.at(key)) + ": "; };
  if (profile.accountPassword && !profile.account) return at("account_password") + "account_password needs account";
  if (profile.apnUser && !profile.apn) return at("apn_user") + "apn_user needs apn";
  if (profile.apnPassword && !profile.apn) return at("apn_password") + "apn_password needs apn";
  if (profile.clearApn && profile.apn) return at("clear_apn") + "clear_apn = true cannot go with apn";
  if (profile.wifiAddress && !profile.wifiPassword)
    return at("wifi_address") + "wifi_address needs wifi_password (empty for an open network)";
  if (profile.wifiPassword && !profile.wifiAddress) return at("wifi_password") + "wifi_password needs wifi_address";
  return {};
}

}  // namespace

bool IsImeiText(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<std::uint32_t> ParseServerIp(const std::string& text) {
  std::uint32_t address = 0;
  std::size_t begin = 0;
  for (int field = 0; field < 4; ++field) {
    const std::size_t end = field < 3 ? text.find('.', begin) : text.size();
    if (end == std::string::npos || end == begin || end - begin > 3) return std::nullopt;
    unsigned value = 0;
    for (std::size_t i = begin; i < end; ++i) {
      if (text[i] < '0' || text[i] > '9') return std::nullopt;
      value = value * 10 + static_cast<unsigned>(text[i] - '0');
    }
    if (value > 255) return std::nullopt;
    address = (address << 8) | value;
    begin = end + 1;
  }
  return address;
}

std::optional<CProfile> ReadProfile(const std::string& path, std::string& errorText) {
  std::string bytes;
  if (!ReadWhole(path, bytes, errorText)) return std::nullopt;
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
  std::vector<CRawEntry> entries;
  if (!ScanLines(bytes, path, entries, errorText)) return std::nullopt;

  CProfile profile;
  std::map<std::string, int> lines;
  for (const CRawEntry& entry : entries) {
    const std::string where = path + ":" + std::to_string(entry.line) + ": ";
    const auto known =
        std::find_if(std::begin(kKeys), std::end(kKeys), [&entry](const CKey& key) { return entry.key == key.name; });
    if (known == std::end(kKeys)) {
      errorText = where + "unknown key \"" + entry.key + "\"";
      return std::nullopt;
    }
    const std::optional<std::string> read = ReadIniValue(entry.value);
    // Unquoted, a comma would make a list, a ";" would cut the value and a "\" would start an
    // escape: a password must never arrive changed.
    const std::string written = Trimmed(entry.value);
    const bool quoted = !written.empty() && written.front() == '"';
    if (!read || (!quoted && *read != written)) {
      errorText = where + "the value of " + entry.key +
                  " would not be read as written; put it in double quotes (with \\\" for a quote and \\\\ for "
                  "a backslash)";
      return std::nullopt;
    }
    const std::string& value = *read;
    if (const std::string fault = CheckValue(known->kind, value); !fault.empty()) {
      errorText = where + entry.key + " " + fault;
      return std::nullopt;
    }
    lines[entry.key] = entry.line;
    if (known->text) profile.*(known->text) = value;
    if (known->flag) profile.*(known->flag) = value == "true";
    if (known->kind == EValue::Address) profile.serverIp = ParseServerIp(value);
  }
  errorText = CheckCombination(profile, lines, path);
  if (!errorText.empty()) return std::nullopt;
  return profile;
}

}  // namespace tolvane
