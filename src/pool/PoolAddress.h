#pragma once

#include <optional>
#include <string>

namespace tolvane {

// Where an IMEI pool lives: an SQLite file on this PC, or a PostgreSQL database that several PCs
// share, as postgresql://user@host:port/dbname. The password never appears in it: libpq takes it
// from PGPASSWORD or ~/.pgpass.
struct CPoolAddress {
  enum class EKind { SQLite, PostgreSQL };
  EKind kind = EKind::SQLite;
  std::string path;  // SQLite
  std::string user, host, database;
  int port = 5432;
  // For messages and reports: the address as given, which never holds a password.
  std::string shown;
};

// Nothing, with the reason, for an address that is neither a usable path nor a well-formed URL.
std::optional<CPoolAddress> ParsePoolAddress(const std::string& text, std::string& errorText);

}  // namespace tolvane
