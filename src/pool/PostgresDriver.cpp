#include "pool/PostgresDriver.h"

#include <libpq-fe.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string_view>
#include <thread>
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

// libpq's words for a lost connection, on one line: its lines but the indented hints below them.
std::string OneLine(const std::string& text) {
  std::string line;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    if (text[start] != '\t' && end > start) line += (line.empty() ? "" : "; ") + text.substr(start, end - start);
    start = end + 1;
  }
  return Trimmed(line.c_str());
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
  CPostgresConnection(PGconn* connection, const CPostgresLimits& limits) : m_connection(connection), m_limits(limits) {}
  ~CPostgresConnection() override { PQfinish(m_connection); }
  CPostgresConnection(const CPostgresConnection&) = delete;
  CPostgresConnection& operator=(const CPostgresConnection&) = delete;

  EEngine Engine() const override { return EEngine::PostgreSQL; }
  EState State() const override { return m_state; }
  void Abandon() override { m_bAbandoned = true; }

  EExecuted Execute(const std::string& sql, const std::vector<PoolValue>& values, CPoolRows& rows,
                    std::string& reason) override {
    return Run(sql, values, rows, reason, nullptr);
  }

  EExecuted Each(const std::string& sql, const std::vector<PoolValue>& values, const PoolRowHandler& row,
                 std::string& reason) override {
    if (m_state != EState::Open) {
      reason = m_strGone;
      return EExecuted::Failed;
    }
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
    // rows past a stop are read and dropped. Each row comes within the answer's limit.
    for (;;) {
      if (!Await(reason)) return EExecuted::Failed;
      const ResultPtr result{PQgetResult(m_connection)};
      if (!result) break;
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
    if (PQstatus(m_connection) == CONNECTION_BAD) {
      reason = Gone(EState::Lost, OneLine(reason.empty() ? Trimmed(PQerrorMessage(m_connection)) : reason));
      return EExecuted::Failed;
    }
    return outcome;
  }

  bool BeginWrite(std::string& reason) override { return Run("BEGIN", reason); }

  bool Commit(std::string& reason) override {
    CPoolRows rows;
    std::string tag;
    if (Run("COMMIT", {}, rows, reason, &tag) != EExecuted::Done) return false;
    // A transaction that had already failed ends in a rollback, with no error.
    if (tag != "COMMIT") {
      reason = "the transaction was rolled back";
      return false;
    }
    return true;
  }

  void Rollback() override {
    std::string ignored;
    if (m_state == EState::Open) Run("ROLLBACK", ignored);
  }

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

  // Sends the statement and waits for its answer within the limit; `tag`, when asked for, gets
  // the command's status ("COMMIT").
  EExecuted Run(const std::string& sql, const std::vector<PoolValue>& values, CPoolRows& rows, std::string& reason,
                std::string* tag) {
    rows.Clear();
    if (m_state != EState::Open) {
      reason = m_strGone;
      return EExecuted::Failed;
    }
    std::vector<std::string> texts(values.size());
    const std::vector<const char*> pointers = Texts(values, texts);
    // Text parameters of no stated type: the server takes each as the column or expression needs.
    // Sent without waiting for the answer, which Await bounds.
    ResultPtr kept;  // the answer, or the first error
    bool failed = false;
    if (PQsendQueryParams(m_connection, Numbered(sql).c_str(), static_cast<int>(values.size()), nullptr,
                          pointers.data(), nullptr, nullptr, 0)) {
      for (;;) {
        if (!Await(reason)) return EExecuted::Failed;
        ResultPtr result(PQgetResult(m_connection));
        if (!result) break;
        // The first error says why; what follows it (libpq's own view of the same loss) adds nothing.
        if (failed) continue;
        const ExecStatusType status = PQresultStatus(result.get());
        failed = status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK;
        kept = std::move(result);
      }
    } else {
      failed = true;
    }
    std::string error = kept && failed ? Trimmed(PQresultErrorMessage(kept.get())) : std::string();
    if (error.empty()) error = Trimmed(PQerrorMessage(m_connection));
    if (PQstatus(m_connection) == CONNECTION_BAD) {
      // The server closed the connection: what it said before it did, else what libpq saw.
      reason = Gone(EState::Lost, OneLine(error));
      return EExecuted::Failed;
    }
    if (kept && !failed) {
      if (PQresultStatus(kept.get()) == PGRES_TUPLES_OK)
        Read(kept.get(), rows);
      else
        rows.SetChanged(std::atoi(PQcmdTuples(kept.get())));
      if (tag) *tag = PQcmdStatus(kept.get());
      return EExecuted::Done;
    }
    reason = error;
    return RefusedBeforeRunning(kept.get()) ? EExecuted::Refused : EExecuted::Failed;
  }

  // Until the answer can be read without waiting. libpq has no wait of its own with a deadline,
  // and the core has no POSIX poll: it looks again after pauses that grow from a few microseconds,
  // so that a quick answer is taken at once.
  bool Await(std::string& reason) {
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + milliseconds(m_limits.answerMs);
    microseconds pause(20);
    for (;;) {
      PQconsumeInput(m_connection);  // a failure shows in the result
      if (!PQisBusy(m_connection)) return true;
      if (m_bAbandoned) {
        reason = Gone(EState::Unanswered, "given up when the run was stopped");
        return false;
      }
      const auto now = steady_clock::now();
      if (now >= deadline) {
        reason = Gone(EState::Unanswered, "nothing within " + std::to_string((m_limits.answerMs + 999) / 1000) + " s");
        return false;
      }
      std::this_thread::sleep_for(std::min<steady_clock::duration>(pause, deadline - now));
      pause = std::min<microseconds>(pause * 2, milliseconds(5));
    }
  }

  // The connection is of no more use; one that waits for an answer goes, since the server may
  // never read it again (the server rolls back what it had not committed when it sees it gone).
  std::string Gone(EState state, std::string reason) {
    m_state = state;
    m_strGone = std::move(reason);
    if (state == EState::Unanswered) {
      PQsetnonblocking(m_connection, 1);  // its goodbye never waits for a path that may be dead
      PQfinish(m_connection);
      m_connection = nullptr;
    }
    return m_strGone;
  }

  PGconn* m_connection;
  CPostgresLimits m_limits;
  EState m_state = EState::Open;
  std::string m_strGone;  // why it is of no more use
  std::atomic<bool> m_bAbandoned = false;
};

}  // namespace

