#include <signal.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <memory>
#include <vector>

#include "ProvisionFixture.h"

// tolvane-provision, the program, against tolvane-devsim processes that stand for devices plugged
// in one after another.
namespace tolvane::e2e {
namespace {

using Provision = CProvisionFixture;

constexpr char kFullProfile[] =
    "; every key a dealer sets\n"
    "imei = 860000000000001\n"
    "server_ip = 10.0.0.5\n"
    "domain = talk.example.com\n"
    "account = unit7\n"
    "account_password = s3cret\n"
    "dealer_password = 654321\n"
    "apn = cmnet\n"
    "apn_user = me\n"
    "apn_password = pw\n"
    "language = zh_CN\n"
    "network_type = 2G\n"
    "wifi_address = 3c:84:6a:01:22:9f\n"
    "wifi_password = parlo123\n";


TEST_F(Provision, fullProfile_everyStepOkAndTheDeviceReportsTheNewSettings) {
  auto device = PlugIn();
  File("dealer.ini", kFullProfile);
  QString output;
  EXPECT_EQ(Run({"--port", "COM200", "--profile", "dealer.ini", "--report", "report.json"}, output), 0)
      << output.toStdString();
  for (const char* line :
       {"  OK           Write IMEI       IMEI:860000000000001~ -- Write IMEI OK, Restart the device to be effective!",
        "  OK           Set Account/Pw   ACCOUNT:unit7^••••~ -- Update account and password OK",
        "  OK           Join Wi-Fi       WiFi_PW:3c:84:6a:01:22:9f^••••~ -- joined",
        "  Before: IMEI 356938035643809, IP 192.168.10.20, language en_US, network type 3G/2G",
        "  After: IMEI 860000000000001, IP 10.0.0.5, language zh_CN, network type 2G", "  Result: OK"})
    EXPECT_TRUE(output.contains(QString::fromUtf8(line))) << line << "\n" << output.toStdString();
  EXPECT_FALSE(output.contains(QStringLiteral("s3cret")));
  for (const char* command : {"PC says APN:cmnet^me@pw", "PC says WiFi_PW:3c:84:6a:01:22:9f^parlo123",
                              "PC says NETWORK_TYPE:2G", "PC says COM:close"})
    EXPECT_TRUE(Printed(*device, command)) << command;

  const QJsonObject report = Report("report.json");
  EXPECT_EQ(report["exit_status"].toInt(), 0);
  const QJsonObject first = report["devices"].toArray().at(0).toObject();
  EXPECT_TRUE(first["succeeded"].toBool());
  EXPECT_EQ(first["after"].toObject()["imei"].toString(), QStringLiteral("860000000000001"));
  const QJsonArray steps = first["steps"].toArray();
  EXPECT_EQ(steps.size(), 12);
  EXPECT_EQ(steps.last().toObject()["step"].toString(), QStringLiteral("Verify"));
  EXPECT_EQ(steps.last().toObject()["status"].toString(), QStringLiteral("OK"));
}

TEST_F(Provision, devicesThatReportNothingOrOnlyTheirImei_passWithWhatWentUnchecked) {
  File("dealer.ini", "imei = 860000000000001\nserver_ip = 10.0.0.5\nlanguage = zh_CN\n");
  const std::pair<QStringList, const char*> devices[] = {
      {{"--reports", "none"}, "the device did not report its IMEI, IP and language"},
      {{"--reports", "IMEI"}, "the device reports what was written; the device did not report its IP and language"}};
  for (const auto& [arguments, verified] : devices) {
    auto device = PlugIn(arguments);
    QString output;
    EXPECT_EQ(Run({"--port", "COM200", "--profile", "dealer.ini"}, output), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("  OK           Verify           ") + verified)) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("  Result: OK")));
  }
}

TEST_F(Provision, linkExitStatus_1WhenItClosesDuringAStep_6WhenNoDeviceEverAnswered) {
  File("dealer.ini", "server_ip = 10.0.0.5\ndomain = talk.example.com\nlanguage = zh_CN\n");
  QString output;
  {
    auto device = PlugIn({"--ignore", "IP", "--unplug-after", "2"});  // pulled while IP waits for its answer
    EXPECT_EQ(Run({"--port", "COM200", "--profile", "dealer.ini"}, output), 1) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("  FAIL         Update IP        IP:10.0.0.5~ -- the link closed")))
        << output.toStdString();
  }
  auto silent = PlugIn({"--silent"});
  EXPECT_EQ(Run({"--port", "COM200", "--profile", "dealer.ini"}, output), 6) << output.toStdString();
}

TEST_F(Provision, devicesThatGotNoImei_areReportedWithNone) {
  File("dealer.ini", "server_ip = 10.0.0.9\n");
  File("imeis.txt", "860000000000011\n860000000000012\n");
  auto first = PlugIn({"--silent"});
  CDevsimProcess second({"--silent"});
  ASSERT_TRUE(second.Start()) << second.Output().toStdString();
  QString output;
  EXPECT_EQ(Run({"--port", first->Caption().left(6), "--port", second.Caption().left(6), "--profile", "dealer.ini",
                 "--imei-list", "imeis.txt", "--report", "none.json"},
                output),
            6);
  EXPECT_FALSE(output.contains(QStringLiteral("IMEI 86"))) << output.toStdString();
  for (const QJsonValue device : Report("none.json")["devices"].toArray())
    EXPECT_TRUE(device.toObject()["imei"].isNull());
}

