#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tolvane {

// A value bound to one "?" of a statement. Values reach a database only this way, never inside
// the statement's text.
using PoolValue = std::variant<std::nullptr_t, std::string, long long>;

// What a statement returned, read whole: its rows of text columns, and how many rows it changed.
class CPoolRows {
 public:
  // To the next row (the first, on the first call); false after the last.
  bool Next() { return ++m_row < m_rows.size(); }
  // A column of the current row; empty for NULL.
  const std::string& Text(std::size_t column) const;
  bool IsNull(std::size_t column) const { return !m_rows[m_row][column].has_value(); }
  int Changed() const { return m_changed; }

  // For the drivers.
  void Clear() { *this = CPoolRows(); }
  void Add(std::vector<std::optional<std::string>> row) { m_rows.push_back(std::move(row)); }
  void SetChanged(int changed) { m_changed = changed; }

 private:
  std::vector<std::vector<std::optional<std::string>>> m_rows;
  std::size_t m_row = static_cast<std::size_t>(-1);
  int m_changed = 0;
};

// Takes one row of a query as it is read (the rows are positioned on it); false stops the reading.
using PoolRowHandler = std::function<bool(const CPoolRows& row)>;

// One open connection to a pool's database, and what differs between the engines. Everything
// else, the statements included, is the pool's own and the same on each.
class IPoolConnection {
 public:
  enum class EEngine { SQLite, PostgreSQL };
  enum class EExecuted { Done, Refused, Failed };

  virtual ~IPoolConnection() = default;
  virtual EEngine Engine() const = 0;
  // Runs one statement, with `values` bound to its "?" in order. Refused: the database would not
  // take the statement itself (its syntax, a table or column it does not have); Failed: it took it
  // and failed to run it. Either way `reason` holds the database's own words.
  virtual EExecuted Execute(const std::string& sql, const std::vector<PoolValue>& values, CPoolRows& rows,
                            std::string& reason) = 0;
  // Runs one query as Execute does, handing each row to `row` as it arrives rather than reading the
  // result whole, so that the memory it takes does not grow with the rows.
  virtual EExecuted Each(const std::string& sql, const std::vector<PoolValue>& values, const PoolRowHandler& row,
                         std::string& reason) = 0;
  // A transaction that will write: SQLite takes its write lock at once, waiting its turn within the
  // busy timeout, so that two claimers never read the same free IMEI.
  virtual bool BeginWrite(std::string& reason) = 0;
  virtual bool Commit(std::string& reason) = 0;
  virtual void Rollback() = 0;
  // Everything people made in the database, as they would name it: tables of every kind, views,
  // sequences, types and functions; sorted. A database with none of these is empty.
  virtual bool Objects(std::vector<std::string>& names, std::string& reason) = 0;

  // Open, or of no more use: the server closed it (Lost), or it did not answer in time or the wait
  // was given up (Unanswered). Past Open, every statement fails at once with the first reason.
  enum class EState { Open, Lost, Unanswered };
  virtual EState State() const = 0;
  // From any thread, for a user who wants out: a statement waiting for the database gives up now,
  // and every later one fails at once.
  virtual void Abandon() = 0;
};

}  // namespace tolvane
