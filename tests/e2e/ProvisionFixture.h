#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <memory>

#include "DevsimProcess.h"
#include "LinkE2eFixture.h"

namespace tolvane::e2e {

// tolvane-provision, the program, against tolvane-devsim processes that stand for devices, with
// its files in a directory of the test's own.
class CProvisionFixture : public ::testing::Test {
 protected:
  QString File(const QString& name, const QByteArray& text) {
    const QString path = m_dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
  }
  QByteArray Read(const QString& name) {
    QFile file(m_dir.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  std::unique_ptr<QProcess> Start(const QStringList& arguments) {
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setWorkingDirectory(m_dir.path());
    process->start(QStringLiteral(TOLVANE_PROVISION_PATH), arguments);
    EXPECT_TRUE(process->waitForStarted(30'000));
    return process;
  }
  // Runs the event loop, which reads every child's output, until `done` holds.
  static bool PumpUntil(const std::function<bool()>& done) {
    const QDeadlineTimer deadline(60'000);
    while (!done()) {
      if (deadline.hasExpired()) return false;
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      QThread::msleep(1);
    }
    return true;
  }
  // Reads the program's output until `done` holds for it; false when that never happens.
  static bool WaitForOutput(QProcess& process, QString& output, const std::function<bool(const QString&)>& done) {
    return PumpUntil([&] {
             output += QString::fromUtf8(process.readAllStandardOutput());
             return done(output) || process.state() == QProcess::NotRunning;
           }) &&
           done(output);
  }
  static bool Printed(CDevsimProcess& device, const char* text) {
    return PumpUntil([&] { return device.HasPrinted(QString::fromUtf8(text)); });
  }
  int Finish(QProcess& process, QString& output) {
    EXPECT_TRUE(process.waitForFinished(120'000));
    output += QString::fromUtf8(process.readAllStandardOutput());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  }
  int Run(const QStringList& arguments, QString& output) {
    auto process = Start(arguments);
    return Finish(*process, output);
  }
  // A device plugged in: a tolvane-devsim of its own, on COM200 once the one before has gone.
  std::unique_ptr<CDevsimProcess> PlugIn(const QStringList& arguments = {}) {
    auto device = std::make_unique<CDevsimProcess>(arguments);
    EXPECT_TRUE(device->Start()) << device->Output().toStdString();
    EXPECT_EQ(device->ComNumber(), 200);
    return device;
  }
  static void Unplug(CDevsimProcess& device) {
    device.Terminate();
    EXPECT_TRUE(device.WaitForExit(30'000));
  }
  QJsonObject Report(const QString& name) { return QJsonDocument::fromJson(Read(name)).object(); }

  CScopedRegistry m_registry;
  QTemporaryDir m_dir;
};

}  // namespace tolvane::e2e
