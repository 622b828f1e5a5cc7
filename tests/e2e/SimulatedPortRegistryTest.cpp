#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "qtserial/LinuxPortList.h"
#include "posix/SimulatedPortRegistry.h"

namespace tolvane::e2e {
namespace {

class SimulatedPortRegistry : public ::testing::Test {
 protected:
  std::unique_ptr<CSimulatedPortRegistration> Register(const std::string& terminal) {
    std::string errorText;
    auto registration = m_registry.Register(terminal, errorText);
    EXPECT_TRUE(registration) << errorText;
    return registration;
  }
  std::string File(const std::string& name) const { return m_directory.path().toStdString() + "/" + name; }

  QTemporaryDir m_directory;
  CSimulatedPortRegistry m_registry{m_directory.path().toStdString()};
};

TEST_F(SimulatedPortRegistry, Register_takesTheLowestFreeSlot) {
  auto first = Register("/dev/pts/71");
  auto second = Register("/dev/pts/72");
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->Slot(), 0);
  EXPECT_EQ(second->Slot(), 1);
  EXPECT_EQ(second->Device(), "ttySIM1");

  first.reset();
  auto third = Register("/dev/pts/73");
  ASSERT_TRUE(third);
  EXPECT_EQ(third->Slot(), 0);
}

TEST_F(SimulatedPortRegistry, List_givesEachLiveDeviceWithItsTerminal) {
  auto first = Register("/dev/pts/71");
  auto second = Register("/dev/pts/72");
  const std::vector<CSimulatedPort> ports = m_registry.List();
  ASSERT_EQ(ports.size(), 2u);
  EXPECT_EQ(ports[0].slot, 0);
  EXPECT_EQ(ports[0].device, "ttySIM0");
  EXPECT_EQ(ports[0].path, "/dev/pts/71");
  EXPECT_EQ(ports[1].device, "ttySIM1");
  EXPECT_EQ(ports[1].path, "/dev/pts/72");
}

TEST_F(SimulatedPortRegistry, RegistrationGone_leavesNoEntryBehind) {
  Register("/dev/pts/71").reset();
  EXPECT_TRUE(m_registry.List().empty());
  EXPECT_TRUE(QDir(m_directory.path()).isEmpty());
}

TEST_F(SimulatedPortRegistry, List_removesAnEntryNoOneHolds) {
  // What a killed device leaves: the link and an unlocked lock file.
  ASSERT_EQ(::symlink("/dev/pts/79", File("ttySIM3").c_str()), 0);
  QFile lock(QString::fromStdString(File("ttySIM3.lock")));
  ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
  lock.close();

  EXPECT_TRUE(m_registry.List().empty());
  EXPECT_TRUE(QDir(m_directory.path()).isEmpty());
}

TEST_F(SimulatedPortRegistry, List_skipsAndKeepsAnEntryStillBeingRegistered) {
  // Its owner holds the lock but has not made the link yet.
  const std::string lockPath = File("ttySIM0.lock");
  const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);

  EXPECT_TRUE(m_registry.List().empty());
  EXPECT_TRUE(QFile::exists(QString::fromStdString(lockPath)));
  // And nobody else gets that slot meanwhile.
  auto other = Register("/dev/pts/72");
  ASSERT_TRUE(other);
  EXPECT_EQ(other->Slot(), 1);
  ::close(fd);
}

TEST_F(SimulatedPortRegistry, Register_createsAPrivateDirectory) {
  const std::string nested = m_directory.path().toStdString() + "/tolvane";
  CSimulatedPortRegistry registry(nested);
  std::string errorText;
  auto registration = registry.Register("/dev/pts/71", errorText);
  ASSERT_TRUE(registration) << errorText;
  struct stat info {};
  ASSERT_EQ(::stat(nested.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_EQ(registry.List().size(), 1u);
}

TEST_F(SimulatedPortRegistry, DirectoryOthersMayWriteTo_isNeitherUsedNorTrusted) {
  auto registration = Register("/dev/pts/71");
  ASSERT_EQ(::chmod(m_directory.path().toLocal8Bit().constData(), 0777), 0);

  EXPECT_TRUE(m_registry.List().empty());
  std::string errorText;
  EXPECT_FALSE(m_registry.Register("/dev/pts/72", errorText));
  EXPECT_FALSE(errorText.empty());
  ::chmod(m_directory.path().toLocal8Bit().constData(), 0700);
}

TEST(SimulatedPortRegistryDirectory, overrideThenRuntimeDirectoryThenTmpPerUser) {
  const QByteArray savedOverride = qgetenv("TOLVANE_PORT_REGISTRY");
  const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
  const bool hadOverride = qEnvironmentVariableIsSet("TOLVANE_PORT_REGISTRY");
  const bool hadRuntime = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");

  qputenv("TOLVANE_PORT_REGISTRY", "/somewhere/else");
  qputenv("XDG_RUNTIME_DIR", "/run/user/1234");
  EXPECT_EQ(CSimulatedPortRegistry::DefaultDirectory(), "/somewhere/else");
  qunsetenv("TOLVANE_PORT_REGISTRY");
  EXPECT_EQ(CSimulatedPortRegistry::DefaultDirectory(), "/run/user/1234/tolvane");
  qputenv("XDG_RUNTIME_DIR", "");
  EXPECT_EQ(CSimulatedPortRegistry::DefaultDirectory(), "/tmp/tolvane-" + std::to_string(::geteuid()));

  hadOverride ? qputenv("TOLVANE_PORT_REGISTRY", savedOverride) : qunsetenv("TOLVANE_PORT_REGISTRY");
  hadRuntime ? qputenv("XDG_RUNTIME_DIR", savedRuntime) : qunsetenv("XDG_RUNTIME_DIR");
}

TEST_F(SimulatedPortRegistry, LinuxPortList_addsRegisteredDevicesToTheSystemPortsInNumberOrder) {
  auto first = Register("/dev/pts/71");
  auto second = Register("/dev/pts/72");
  CLinuxPortList ports(m_directory.path().toStdString());

  const std::vector<std::string> captions = ports.ListPorts();
  ASSERT_GE(captions.size(), 2u);
  EXPECT_EQ(captions[captions.size() - 2], "COM200 (ttySIM0)");
  EXPECT_EQ(captions.back(), "COM201 (ttySIM1)");
  for (std::size_t i = 1; i < captions.size(); ++i)
    EXPECT_LT(std::atoi(captions[i - 1].c_str() + 3), std::atoi(captions[i].c_str() + 3)) << captions[i];

  const auto entry = ports.FindPort(201);
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(entry->path, "/dev/pts/72");
  EXPECT_FALSE(ports.FindPort(202).has_value());
}

}  // namespace
}  // namespace tolvane::e2e
