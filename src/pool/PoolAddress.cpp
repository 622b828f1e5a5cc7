#include "pool/PoolAddress.h"

#include <algorithm>
#include <cctype>

namespace tolvane {

namespace {

bool IsNamePart(const std::string& text) {
  if (text.empty()) return false;
  for (const char c : text)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-' && c != '.') return false;
  return true;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         });
}

std::optional<CPoolAddress> Malformed(const std::string& why, std::string& errorText) {
  errorText = "the pool's address " + why + "; a PostgreSQL pool is postgresql://user@host:port/dbname";
  return std::nullopt;
}

}  // namespace

std::optional<CPoolAddress> ParsePoolAddress(const std::string& text, std::string& errorText) {
  CPoolAddress address;
  address.shown = text;
  const std::string scheme = text.substr(0, text.find("://"));
  // A mistyped URL is no file name: it would make a file whose name holds the password. Nothing of
  // it is quoted back, for the same reason.
  if (StartsWithNoCase(text, "postgres") && scheme != "postgresql" && scheme != "postgres")
    return Malformed("is not a well-formed URL", errorText);
  if (text.find("://") == std::string::npos) {
    if (text.empty()) {
      errorText = "the pool's address is empty";
      return std::nullopt;
    }
    // SQLite would keep such a pool in memory, or read the name as a URI of its own.
    if (text == ":memory:" || StartsWithNoCase(text, "file:")) {
      errorText = "the pool's address \"" + text + "\" is not a file: a pool is an SQLite file, such as pool.db";
      return std::nullopt;
    }
    address.path = text;
    return address;
  }
  if (scheme != "postgresql" && scheme != "postgres")
    return Malformed("starts with \"" + scheme + "://\", which is not postgresql://", errorText);
  address.kind = CPoolAddress::EKind::PostgreSQL;
  std::string rest = text.substr(scheme.size() + 3);
  const std::size_t at = rest.find('@');
  if (at == std::string::npos) return Malformed("names no user (user@host)", errorText);
  address.user = rest.substr(0, at);
  if (address.user.find(':') != std::string::npos) {
    errorText = "the pool's address holds a password: put it in PGPASSWORD or ~/.pgpass instead, so that it "
                "shows in no command line and no report";
    address.shown.clear();
    return std::nullopt;
  }
  if (!IsNamePart(address.user)) return Malformed("has a user name that is not plain", errorText);
  rest = rest.substr(at + 1);
  const std::size_t slash = rest.find('/');
  if (slash == std::string::npos) return Malformed("names no database (/dbname)", errorText);
  std::string hostPort = rest.substr(0, slash);
  address.database = rest.substr(slash + 1);
  if (address.database.find('?') != std::string::npos)
    return Malformed("has settings after \"?\"; libpq's settings go in its environment instead, such as "
                     "PGSSLMODE=require",
                     errorText);
  if (!IsNamePart(address.database)) return Malformed("has a database name that is not plain", errorText);
  if (const std::size_t colon = hostPort.rfind(':'); colon != std::string::npos) {
    const std::string port = hostPort.substr(colon + 1);
    hostPort.resize(colon);
    if (port.empty() || port.size() > 5 || !std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return Malformed("has a port that is not a number", errorText);
    address.port = std::stoi(port);
    if (address.port < 1 || address.port > 65535) return Malformed("has a port out of range", errorText);
  }
  if (!IsNamePart(hostPort)) return Malformed("has no host, or one that is not plain", errorText);
  address.host = hostPort;
  return address;
}

}  // namespace tolvane
