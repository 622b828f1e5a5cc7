#include "pool/SqliteDriver.h"

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <type_traits>

namespace tolvane {

namespace {

struct CFinalize {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using StatementPtr = std::unique_ptr<sqlite3_stmt, CFinalize>;

class CSqliteConnection final : public IPoolConnection {
 public:
  CSqliteConnection(sqlite3* database, int busyTimeoutMs) : m_database(database), m_nBusyTimeoutMs(busyTimeoutMs) {
    sqlite3_busy_handler(database, &CSqliteConnection::OnBusy, this);
  }
  ~CSqliteConnection() override { sqlite3_close(m_database); }
  CSqliteConnection(const CSqliteConnection&) = delete;
  CSqliteConnection& operator=(const CSqliteConnection&) = delete;

  EEngine Engine() const override { return EEngine::SQLite; }
  EState State() const override { return m_bAbandoned ? EState::Unanswered : EState::Open; }
  void Abandon() override {
    m_bAbandoned = true;
    sqlite3_interrupt(m_database);  // safe from another thread while the connection is open
  }

  EExecuted Execute(const std::string& sql, const std::vector<PoolValue>& values, CPoolRows& rows,
                    std::string& reason) override {
    rows.Clear();
    StatementPtr statement;
    if (const EExecuted prepared = Prepare(sql, values, statement, reason); prepared != EExecuted::Done || !statement)
      return prepared;
    const int columns = sqlite3_column_count(statement.get());
    int step;
    while ((step = sqlite3_step(statement.get())) == SQLITE_ROW) rows.Add(ReadRow(statement.get(), columns));
    if (step != SQLITE_DONE) return StepFailed(step, reason);
    // sqlite3_changes() keeps the count of the last statement that wrote.
    rows.SetChanged(sqlite3_stmt_readonly(statement.get()) ? 0 : sqlite3_changes(m_database));
    return EExecuted::Done;
  }

  EExecuted Each(const std::string& sql, const std::vector<PoolValue>& values, const PoolRowHandler& row,
                 std::string& reason) override {
    StatementPtr statement;
    if (const EExecuted prepared = Prepare(sql, values, statement, reason); prepared != EExecuted::Done || !statement)
      return prepared;
    const int columns = sqlite3_column_count(statement.get());
    CPoolRows one;
    int step;
    while ((step = sqlite3_step(statement.get())) == SQLITE_ROW) {
      one.Clear();
      one.Add(ReadRow(statement.get(), columns));
      one.Next();
      if (!row(one)) return EExecuted::Done;
    }
    return step == SQLITE_DONE ? EExecuted::Done : StepFailed(step, reason);
  }

  bool BeginWrite(std::string& reason) override { return Run("BEGIN IMMEDIATE", reason); }
  bool Commit(std::string& reason) override { return Run("COMMIT", reason); }
  // Even after Abandon: the write lock is let go at once rather than when the program ends.
  void Rollback() override {
    if (!sqlite3_get_autocommit(m_database)) sqlite3_exec(m_database, "ROLLBACK", nullptr, nullptr, nullptr);
  }

  bool Objects(std::vector<std::string>& names, std::string& reason) override {
    names.clear();
    CPoolRows rows;
    // Indexes belong to their tables; SQLite's own tables come only with someone else's.
    if (Execute("SELECT name FROM sqlite_master WHERE type IN ('table', 'view', 'trigger')"
                " AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'",
                {}, rows, reason) != EExecuted::Done)
      return false;
    while (rows.Next()) names.push_back(rows.Text(0));
    std::sort(names.begin(), names.end());
    return true;
  }

