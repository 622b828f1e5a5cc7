// tolvane-provision when its PostgreSQL pool stops answering or ends the connection mid-run (in the
// cluster that the production_line_postgresql test's pg_virtualenv starts).
#include <signal.h>

#include <QProcess>
#include <cstdlib>

#include "ProvisionFixture.h"

namespace tolvane::e2e {
namespace {

class ProductionLineFaults : public CProvisionFixture {
 protected:
  void SetUp() override {
    if (!std::getenv("PGHOST")) {
      if (std::getenv("TOLVANE_REQUIRE_POSTGRESQL")) FAIL() << "no PostgreSQL cluster in the environment";
      GTEST_SKIP() << "no PostgreSQL cluster in the environment";
    }
    m_strDatabase = QStringLiteral("faults_%1_%2").arg(QCoreApplication::applicationPid()).arg(++s_nDatabases);
    ASSERT_EQ(QProcess::execute(QStringLiteral("createdb"), {m_strDatabase}), 0);
    m_strPool = QStringLiteral("postgresql://%1@%2:%3/%4")
                    .arg(qEnvironmentVariable("PGUSER"), qEnvironmentVariable("PGHOST"), qEnvironmentVariable("PGPORT"),
                         m_strDatabase);
    File("imeis.txt", "860000000000017\n860000000000025\n860000000000033\n860000000000041\n");
    File("line.ini", "language = zh_CN\nnetwork_type = 2G\n");
    QString output;
    ASSERT_EQ(Run({"pool", "init", m_strPool}, output), 0) << output.toStdString();
    ASSERT_EQ(Run({"pool", "import", m_strPool, "imeis.txt"}, output), 0) << output.toStdString();
  }
  void TearDown() override {
    // A stopped backend must go on, or nothing could drop its database.
    if (m_nStoppedBackend > 0) ::kill(m_nStoppedBackend, SIGCONT);
    if (!m_strDatabase.isEmpty()) QProcess::execute(QStringLiteral("dropdb"), {"--force", m_strDatabase});
  }

  // One statement in the test's database, past the program; its output.
  QString Sql(const QString& statement) {
    QProcess psql;
    psql.start(QStringLiteral("psql"), {"-XAtq", "-d", m_strDatabase, "-c", statement});
    EXPECT_TRUE(psql.waitForFinished(60'000));
    return QString::fromUtf8(psql.readAllStandardOutput()).trimmed();
  }
  // The devices, each waiting on its IMEI's answer, once each has heard its IMEI.
  std::vector<std::unique_ptr<CDevsimProcess>> DevicesThatHeardTheirImei(QStringList& arguments, int count) {
    std::vector<std::unique_ptr<CDevsimProcess>> devices;
    for (int n = 0; n < count; ++n) {
      // Every answer late: what the program does with the pool happens while the device waits.
      devices.push_back(std::make_unique<CDevsimProcess>(QStringList{"--delay", "1500"}));
      EXPECT_TRUE(devices.back()->Start()) << devices.back()->Output().toStdString();
      arguments << "--port" << devices.back()->Caption().left(6);
    }
    m_run = Start(arguments);
    for (auto& device : devices) EXPECT_TRUE(Printed(*device, "PC says IMEI:")) << device->Output().toStdString();
    return devices;
  }

  // The program's one connection, from the test's own.
  static constexpr char kProgramsBackend[] =
      " FROM pg_stat_activity WHERE datname = current_database() AND pid <> pg_backend_pid()";
  static inline int s_nDatabases = 0;
  QString m_strDatabase;
  QString m_strPool;
  std::unique_ptr<QProcess> m_run;
  qint64 m_nStoppedBackend = 0;
};

TEST_F(ProductionLineFaults, aStoppedDatabase_theSecondCtrlCEndsTheWaitAndTheClaimStaysClaimed) {
  QStringList arguments{"--profile", "line.ini", "--pool", m_strPool};
  auto devices = DevicesThatHeardTheirImei(arguments, 1);
  m_nStoppedBackend = Sql(QStringLiteral("SELECT pid") + kProgramsBackend).toLongLong();
  ASSERT_GT(m_nStoppedBackend, 0);
  ASSERT_EQ(::kill(m_nStoppedBackend, SIGSTOP), 0);
  // The device's answer comes, and the program records it in the pool, which does not answer.
  QString output;
  ASSERT_TRUE(WaitForOutput(*m_run, output, [](const QString& text) { return text.contains("Write IMEI"); }))
      << output.toStdString();
  // Ctrl-C, and again: two signals sent at once may arrive as one.
  const QDeadlineTimer bound(60'000);
  while (!bound.hasExpired() && m_run->state() != QProcess::NotRunning) {
    ::kill(static_cast<pid_t>(m_run->processId()), SIGINT);
    m_run->waitForFinished(300);
  }
  output += QString::fromUtf8(m_run->readAllStandardOutput());
  ASSERT_EQ(m_run->state(), QProcess::NotRunning) << output.toStdString();
  EXPECT_EQ(m_run->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(m_run->exitCode(), 130) << output.toStdString();
  const QString fault = "the pool did not answer (" + m_strPool + "): given up when the run was stopped";
  EXPECT_TRUE(output.contains("  Result: written to the device; the pool could not record it: " + fault))
      << output.toStdString();
  EXPECT_TRUE(output.contains("tolvane-provision: " + fault)) << output.toStdString();

  ::kill(m_nStoppedBackend, SIGCONT);
  m_nStoppedBackend = 0;
  output.clear();
  EXPECT_EQ(Run({"pool", "status", m_strPool}, output), 0);
  EXPECT_TRUE(output.startsWith("free 3\nclaimed 1\n")) << output.toStdString();
}

TEST_F(ProductionLineFaults, aConnectionTheServerEnds_saysWhyAndNoDeviceTheRecordHoldsAsClaimedIsOk) {
  QStringList arguments{"--profile", "line.ini", "--pool", m_strPool, "--report", "run.json"};
  auto devices = DevicesThatHeardTheirImei(arguments, 2);
  ASSERT_EQ(Sql(QStringLiteral("SELECT count(pg_terminate_backend(pid, 10000))") + kProgramsBackend), "1");
  QString output;
  EXPECT_EQ(Finish(*m_run, output), 8) << output.toStdString();

  const QString why = "the connection to the pool was lost (" + m_strPool + "): FATAL:  terminating connection";
  const QStringList lines = output.split('\n', Qt::SkipEmptyParts);
  ASSERT_FALSE(lines.isEmpty());
  EXPECT_TRUE(lines.last().startsWith("tolvane-provision: " + why)) << output.toStdString();
  for (const auto& device : devices) {
    const QStringList said = lines.filter(device->Caption() + "  IMEI ");
    ASSERT_EQ(said.size(), 1) << output.toStdString();
    EXPECT_TRUE(said[0].contains("  written to the device; the pool could not record it: " + why))
        << said[0].toStdString();
  }
  const QJsonObject report = Report("run.json");
  EXPECT_TRUE(report["pool_fault"].toString().startsWith(why)) << report["pool_fault"].toString().toStdString();
  EXPECT_EQ(report["exit_status"].toInt(), 8);

  output.clear();
  EXPECT_EQ(Run({"pool", "status", m_strPool}, output), 0);
  EXPECT_TRUE(output.startsWith("free 2\nclaimed 2\n")) << output.toStdString();
}

}  // namespace
}  // namespace tolvane::e2e