std::unique_ptr<IPoolConnection> ConnectPostgresPool(const CPoolAddress& address, const CPostgresLimits& limits,
                                                     std::string& reason) {
  const std::string port = std::to_string(address.port);
  const std::string timeout = std::to_string(limits.connectSeconds);
  // No password here: libpq reads PGPASSWORD or ~/.pgpass. Keepalives find a dead network path
  // while the connection waits between devices.
  const char* const keywords[] = {"host",
                                  "port",
                                  "user",
                                  "dbname",
                                  "connect_timeout",
                                  "client_encoding",
                                  "keepalives",
                                  "keepalives_idle",
                                  "keepalives_interval",
                                  "keepalives_count",
                                  nullptr};
  const char* const values[] = {address.host.c_str(),
                                port.c_str(),
                                address.user.c_str(),
                                address.database.c_str(),
                                timeout.c_str(),
                                "UTF8",
                                "1",
                                "30",
                                "10",
                                "3",
                                nullptr};
  PGconn* connection = PQconnectdbParams(keywords, values, 0);
  if (PQstatus(connection) != CONNECTION_OK) {
    reason = connection ? Trimmed(PQerrorMessage(connection)) : "libpq is out of memory";
    PQfinish(connection);
    return nullptr;
  }
  auto pool = std::make_unique<CPostgresConnection>(connection, limits);
  // A statement (a lock that is not let go, say) ends with the server's own words, before this
  // side stops waiting. Set here rather than in the startup packet, which poolers may refuse.
  CPoolRows rows;
  if (pool->Execute("SET statement_timeout = " + std::to_string(limits.statementMs), {}, rows, reason) !=
      IPoolConnection::EExecuted::Done)
    return nullptr;
  return pool;
}

}  // namespace tolvane