 private:
  // The statement with its values bound; none for a text of nothing but white space.
  EExecuted Prepare(const std::string& sql, const std::vector<PoolValue>& values, StatementPtr& statement,
                    std::string& reason) {
    if (m_bAbandoned) {
      reason = kAbandoned;
      return EExecuted::Failed;
    }
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v2(m_database, sql.c_str(), static_cast<int>(sql.size()), &prepared, nullptr) != SQLITE_OK) {
      reason = sqlite3_errmsg(m_database);
      return EExecuted::Refused;
    }
    statement.reset(prepared);
    if (!statement) return EExecuted::Done;
    if (sqlite3_bind_parameter_count(prepared) != static_cast<int>(values.size())) {
      reason = "the statement takes " + std::to_string(sqlite3_bind_parameter_count(prepared)) + " values, not " +
               std::to_string(values.size());
      return EExecuted::Refused;
    }
    for (std::size_t i = 0; i < values.size(); ++i)
      if (Bind(prepared, static_cast<int>(i + 1), values[i]) != SQLITE_OK) {
        reason = sqlite3_errmsg(m_database);
        return EExecuted::Failed;
      }
    return EExecuted::Done;
  }

  // Why a step did not reach the end: a stop, a lock held past the busy timeout, or SQLite's words.
  EExecuted StepFailed(int step, std::string& reason) const {
    reason = m_bAbandoned ? kAbandoned : sqlite3_errmsg(m_database);
    if (step == SQLITE_BUSY && !m_bAbandoned)
      reason += " (waited " + std::to_string((m_nBusyTimeoutMs + 999) / 1000) + " s)";
    return EExecuted::Failed;
  }

  static std::vector<std::optional<std::string>> ReadRow(sqlite3_stmt* statement, int columns) {
    std::vector<std::optional<std::string>> row(static_cast<std::size_t>(columns));
    for (int column = 0; column < columns; ++column)
      if (sqlite3_column_type(statement, column) != SQLITE_NULL) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        row[static_cast<std::size_t>(column)].emplace(
            text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
      }
    return row;
  }

  static int Bind(sqlite3_stmt* statement, int index, const PoolValue& value) {
    return std::visit(
        [&](const auto& v) {
          using T = std::decay_t<decltype(v)>;
          if constexpr (std::is_same_v<T, std::nullptr_t>)
            return sqlite3_bind_null(statement, index);
          else if constexpr (std::is_same_v<T, long long>)
            return sqlite3_bind_int64(statement, index, v);
          else  // the values outlive the statement
            return sqlite3_bind_text(statement, index, v.data(), static_cast<int>(v.size()), SQLITE_STATIC);
        },
        value);
  }

  bool Run(const std::string& sql, std::string& reason) {
    CPoolRows rows;
    return Execute(sql, {}, rows, reason) == EExecuted::Done;
  }

  // SQLite's own busy timeout, but one that a user's stop ends at once.
  static int OnBusy(void* self, int attempt) {
    auto& connection = *static_cast<CSqliteConnection*>(self);
    const auto now = std::chrono::steady_clock::now();
    if (attempt == 0) connection.m_busySince = now;
    if (connection.m_bAbandoned ||
        now - connection.m_busySince >= std::chrono::milliseconds(connection.m_nBusyTimeoutMs))
      return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(attempt < 10 ? 1 : 5));
    return 1;
  }

  static constexpr const char* kAbandoned = "given up when the run was stopped";
  sqlite3* m_database;
  int m_nBusyTimeoutMs;
  std::chrono::steady_clock::time_point m_busySince;
  std::atomic<bool> m_bAbandoned = false;
};

}  // namespace

std::unique_ptr<IPoolConnection> OpenSqlitePool(const std::string& path, bool create, int busyTimeoutMs,
                                                std::string& reason) {
  sqlite3* database = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
  if (const int opened = sqlite3_open_v2(path.c_str(), &database, flags, nullptr); opened != SQLITE_OK) {
    reason = database ? sqlite3_errmsg(database) : sqlite3_errstr(opened);
    sqlite3_close(database);
    return nullptr;
  }
  return std::make_unique<CSqliteConnection>(database, busyTimeoutMs);
}

}  // namespace tolvane
