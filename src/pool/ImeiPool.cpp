// What the pool's commands and a provisioning run do with the IMEIs.
#include <QRandomGenerator>

#include "pool/PoolConnection.h"

namespace tolvane {

namespace {

constexpr const char* kStateNames[] = {"free", "claimed", "written", "verified", "failed"};

QString Text(const std::string& text) { return QString::fromStdString(text); }
std::string Text(const QVariant& value) { return value.isNull() ? std::string() : value.toString().toStdString(); }

QString NewToken() {
  const quint64 high = QRandomGenerator::system()->generate64();
  const quint64 low = QRandomGenerator::system()->generate64();
  return QStringLiteral("%1%2").arg(high, 16, 16, QLatin1Char('0')).arg(low, 16, 16, QLatin1Char('0'));
}

}  // namespace

const char* StateName(EImeiState state) { return kStateNames[static_cast<int>(state)]; }

bool CImeiPool::Import(const std::vector<std::string>& imeis, int& added, int& skipped, std::string& errorText) {
  added = skipped = 0;
  if (!m_connection->BeginWrite(errorText)) return false;
  QSqlQuery insert(m_connection->Database());
  const QString at = PoolTimestamp();
  for (const std::string& imei : imeis) {
    if (!m_connection->Run(insert,
                           QStringLiteral("INSERT INTO tolvane_imei (imei, state, imported_at) VALUES (?, 'free', ?) "
                                          "ON CONFLICT (imei) DO NOTHING"),
                           {Text(imei), at}, errorText))
      return m_connection->Abandon();
    (insert.numRowsAffected() > 0 ? added : skipped)++;
  }
  return m_connection->Commit(errorText);
}

bool CImeiPool::Counts(std::map<EImeiState, int>& counts, std::string& errorText) {
  counts.clear();
  for (int state = 0; state < 5; ++state) counts[static_cast<EImeiState>(state)] = 0;
  QSqlQuery query(m_connection->Database());
  if (!m_connection->Run(query, QStringLiteral("SELECT state, COUNT(*) FROM tolvane_imei GROUP BY state"), {},
                         errorText))
    return false;
  while (query.next())
    for (int state = 0; state < 5; ++state)
      if (query.value(0).toString() == QLatin1String(kStateNames[state]))
        counts[static_cast<EImeiState>(state)] = query.value(1).toInt();
  return true;
}

bool CImeiPool::Records(std::vector<CPoolRecord>& records, bool unconfirmedOnly, std::string& errorText) {
  records.clear();
  QSqlQuery query(m_connection->Database());
  const QString sql = QStringLiteral(
                          "SELECT imei, state, station, port, usb_serial, imei_before, imei_after, settings_after, steps,"
                          " detail, imported_at, claimed_at, reported_at FROM tolvane_imei") +
                      (unconfirmedOnly ? QStringLiteral(" WHERE state = 'claimed'") : QString()) +
                      QStringLiteral(" ORDER BY imei");
  if (!m_connection->Run(query, sql, {}, errorText)) return false;
  while (query.next()) {
    CPoolRecord record;
    std::string* fields[] = {&record.imei,       &record.state,     &record.station,      &record.port,
                             &record.usbSerial,  &record.imeiBefore, &record.imeiAfter,   &record.settingsAfter,
                             &record.steps,      &record.detail,    &record.importedAt,   &record.claimedAt,
                             &record.reportedAt};
    for (int column = 0; column < 13; ++column) *fields[column] = Text(query.value(column));
    records.push_back(std::move(record));
  }
  return true;
}

bool CImeiPool::NextFree(std::string& imei, std::string& errorText) {
  QSqlQuery query(m_connection->Database());
  if (!m_connection->Run(query, QStringLiteral("SELECT imei FROM tolvane_imei WHERE state = 'free' ORDER BY imei LIMIT 1"),
                         {}, errorText))
    return false;
  imei = query.next() ? query.value(0).toString().toStdString() : std::string();
  return true;
}

CImeiPool::EClaimResult CImeiPool::Claim(const CClaimRequest& request, CClaim& claim, std::string& errorText) {
  if (!m_connection->BeginWrite(errorText)) return EClaimResult::Failed;
  // SKIP LOCKED: another PC's claim in flight is passed over, not waited for. SQLite's write lock,
  // taken by BeginWrite, already keeps every other claimer out.
  const QString pick =
      QStringLiteral("SELECT imei FROM tolvane_imei WHERE state = 'free' ORDER BY imei LIMIT 1") +
      (m_connection->IsPostgres() ? QStringLiteral(" FOR UPDATE SKIP LOCKED") : QString());
  QSqlQuery query(m_connection->Database());
  if (!m_connection->Run(query, pick, {}, errorText)) {
    m_connection->Abandon();
    return EClaimResult::Failed;
  }
  if (!query.next()) {
    m_connection->Rollback();
    return EClaimResult::Empty;
  }
  const QString imei = query.value(0).toString();
  const QString token = NewToken();
  const QString at = PoolTimestamp();
  // What an earlier, released claim left is cleared; the events keep it.
  if (!m_connection->Run(QStringLiteral("UPDATE tolvane_imei SET state = 'claimed', claim_token = ?, station = ?,"
                                        " port = ?, usb_serial = ?, imei_before = ?, claimed_at = ?,"
                                        " imei_after = NULL, settings_after = NULL, steps = NULL, detail = NULL,"
                                        " reported_at = NULL WHERE imei = ?"),
                         {token, Text(request.station), Text(request.port), Text(request.usbSerial),
                          Text(request.imeiBefore), at, imei},
                         errorText) ||
      !m_connection->Run(QStringLiteral("INSERT INTO tolvane_imei_event (imei, at, event, station, port, detail)"
                                        " VALUES (?, ?, 'claimed', ?, ?, ?)"),
                         {imei, at, Text(request.station), Text(request.port), Text(request.usbSerial)}, errorText)) {
    m_connection->Abandon();
    return EClaimResult::Failed;
  }
  if (!m_connection->Commit(errorText)) return EClaimResult::Failed;
  claim.imei = imei.toStdString();
  claim.token = token.toStdString();
  return EClaimResult::Taken;
}

bool CImeiPool::Report(const CClaim& claim, const CClaimReport& report, std::string& errorText) {
  if (!m_connection->BeginWrite(errorText)) return false;
  const QString at = PoolTimestamp();
  QSqlQuery update(m_connection->Database());
  if (!m_connection->Run(update,
                         QStringLiteral("UPDATE tolvane_imei SET state = ?, imei_after = ?, settings_after = ?,"
                                        " steps = ?, detail = ?, reported_at = ? WHERE imei = ? AND claim_token = ?"),
                         {QString::fromLatin1(StateName(report.state)), Text(report.imeiAfter),
                          Text(report.settingsAfter), Text(report.steps), Text(report.detail), at, Text(claim.imei),
                          Text(claim.token)},
                         errorText))
    return m_connection->Abandon();
  if (update.numRowsAffected() != 1) {
    m_connection->Rollback();
    errorText = claim.imei + " is no longer this run's claim (it was released by hand); the pool keeps what it has";
    return false;
  }
  if (!m_connection->Run(QStringLiteral("INSERT INTO tolvane_imei_event (imei, at, event, detail) VALUES (?, ?, ?, ?)"),
                         {Text(claim.imei), at, QString::fromLatin1(StateName(report.state)), Text(report.detail)},
                         errorText))
    return m_connection->Abandon();
  return m_connection->Commit(errorText);
}

CImeiPool::EReleaseResult CImeiPool::Release(const std::string& imei, const std::string& station,
                                             std::string& errorText) {
  if (!m_connection->BeginWrite(errorText)) return EReleaseResult::Failed;
  QSqlQuery state(m_connection->Database());
  if (!m_connection->Run(state, QStringLiteral("SELECT state FROM tolvane_imei WHERE imei = ?"), {Text(imei)},
                         errorText)) {
    m_connection->Rollback();
    return EReleaseResult::Failed;
  }
  const std::string now = state.next() ? Text(state.value(0)) : std::string();
  if (now != "claimed" && now != "failed") {
    m_connection->Rollback();
    errorText = now.empty() ? imei + " is not in the pool"
                            : imei + " is " + now + (now == "free" ? ": nothing to release" : ": it is in a device, so it stays");
    return EReleaseResult::Refused;
  }
  if (!m_connection->Run(QStringLiteral("UPDATE tolvane_imei SET state = 'free', claim_token = NULL WHERE imei = ?"),
                         {Text(imei)}, errorText) ||
      !m_connection->Run(QStringLiteral("INSERT INTO tolvane_imei_event (imei, at, event, station, detail)"
                                        " VALUES (?, ?, 'released', ?, ?)"),
                         {Text(imei), PoolTimestamp(), Text(station), Text("was " + now)}, errorText)) {
    m_connection->Rollback();
    return EReleaseResult::Failed;
  }
  return m_connection->Commit(errorText) ? EReleaseResult::Released : EReleaseResult::Failed;
}

}  // namespace tolvane
