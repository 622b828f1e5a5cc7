// The bench window as an operator meets it: the real program's pieces (command line, platform,
// session, Qt window) against tolvane-devsim units on pseudo-terminals, read through Qt's
// accessibility interfaces.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QThread>
#include <memory>

#include "DevsimProcess.h"
#include "LinkE2eFixture.h"
#include "bench/BenchCommandLine.h"
#include "bench/BenchSession.h"
#include "cli/LinuxProvisionPlatform.h"
#include "engine/ProvisionStart.h"
#include "pool/BenchPoolOverImeiPool.h"
#include "pool/ImeiPoolSource.h"
#include "pool/PoolCommand.h"
#include "qtbench/QtBenchTile.h"
#include "qtbench/QtBenchWindow.h"

namespace tolvane::e2e {
namespace {

constexpr char kImeis[] = "860000000000017\n860000000000025\n860000000000033\n860000000000041\n860000000000058\n";

bool PumpUntil(const std::function<bool()>& done, int milliseconds = 60'000) {
  const QDeadlineTimer deadline(milliseconds);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(2);
  }
  return true;
}

class BenchWindowE2e : public ::testing::Test {
 protected:
  QString File(const QString& name, const QByteArray& text) {
    const QString path = m_dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
  }
  std::unique_ptr<CDevsimProcess> PlugIn(const QStringList& arguments = {}) {
    auto device = std::make_unique<CDevsimProcess>(arguments);
    EXPECT_TRUE(device->Start()) << device->Output().toStdString();
    return device;
  }
  // A pool of kImeis; its address.
  std::string MakePool() {
    const std::string pool = m_dir.filePath("pool.db").toStdString();
    File("imeis.txt", kImeis);
    EXPECT_EQ(RunPoolCommand({"init", pool}, "bench-1", m_platform.Files()), 0);
    EXPECT_EQ(
        RunPoolCommand({"import", pool, m_dir.filePath("imeis.txt").toStdString()}, "bench-1", m_platform.Files()), 0);
    return pool;
  }
  // As tolvane-bench starts, with these arguments after the program's name; kImeis unless they
  // name a pool or a list.
  bool Open(std::vector<std::string> arguments) {
    if (std::find(arguments.begin(), arguments.end(), "--pool") == arguments.end() &&
        std::find(arguments.begin(), arguments.end(), "--imei-list") == arguments.end())
      arguments.insert(arguments.begin(), {"--imei-list", File("imeis.txt", kImeis).toStdString()});
    arguments.insert(arguments.begin(), {"--profile", File("bench.ini", m_profile).toStdString()});
    const CBenchCommandLine line = ParseBenchCommandLine(arguments, "bench-1", "tolvane-bench");
    EXPECT_EQ(line.action, CProvisionCommandLine::EAction::Run) << line.text;
    std::string error;
    int status = 0;
    std::optional<CProvisionStart> run =
        PrepareProvision(line.options, m_platform.Files(), OpenImeiPoolSource, error, status);
    EXPECT_TRUE(run) << error;
    if (!run) return false;
    CBenchStart start;
    start.options = line.options;
    start.run = std::move(*run);
    start.profileName = "bench.ini";
    start.labels = line.labels;
    if (!line.options.poolAddress.empty()) start.pool = OpenBenchPool(line.options.poolAddress, "bench-1", error);
    m_window = std::make_unique<CQtBenchWindow>(static_cast<int>(line.options.comNumbers.size()), line.labels,
                                                start.pool != nullptr);
    m_window->onClosed = [this](int exitStatus) { m_nExitStatus = exitStatus; };
    m_session = std::make_unique<CBenchSession>(
        m_platform, std::move(start), *m_window,
        [window = m_window.get()](std::function<void()> task) { window->Post(std::move(task)); });
    m_window->Attach(*m_session);
    m_window->show();
    return true;
  }
  // A tile's group name and status, as the accessibility interfaces give them.
  std::pair<std::string, std::string> Tile(int slot) {
    const auto tiles = m_window->findChildren<CQtBenchTile*>();
    QAccessibleInterface* tile = QAccessible::queryAccessibleInterface(tiles.at(slot));
    std::string status;
    for (int i = 0; i < tile->childCount() && status.empty(); ++i)
      if (tile->child(i)->role() == QAccessible::StaticText)
        status = tile->child(i)->text(QAccessible::Name).toStdString();
    return {tile->text(QAccessible::Name).toStdString(), status};
  }
  std::string Status(int slot) { return Tile(slot).second; }
  bool StatusStartsWith(int slot, const std::string& start) { return Status(slot).rfind(start, 0) == 0; }
  std::vector<std::string> Counters() {
    std::vector<std::string> texts;
    for (QLabel* label : m_window->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
      if (label->isVisible()) texts.push_back(label->text().toStdString());
    return texts;
  }
  // The IMEI a verdict names.
  static std::string ImeiIn(const std::string& status) {
    const std::size_t at = status.find("IMEI 86");
    return at == std::string::npos ? std::string() : status.substr(at + 5, 15);
  }
  void CloseWindow() {
    m_window->close();
    ASSERT_TRUE(PumpUntil([&] { return !m_window->isVisible(); }));
    m_session.reset();
  }

  CScopedRegistry m_registry;
  QTemporaryDir m_dir;
  QByteArray m_profile = "domain = mirl.example.com\naccount = bench\naccount_password = s3cret\n";
  CLinuxProvisionPlatform m_platform;
  std::unique_ptr<CQtBenchWindow> m_window;
  std::unique_ptr<CBenchSession> m_session;
  int m_nExitStatus = -1;
};

TEST_F(BenchWindowE2e, aBenchOfFour_eachTileShowsItsOwnUnitsVerdictAndImei_andANewUnitInASlotGetsItsOwn) {
  std::vector<std::unique_ptr<CDevsimProcess>> units;
  units.push_back(PlugIn());
  units.push_back(PlugIn({"--refuse", "HOST"}));
  units.push_back(PlugIn({"--ignore", "ACCOUNT"}));
  units.push_back(PlugIn({"--unplug-after", "2"}));
  ASSERT_TRUE(Open({"--port", "COM200", "--port", "COM201", "--port", "COM202", "--port", "COM203"}));
  ASSERT_TRUE(PumpUntil([&] { return Tile(1).first == "COM201 (ttySIM1)"; })) << Tile(1).first;

  ASSERT_TRUE(PumpUntil([&] {
    return StatusStartsWith(0, "PASS") && StatusStartsWith(1, "FAIL") && StatusStartsWith(2, "NO RESPONSE") &&
           StatusStartsWith(3, "FAIL");
  })) << Status(0)
      << "\n"
      << Status(1) << "\n"
      << Status(2) << "\n"
      << Status(3);
  EXPECT_NE(Status(1).find("Update Domain"), std::string::npos) << Status(1);
  EXPECT_NE(Status(2).find("Set Account/Pw"), std::string::npos) << Status(2);
  // Each tile names the IMEI its own unit heard.
  for (int slot = 0; slot < 4; ++slot) {
    const std::string imei = ImeiIn(Status(slot));
    ASSERT_FALSE(imei.empty()) << Status(slot);
    EXPECT_TRUE(units[static_cast<std::size_t>(slot)]->HasPrinted(QString::fromStdString("PC says IMEI:" + imei)))
        << slot << ": " << Status(slot);
  }
  const std::vector<std::string> counters = Counters();
  ASSERT_GE(counters.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(counters.begin(), counters.begin() + 2),
            (std::vector<std::string>{"Passed: 1", "Failed: 3"}));

  // The first unit goes; its verdict stays until the next one is in its slot.
  const std::string firstImei = ImeiIn(Status(0));
  units[0]->Terminate();
  ASSERT_TRUE(units[0]->WaitForExit(30'000));
  QThread::msleep(1500);
  QCoreApplication::processEvents();
  EXPECT_TRUE(StatusStartsWith(0, "PASS")) << Status(0);
  units[0] = PlugIn();
  ASSERT_EQ(units[0]->ComNumber(), 200);
  ASSERT_TRUE(PumpUntil([&] { return StatusStartsWith(0, "PASS") && ImeiIn(Status(0)) != firstImei; })) << Status(0);
  EXPECT_TRUE(units[0]->HasPrinted(QString::fromStdString("PC says IMEI:" + ImeiIn(Status(0)))));
  EXPECT_EQ(Counters().front(), "Passed: 2");
  CloseWindow();
  EXPECT_EQ(m_nExitStatus, kExitInterrupted);
}

TEST_F(BenchWindowE2e, closingMidRun_letsTheStepFinishAndClosesTheLinkBeforeTheWindowGoes) {
  auto unit = PlugIn({"--delay", "1500"});
  ASSERT_TRUE(Open({"--port", "COM200"}));
  ASSERT_TRUE(PumpUntil([&] { return StatusStartsWith(0, "Step 2"); })) << Status(0);
  m_window->close();
  QCoreApplication::processEvents();
  // Still there while the step under way finishes.
  EXPECT_TRUE(m_window->isVisible());
  ASSERT_TRUE(PumpUntil([&] { return !m_window->isVisible(); }));
  EXPECT_TRUE(PumpUntil([&] { return unit->HasPrinted("PC says COM:close"); })) << unit->Output().toStdString();
  m_session.reset();
}

TEST_F(BenchWindowE2e, aBenchThatRunsOutOfImeis_staysWithItsVerdictsAndSaysWhy_untilItIsClosed) {
  auto unit = PlugIn();
  ASSERT_TRUE(Open({"--imei-list", File("one.txt", "860000000000017\n").toStdString(), "--port", "COM200"}));
  const QString stopped = QStringLiteral("The bench has stopped: no IMEI is left. Close the window.");
  ASSERT_TRUE(PumpUntil([&] {
    for (QLabel* label : m_window->findChildren<QLabel*>())
      if (label->isVisible() && label->text() == stopped) return true;
    return false;
  })) << Status(0);
  EXPECT_TRUE(m_window->isVisible());
  EXPECT_TRUE(StatusStartsWith(0, "PASS")) << Status(0);
  CloseWindow();
}

TEST_F(BenchWindowE2e, aUnitWaitsForItsLabel_whichGoesIntoThePoolsRecord_andALabelUsedTwiceIsRefusedWithNothingSent) {
  const std::string pool = MakePool();
  auto unit = PlugIn();
  ASSERT_TRUE(Open({"--pool", pool, "--label", "--port", "COM200"}));
  ASSERT_TRUE(PumpUntil([&] { return StatusStartsWith(0, "Waiting for a unit: enter its label"); })) << Status(0);
  auto* field = m_window->findChild<QLineEdit*>();
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(QAccessible::queryAccessibleInterface(field)->text(QAccessible::Name), QStringLiteral("Label"));
  EXPECT_FALSE(unit->HasPrinted("PC says"));
  field->setText(QStringLiteral("A-0001"));
  emit field->returnPressed();
  ASSERT_TRUE(PumpUntil([&] { return StatusStartsWith(0, "PASS"); })) << Status(0);
  const std::string imei = ImeiIn(Status(0));

  unit->Terminate();
  ASSERT_TRUE(unit->WaitForExit(30'000));
  // The port list is looked at every second: a swap faster than that is no swap to it.
  QThread::msleep(1500);
  unit = PlugIn();
  ASSERT_TRUE(PumpUntil([&] { return StatusStartsWith(0, "Waiting for a unit: enter its label"); })) << Status(0);
  field->setText(QStringLiteral("A-0001"));
  emit field->returnPressed();
  const QString refusal = QString::fromStdString("The label A-0001 is already used, with IMEI " + imei);
  ASSERT_TRUE(PumpUntil([&] {
    for (QLabel* label : m_window->findChildren<QLabel*>())
      if (label->isVisible() && label->text().startsWith(refusal)) return true;
    return false;
  }));
  QThread::msleep(500);
  QCoreApplication::processEvents();
  EXPECT_FALSE(unit->HasPrinted("PC says")) << unit->Output().toStdString();
  CloseWindow();

  const std::string exported = m_dir.filePath("record.csv").toStdString();
  ASSERT_EQ(RunPoolCommand({"export", pool, "--csv", exported}, "bench-1", m_platform.Files()), 0);
  QFile record(QString::fromStdString(exported));
  ASSERT_TRUE(record.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(record.readAll());
  EXPECT_TRUE(text.contains(QString::fromStdString(imei)) && text.contains(QStringLiteral(",A-0001")))
      << text.toStdString();
}

}  // namespace
}  // namespace tolvane::e2e

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
