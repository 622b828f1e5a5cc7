// tolvane-provision on a production line: several devices at once, several processes, one IMEI
// pool on SQLite and on PostgreSQL (in the cluster that the production_line_postgresql test's
// pg_virtualenv starts).
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <cstdlib>
#include <vector>

#include "ProvisionFixture.h"

namespace tolvane::e2e {
namespace {

// The check digit a device's IMEI ends in.
QString WithCheckDigit(const QString& fourteen) {
  int sum = 0;
  for (int i = 0; i < 14; ++i) {
    int digit = fourteen[i].digitValue() * (i % 2 == 1 ? 2 : 1);
    sum += digit > 9 ? digit - 9 : digit;
  }
  return fourteen + QString::number((10 - sum % 10) % 10);
}

class ProductionLine : public CProvisionFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  bool Postgres() const { return QLatin1String(GetParam()) == QLatin1String("PostgreSQL"); }

  void SetUp() override {
    if (Postgres()) {
      if (!std::getenv("PGHOST")) {
        if (std::getenv("TOLVANE_REQUIRE_POSTGRESQL")) FAIL() << "no PostgreSQL cluster in the environment";
        GTEST_SKIP() << "no PostgreSQL cluster in the environment";
      }
      m_strDatabase = QStringLiteral("line_%1_%2").arg(QCoreApplication::applicationPid()).arg(++s_nDatabases);
      ASSERT_EQ(QProcess::execute(QStringLiteral("createdb"), {m_strDatabase}), 0);
      m_strPool = QStringLiteral("postgresql://%1@%2:%3/%4")
                      .arg(qEnvironmentVariable("PGUSER"), qEnvironmentVariable("PGHOST"),
                           qEnvironmentVariable("PGPORT"), m_strDatabase);
    } else {
      m_strPool = m_dir.filePath(QStringLiteral("pool.db"));
    }
    QString output;
    ASSERT_EQ(Run({"pool", "init", m_strPool}, output), 0) << output.toStdString();
  }
  void TearDown() override {
    if (!m_strDatabase.isEmpty()) QProcess::execute(QStringLiteral("dropdb"), {"--force", m_strDatabase});
  }

  // n IMEIs into the pool; returns them.
  QStringList Import(int count) {
    QStringList imeis;
    for (int n = 0; n < count; ++n) imeis << WithCheckDigit(QStringLiteral("86000000%1").arg(n, 6, 10, QChar('0')));
    File("imeis.txt", (imeis.join('\n') + '\n').toUtf8());
    QString output;
    EXPECT_EQ(Run({"pool", "import", m_strPool, "imeis.txt"}, output), 0) << output.toStdString();
    return imeis;
  }
  std::vector<std::unique_ptr<CDevsimProcess>> Devices(int count, const QStringList& arguments = {}) {
    std::vector<std::unique_ptr<CDevsimProcess>> devices;
    for (int n = 0; n < count; ++n) {
      devices.push_back(std::make_unique<CDevsimProcess>(arguments));
      EXPECT_TRUE(devices.back()->Start()) << devices.back()->Output().toStdString();
    }
    return devices;
  }
  // The IMEIs each device heard, once it has heard `expected` in all.
  QMap<QString, QString> Heard(std::vector<std::unique_ptr<CDevsimProcess>>& devices, int expected) {
    const QRegularExpression written(QStringLiteral("PC says IMEI:(\\d{15})"));
    QMap<QString, QString> deviceOf;
    EXPECT_TRUE(PumpUntil([&] {
      deviceOf.clear();
      int heard = 0;
      for (const auto& device : devices)
        for (auto match = written.globalMatch(device->Output()); match.hasNext(); ++heard) {
          const QString imei = match.next().captured(1);
          EXPECT_FALSE(deviceOf.contains(imei) && deviceOf[imei] != device->Caption()) << imei.toStdString();
          deviceOf[imei] = device->Caption();
        }
      return heard >= expected;
    }));
    return deviceOf;
  }
  QString Pool(const QStringList& arguments, int expectedStatus = 0) {
    QString output;
    EXPECT_EQ(Run(QStringList{"pool"} + arguments, output), expectedStatus) << output.toStdString();
    return output;
  }

