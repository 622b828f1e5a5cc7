#include "pool/PostgresDriver.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <type_traits>

namespace tolvane {

namespace {

struct CClear {
  void operator()(PGresult* result) const { PQclear(result); }
};
using ResultPtr = std::unique_ptr<PGresult, CClear>;

std::string Trimmed(const char* text) {
  std::string trimmed = text ? text : "";
  trimmed.erase(0, trimmed.find_first_not_of(" \t\r\n"));
  trimmed.erase(trimmed.find_last_not_of(" \t\r\n") + 1);
  return trimmed;
}

// The pool writes "?" for each value, as SQLite does; PostgreSQL numbers them: $1, $2, ... A "?"
// inside a quoted literal or name is text.
std::string Numbered(const std::string& sql) {
  std::string numbered;
  char quote = 0;
  int next = 0;
  for (const char c : sql) {
    if (quote == 0 && c == '?') {
      numbered += '$' + std::to_string(++next);
      continue;
    }
    if (c == quote)
      quote = 0;
    else if (quote == 0 && (c == '\'' || c == '"'))
      quote = c;
    numbered += c;
  }
  return numbered;
}

// Class 42 is what the server finds while parsing and analysing the statement, before running it; a
// missing privilege among them is found only when it runs.
bool RefusedBeforeRunning(const PGresult* result) {
  const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
  return state && std::string_view(state).substr(0, 2) == "42" && std::string_view(state) != "42501";
}

class CPostgresConnection final : public IPoolConnection {
 public:
  explicit CPostgresConnection(PGconn* connection) : m_connection(connection) {}
  ~CPostgresConnection() override { PQfinish(m_connection); }
  CPostgresConnection(const CPostgresConnection&) = delete;
  CPostgresConnection& operator=(const CPostgresConnection&) = delete;

  EEngine Engine() const override { return EEngine::PostgreSQL; }

  EExecuted Execute(const std::string& sql, const std::vector<PoolValue>& values, CPoolRows& rows,
                    std::string& reason) override {
    rows.Clear();
    std::vector<std::string> texts(values.size());
    std::vector<const char*> pointers(values.size());
    for (std::size_t i = 0; i < values.size(); ++i)
      std::visit(
          [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::string>)
              pointers[i] = v.c_str();
            else if constexpr (std::is_same_v<T, long long>)
              pointers[i] = (texts[i] = std::to_string(v)).c_str();
          },
          values[i]);
    // Text parameters of no stated type: the server takes each as the column or expression needs.
    const ResultPtr result(PQexecParams(m_connection, Numbered(sql).c_str(), static_cast<int>(values.size()), nullptr,
                                        pointers.data(), nullptr, nullptr, 0));
    switch (result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR) {
      case PGRES_TUPLES_OK: Read(result.get(), rows); return EExecuted::Done;
      case PGRES_COMMAND_OK: rows.SetChanged(std::atoi(PQcmdTuples(result.get()))); return EExecuted::Done;
      default: break;
    }
    reason = Trimmed(result ? PQresultErrorMessage(result.get()) : PQerrorMessage(m_connection));
    const char* state = result ? PQresultErrorField(result.get(), PG_DIAG_SQLSTATE) : nullptr;
    // Class 42 is what the server finds while parsing and analysing the statement, before running
    // it; a missing privilege among them is found only when it runs.
    const bool refused = state && std::string_view(state).substr(0, 2) == "42" && std::string_view(state) != "42501";
    return refused ? EExecuted::Refused : EExecuted::Failed;
  }

  EExecuted Each(const std::string& sql, const std::vector<PoolValue>& values, const PoolRowHandler& row,
                 std::string& reason) override {
    std::vector<std::string> texts(values.size());
    const std::vector<const char*> pointers = Texts(values, texts);
    if (!PQsendQueryParams(m_connection, Numbered(sql).c_str(), static_cast<int>(values.size()), nullptr,
                           pointers.data(), nullptr, nullptr, 0)) {
      reason = Trimmed(PQerrorMessage(m_connection));
      return EExecuted::Failed;
    }
    // One result a row instead of the whole set in memory.
    PQsetSingleRowMode(m_connection);
    EExecuted outcome = EExecuted::Done;
    bool wanted = true;
    CPoolRows one;
    // The connection takes its next statement only once every result of this one has been read, so
    // rows past a stop are read and dropped.
    while (const ResultPtr result{PQgetResult(m_connection)}) {
      const ExecStatusType status = PQresultStatus(result.get());
      if (status == PGRES_SINGLE_TUPLE && wanted) {
        one.Clear();
        Read(result.get(), one);
        one.Next();
        wanted = row(one);
      } else if (status != PGRES_SINGLE_TUPLE && status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK &&
                 outcome == EExecuted::Done) {
        reason = Trimmed(PQresultErrorMessage(result.get()));
        outcome = RefusedBeforeRunning(result.get()) ? EExecuted::Refused : EExecuted::Failed;
      }
    }
    return outcome;
  }