TEST_F(Provision, deviceRefusesTheApn_failLineAndStatus1) {
  auto device = PlugIn({"--refuse", "APN"});
  File("dealer.ini", "apn = cmnet\nlanguage = zh_CN\n");
  QString output;
  EXPECT_EQ(Run({"--port", "COM200", "--profile", "dealer.ini"}, output), 1);
  EXPECT_TRUE(output.contains(QStringLiteral("  FAIL         Set APN          APN:cmnet^@••••~ -- Update APN fail")))
      << output.toStdString();
  EXPECT_TRUE(output.contains(QStringLiteral("  OK           Set Language")));
  EXPECT_TRUE(output.contains(QStringLiteral("  Result: NOT OK: 1 FAIL")));
}

TEST_F(Provision, deviceIgnoresTheDomain_noResponseOnceTheWindowsTimerRunsOut) {
  auto device = PlugIn({"--ignore", "HOST"});
  File("dealer.ini", "domain = talk.example.com\nnetwork_type = 3G\n");
  QString output;
  EXPECT_EQ(Run({"--port", "COM200", "--profile", "dealer.ini"}, output), 4);
  EXPECT_TRUE(output.contains(
      QStringLiteral("  NO RESPONSE  Update Domain    HOST:talk.example.com~ -- Parlo apk without response")))
      << output.toStdString();
  // The next step still runs.
  EXPECT_TRUE(Printed(*device, "PC says NETWORK_TYPE:3G"));
}

TEST_F(Provision, factoryResetWithoutYes_isRefusedBeforeAnythingIsSent) {
  auto device = PlugIn();
  File("dealer.ini", "language = zh_CN\nfactory_reset = true\n");
  QString output;
  EXPECT_EQ(Run({"--port", "COM200", "--profile", "dealer.ini"}, output), 2);
  EXPECT_FALSE(device->HasPrinted(QStringLiteral("PC says")));
}

TEST_F(Provision, batch_threeImeisAcrossThreePlugIns) {
  File("dealer.ini", "server_ip = 10.0.0.9\n");
  File("imeis.txt", "860000000000011\n860000000000012\n860000000000013\n");
  auto process = Start(
      {"--port", "COM200", "--profile", "dealer.ini", "--imei-list", "imeis.txt", "--wait", "--report", "batch.json"});
  QString output;
  for (int plugged = 1; plugged <= 3; ++plugged) {
    auto device = PlugIn();
    const QString imei = QStringLiteral("86000000000001%1").arg(plugged);
    ASSERT_TRUE(WaitForOutput(*process, output, [plugged](const QString& text) {
      return text.count(QStringLiteral("Result:")) == plugged;
    })) << output.toStdString();
    // The list decides the IMEI only as it leaves: the header cannot know it yet.
    EXPECT_TRUE(output.contains(QStringLiteral("Device %1: COM200 (ttySIM0)\n").arg(plugged))) << output.toStdString();
    EXPECT_TRUE(Printed(*device, ("PC says IMEI:" + imei.toStdString()).c_str())) << device->Output().toStdString();
    if (plugged < 3) {
      ASSERT_TRUE(WaitForOutput(*process, output, [](const QString& text) {
        return text.contains(QStringLiteral("unplug it and plug in the next one"));
      }));
      Unplug(*device);
      ASSERT_TRUE(WaitForOutput(*process, output, [plugged](const QString& text) {
        return text.count(QStringLiteral("was unplugged")) == plugged;
      })) << output.toStdString();
    }
  }
  EXPECT_EQ(Finish(*process, output), 0) << output.toStdString();
  EXPECT_TRUE(output.contains(QStringLiteral("Every IMEI of the list is used.")));
  EXPECT_EQ(Read("imeis.txt.done").count("\n"), 3);
  EXPECT_EQ(Report("batch.json")["devices"].toArray().size(), 3);
}