  static inline int s_nDatabases = 0;
  QString m_strDatabase;
  QString m_strPool;
};

std::string BackendName(const ::testing::TestParamInfo<const char*>& backend) { return backend.param; }
INSTANTIATE_TEST_SUITE_P(, ProductionLine, ::testing::Values("SQLite", "PostgreSQL"), BackendName);

TEST_P(ProductionLine, processesWithSeveralDevicesEach_neverShareAnImeiAndTheRecordSaysWhereEachWent) {
  Import(8);
  File("line.ini", "server_ip = 10.0.0.9\nlanguage = zh_CN\n");
  auto devices = Devices(4);
  const QStringList stations{"bench \"1\"; east", "bench-2"};
  for (int round = 0; round < 2; ++round) {
    std::vector<std::unique_ptr<QProcess>> runs;
    for (int bench = 0; bench < 2; ++bench)
      runs.push_back(Start({"--port", devices[2 * bench]->Caption().left(6), "--port",
                            devices[2 * bench + 1]->Caption().left(6), "--profile", "line.ini", "--pool", m_strPool,
                            "--station", stations[bench]}));
    for (auto& run : runs) {
      QString output;
      EXPECT_EQ(Finish(*run, output), 0) << output.toStdString();
    }
  }
  const QMap<QString, QString> deviceOf = Heard(devices, 8);
  EXPECT_EQ(deviceOf.size(), 8);
  EXPECT_TRUE(Pool({"status", m_strPool}).startsWith("free 0\nclaimed 0\nwritten 0\nverified 8\nfailed 0\n"));

  Pool({"export", m_strPool, "--csv", "record.csv"});
  const QStringList rows = QString::fromUtf8(Read("record.csv")).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  ASSERT_EQ(rows.size(), 9);
  for (const QString& row : rows.mid(1)) {
    const QString imei = row.left(15);
    EXPECT_TRUE(row.contains(",verified,")) << row.toStdString();
    EXPECT_TRUE(row.contains("," + deviceOf[imei] + ",")) << row.toStdString();
    EXPECT_TRUE(row.contains(",\"bench \"\"1\"\"; east\",") || row.contains(",bench-2,")) << row.toStdString();
  }
}

TEST_P(ProductionLine, aRunKilledBeforeTheDeviceAnswered_leavesItsClaimListedAndNeverHandsItOutAgain) {
  const QStringList imeis = Import(3);
  File("line.ini", "language = zh_CN\n");
  auto silent = Devices(1, {"--ignore", "IMEI"});
  auto run = Start({"--port", silent[0]->Caption().left(6), "--profile", "line.ini", "--pool", m_strPool,
                    "--station", "bench-9"});
  ASSERT_TRUE(PumpUntil([&] { return silent[0]->HasPrinted("PC says IMEI:" + imeis[0]); }));
  run->kill();
  ASSERT_TRUE(run->waitForFinished(30'000));

  const QString status = Pool({"status", m_strPool});
  EXPECT_TRUE(status.startsWith("free 2\nclaimed 1\n")) << status.toStdString();
  EXPECT_TRUE(status.contains(imeis[0] + "  station bench-9  port " + silent[0]->Caption())) << status.toStdString();

  auto next = Devices(1);
  QString output;
  EXPECT_EQ(Run({"--port", next[0]->Caption().left(6), "--profile", "line.ini", "--pool", m_strPool}, output), 0)
      << output.toStdString();
  EXPECT_TRUE(PumpUntil([&] { return next[0]->HasPrinted("PC says IMEI:" + imeis[1]); }))
      << next[0]->Output().toStdString();
  EXPECT_TRUE(Pool({"status", m_strPool}).startsWith("free 1\nclaimed 1\nwritten 0\nverified 1\n"));
  // By hand, once a person has looked at the device.
  Pool({"release", m_strPool, imeis[0]});
  EXPECT_TRUE(Pool({"status", m_strPool}).startsWith("free 2\nclaimed 0\n"));
}

TEST_P(ProductionLine, anEmptyPoolOrABadImport_sayWhyAndNothingIsSent) {
  File("line.ini", "language = zh_CN\n");
  File("bad.txt", (WithCheckDigit("86000000000001") + "\n860000000000011\n").toUtf8());  // wrong check digit
  QString output;
  EXPECT_EQ(Run({"pool", "import", m_strPool, "bad.txt"}, output), 3);
  EXPECT_TRUE(Pool({"status", m_strPool}).startsWith("free 0\n"));
  auto device = Devices(1);
  EXPECT_EQ(Run({"--port", device[0]->Caption().left(6), "--profile", "line.ini", "--pool", m_strPool}, output), 9);
  EXPECT_TRUE(output.contains("The pool has no free IMEI: nothing was sent.")) << output.toStdString();
  EXPECT_FALSE(device[0]->HasPrinted("PC says"));
}

using ProductionLineAddress = CProvisionFixture;

TEST_F(ProductionLineAddress, aMalformedOrUnreachablePool_saysWhyAndNothingIsSent) {
  File("line.ini", "language = zh_CN\n");
  auto device = PlugIn();
  QString output;
  EXPECT_EQ(Run({"--port", "COM200", "--profile", "line.ini", "--pool", "postgresql://line@/imeis"}, output), 2);
  EXPECT_EQ(Run({"--port", "COM200", "--profile", "line.ini", "--pool", "postgresql://line@127.0.0.1:1/imeis"},
                output),
            8);
  EXPECT_EQ(Run({"--port", "COM200", "--profile", "line.ini", "--pool", "missing.db"}, output), 8);
  // A mistyped URL is the same wrong command line through the pool's own commands, and makes no file.
  EXPECT_EQ(Run({"pool", "init", "postgresql:line:s3cret@db"}, output), 2);
  EXPECT_FALSE(output.contains("s3cret")) << output.toStdString();
  EXPECT_TRUE(QDir(m_dir.path()).entryList(QDir::Files).filter("s3cret").isEmpty());
  EXPECT_FALSE(device->HasPrinted("PC says"));
}

TEST_F(ProductionLineAddress, aFileSizeLimit_isAWriteErrorThatSaysSo) {
  QProcess shell;
  shell.setWorkingDirectory(m_dir.path());
  shell.start(QStringLiteral("sh"),
              {"-c", "ulimit -f 0; exec \"$0\" pool init limited.db", QStringLiteral(TOLVANE_PROVISION_PATH)});
  ASSERT_TRUE(shell.waitForFinished(60'000));
  EXPECT_EQ(shell.exitStatus(), QProcess::NormalExit);  // not killed by SIGXFSZ
  EXPECT_EQ(shell.exitCode(), 8);
  EXPECT_FALSE(shell.readAllStandardError().isEmpty());
}

}  // namespace
}  // namespace tolvane::e2e