  bool BeginWrite(std::string& reason) override { return Run("BEGIN", reason); }

  bool Commit(std::string& reason) override {
    const ResultPtr result(PQexec(m_connection, "COMMIT"));
    if (!result || PQresultStatus(result.get()) != PGRES_COMMAND_OK) {
      reason = Trimmed(result ? PQresultErrorMessage(result.get()) : PQerrorMessage(m_connection));
      return false;
    }
    // A transaction that had already failed ends in a rollback, with no error.
    if (std::strcmp(PQcmdStatus(result.get()), "COMMIT") != 0) {
      reason = "the transaction was rolled back";
      return false;
    }
    return true;
  }

  void Rollback() override { PQclear(PQexec(m_connection, "ROLLBACK")); }

  bool Objects(std::vector<std::string>& names, std::string& reason) override {
    names.clear();
    CPoolRows rows;
    // Outside the system's own schemas: relations of every kind but indexes (which belong to their
    // tables), types that are not a table's row or an array, and functions. Outside "public", by
    // the full name.
    if (Execute("WITH mine AS (SELECT oid, nspname FROM pg_namespace WHERE nspname NOT IN"
                " ('pg_catalog', 'information_schema', 'pg_toast') AND nspname !~ '^pg_(toast_)?temp_')"
                " SELECT c.relname, m.nspname FROM pg_class c JOIN mine m ON c.relnamespace = m.oid"
                "  WHERE c.relkind IN ('r', 'p', 'v', 'm', 'S', 'f', 'c')"
                " UNION ALL SELECT t.typname, m.nspname FROM pg_type t JOIN mine m ON t.typnamespace = m.oid"
                "  WHERE t.typrelid = 0 AND t.typcategory <> 'A'"
                " UNION ALL SELECT p.proname, m.nspname FROM pg_proc p JOIN mine m ON p.pronamespace = m.oid",
                {}, rows, reason) != EExecuted::Done)
      return false;
    while (rows.Next())
      names.push_back(rows.Text(1).empty() || rows.Text(1) == "public" ? rows.Text(0)
                                                                       : rows.Text(1) + "." + rows.Text(0));
    std::sort(names.begin(), names.end());
    return true;
  }

 private:
  // Each value as text for libpq; a number's text is kept in `texts`.
  static std::vector<const char*> Texts(const std::vector<PoolValue>& values, std::vector<std::string>& texts) {
    std::vector<const char*> pointers(values.size());
    for (std::size_t i = 0; i < values.size(); ++i)
      std::visit(
          [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::string>)
              pointers[i] = v.c_str();
            else if constexpr (std::is_same_v<T, long long>)
              pointers[i] = (texts[i] = std::to_string(v)).c_str();
          },
          values[i]);
    return pointers;
  }

  static void Read(const PGresult* result, CPoolRows& rows) {
    const int columns = PQnfields(result);
    for (int tuple = 0; tuple < PQntuples(result); ++tuple) {
      std::vector<std::optional<std::string>> row(static_cast<std::size_t>(columns));
      for (int column = 0; column < columns; ++column)
        if (!PQgetisnull(result, tuple, column))
          row[static_cast<std::size_t>(column)].emplace(PQgetvalue(result, tuple, column),
                                                        static_cast<std::size_t>(PQgetlength(result, tuple, column)));
      rows.Add(std::move(row));
    }
  }

  bool Run(const char* sql, std::string& reason) {
    CPoolRows rows;
    return Execute(sql, {}, rows, reason) == EExecuted::Done;
  }

  PGconn* m_connection;
};

}  // namespace

std::unique_ptr<IPoolConnection> ConnectPostgresPool(const CPoolAddress& address, int connectTimeoutSeconds,
                                                     std::string& reason) {
  const std::string port = std::to_string(address.port);
  const std::string timeout = std::to_string(connectTimeoutSeconds);
  // No password here: libpq reads PGPASSWORD or ~/.pgpass.
  const char* const keywords[] = {"host", "port", "user", "dbname", "connect_timeout", "client_encoding", nullptr};
  const char* const values[] = {address.host.c_str(),
                                port.c_str(),
                                address.user.c_str(),
                                address.database.c_str(),
                                timeout.c_str(),
                                "UTF8",
                                nullptr};
  PGconn* connection = PQconnectdbParams(keywords, values, 0);
  if (PQstatus(connection) != CONNECTION_OK) {
    reason = connection ? Trimmed(PQerrorMessage(connection)) : "libpq is out of memory";
    PQfinish(connection);
    return nullptr;
  }
  return std::make_unique<CPostgresConnection>(connection);
}

}  // namespace tolvane
