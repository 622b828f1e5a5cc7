#include "pool/ImeiImport.h"

#include <fstream>
#include <map>

#include "pool/ImeiCheck.h"

namespace tolvane {

std::optional<std::vector<std::string>> ReadImeiImport(const std::string& path, std::string& errorText) {
  std::ifstream in(path);
  if (!in) {
    errorText = path + ": cannot read it";
    return std::nullopt;
  }
  std::vector<std::string> imeis;
  std::map<std::string, int> lineOf;
  std::string text;
  for (int line = 1; std::getline(in, text); ++line) {
    // Spreadsheets begin their exports with a byte-order mark.
    if (line == 1 && text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos || text[first] == '#') continue;
    const std::string imei = text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
    const std::string where = path + ":" + std::to_string(line) + ": ";
    if (imei.find('\0') != std::string::npos) {
      errorText = where + "the line holds a NUL byte; nothing was imported";
      return std::nullopt;
    }
    if (const std::string problem = ImeiProblem(imei); !problem.empty()) {
      // A message quotes a line only as far as an IMEI could reach.
      constexpr std::size_t kQuoted = 40;
      const std::string quoted = imei.size() > kQuoted ? imei.substr(0, kQuoted) + "…" : imei;
      errorText = where + "\"" + quoted + "\" " + problem + "; nothing was imported";
      return std::nullopt;
    }
    if (const auto earlier = lineOf.find(imei); earlier != lineOf.end()) {
      errorText = where + imei + " is listed twice (first on line " + std::to_string(earlier->second) +
                  "); nothing was imported";
      return std::nullopt;
    }
    lineOf[imei] = line;
    imeis.push_back(imei);
  }
  return imeis;
}

}  // namespace tolvane