TEST_F(Provision, runsStartedTogetherOnOneList_neverWriteOneImeiToTwoDevices) {
  File("dealer.ini", "language = zh_CN\n");
  QByteArray list;
  for (int n = 31; n <= 39; ++n) list += "8600000000000" + QByteArray::number(n) + "\n";
  File("imeis.txt", list);
  std::vector<std::unique_ptr<CDevsimProcess>> devices;
  for (int n = 0; n < 3; ++n) {
    devices.push_back(std::make_unique<CDevsimProcess>());
    ASSERT_TRUE(devices.back()->Start()) << devices.back()->Output().toStdString();
  }
  QMap<QString, QString> deviceOf;  // IMEI -> the device that heard it
  for (int round = 0; round < 3; ++round) {
    std::vector<std::unique_ptr<QProcess>> runs;
    for (const auto& device : devices)
      runs.push_back(Start({"--port", "COM" + QString::number(device->ComNumber()), "--profile", "dealer.ini",
                            "--imei-list", "imeis.txt"}));
    for (auto& run : runs) {
      QString output;
      EXPECT_EQ(Finish(*run, output), 0) << output.toStdString();
    }
  }
  const auto heard = [&] {
    int count = 0;
    for (const auto& device : devices) count += device->Output().count(QStringLiteral("PC says IMEI:"));
    return count;
  };
  EXPECT_TRUE(PumpUntil([&] { return heard() >= 9; })) << heard();
  for (const auto& device : devices) {
    for (const QString& line : device->Output().split('\n')) {
      const qsizetype at = line.indexOf(QStringLiteral("PC says IMEI:"));
      if (at < 0) continue;
      const QString imei = line.mid(at + 13, 15);
      EXPECT_FALSE(deviceOf.contains(imei)) << imei.toStdString() << " reached two devices";
      deviceOf[imei] = device->Caption();
    }
  }
  EXPECT_EQ(deviceOf.size(), 9);
  const QByteArray done = Read("imeis.txt.done");
  EXPECT_EQ(done.count("\n"), 9);
  for (const QString& imei : deviceOf.keys()) EXPECT_EQ(done.count(imei.toUtf8()), 1) << imei.toStdString();
}

TEST_F(Provision, interruptedBatch_closesTheLinkAndResumesWithoutWritingAnImeiTwice) {
  File("dealer.ini", "server_ip = 10.0.0.9\nlanguage = zh_CN\n");
  File("imeis.txt", "860000000000021\n860000000000022\n860000000000023\n");
  const QStringList arguments{"--port", "COM200", "--profile", "dealer.ini", "--imei-list", "imeis.txt", "--wait"};

  auto first = PlugIn();
  auto process = Start(arguments);
  QString output;
  ASSERT_TRUE(WaitForOutput(*process, output, [](const QString& text) {
    return text.contains(QStringLiteral("unplug it and plug in the next one"));
  })) << output.toStdString();
  Unplug(*first);
  ASSERT_TRUE(WaitForOutput(*process, output,
                            [](const QString& text) { return text.contains(QStringLiteral("was unplugged")); }));
  // The second answers slowly, so that Ctrl-C comes while its IMEI is being written.
  auto second = PlugIn({"--delay", "1500"});
  ASSERT_TRUE(Printed(*second, "PC says IMEI:860000000000022"));
  ::kill(static_cast<pid_t>(process->processId()), SIGINT);
  EXPECT_EQ(Finish(*process, output), 130) << output.toStdString();
  EXPECT_TRUE(
      output.contains(QStringLiteral("  Result: stopped by the user after Write IMEI; not run: Update IP, "
                                     "Set Language")))
      << output.toStdString();
  EXPECT_TRUE(Printed(*second, "PC says COM:close"));
  EXPECT_FALSE(second->HasPrinted(QStringLiteral("PC says IP:")));
  Unplug(*second);

  // The same command again: the third device gets the third IMEI, not the interrupted second.
  auto third = PlugIn();
  output.clear();
  EXPECT_EQ(Run(arguments, output), 0) << output.toStdString();
  EXPECT_TRUE(Printed(*third, "PC says IMEI:860000000000023"));
  EXPECT_FALSE(third->HasPrinted(QStringLiteral("PC says IMEI:860000000000022")));
  EXPECT_TRUE(output.contains(QStringLiteral("3 IMEIs, 2 used already")));
  const QByteArray done = Read("imeis.txt.done");
  for (const char* imei : {"860000000000021", "860000000000022", "860000000000023"})
    EXPECT_EQ(done.count(imei), 1) << imei;
}

TEST_F(Provision, dryRun_printsExactlyTheDocumentedCommandsAndSendsNothing) {
  auto device = PlugIn();
  File("dealer.ini",
       "imei = 860000000000001\nserver_ip = 10.0.0.5\naccount = unit7\naccount_password = s3cret\napn = cmnet\n"
       "language = zh_CN\nnetwork_type = 2G\nwifi_address = 3c:84:6a:01:22:9f\nwifi_password = parlo123\n");
  QString output;
  EXPECT_EQ(Run({"--port", "COM200", "--profile", "dealer.ini", "--dry-run"}, output), 0);
  EXPECT_EQ(output.toStdString(),
            "Dry run: nothing is sent to COM200.\n"
            "  Connect          COM:open~\n"
            "  Write IMEI       IMEI:860000000000001~\n"
            "  Update IP        IP:10.0.0.5~\n"
            "  Set Account/Pw   ACCOUNT:unit7^s3cret~\n"
            "  Set APN          APN:cmnet^@~\n"
            "  Set Language     LANGUAGE:zh_CN~\n"
            "  Set Network      NETWORK_TYPE:2G~\n"
            "  Open Wi-Fi       WiFi:open~\n"
            "  Join Wi-Fi       WiFi_PW:3c:84:6a:01:22:9f^parlo123~\n"
            "  Close            COM:close~\n");
  EXPECT_FALSE(device->HasPrinted(QStringLiteral("PC says")));
}

}  // namespace
}  // namespace tolvane::e2e
