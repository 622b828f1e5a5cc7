// Why a port would not open, found on the real system: a node that is gone, one this user may not
// open, and one that another process holds.
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <fstream>

#include "LinkE2eFixture.h"
#include "PortHolder.h"
#include "posix/OpenFailureProbe.h"

namespace tolvane::e2e {
namespace {

class OpenFailure : public LinkE2eTest {};

std::string CommOf(qint64 pid) {
  std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
  std::string name;
  std::getline(comm, name);
  return name;
}

// A character-device stand-in: a file in /tmp, which anyone may reach, owned by root's dialout
// group where the test may give it one.
class CScratchNode {
 public:
  explicit CScratchNode(mode_t mode) {
    char name[] = "/tmp/tolvane-node-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd >= 0) ::close(fd);
    m_strPath = name;
    if (const group* dialout = ::getgrnam("dialout"); dialout && ::geteuid() == 0)
      if (::chown(name, 0, dialout->gr_gid) != 0) m_strPath.clear();
    ::chmod(name, mode);
  }
  ~CScratchNode() { ::unlink(m_strPath.c_str()); }
  const std::string& Path() const { return m_strPath; }
  std::string GroupName() const {
    struct stat info {};
    ::stat(m_strPath.c_str(), &info);
    const group* entry = ::getgrgid(info.st_gid);
    return entry ? entry->gr_name : "";
  }

 private:
  std::string m_strPath;
};

COpenProbe ProbeDenyingAccess() {
  COpenProbe probe = COpenProbe::System();
  probe.accessError = [](const std::string&) { return EACCES; };
  return probe;
}

TEST_F(OpenFailure, aDeviceThatWentAwaySaysItIsNoLongerThere) {
  CDevsimProcess& device = StartDevice();
  OpenWindowOn(device.ComNumber());
  device.Terminate();
  ASSERT_TRUE(device.WaitForExit(30'000));
  PressConnect();
  EXPECT_EQ(m_window.statusText, "COM200 is no longer there");
  EXPECT_EQ(m_window.MessageBoxes(),
            std::vector<std::string>{"COM200 Error, the serial port is occupied or does not exist!"});
  EXPECT_EQ(DiagnoseOpenFailure("/dev/tolvane-no-such-node", OpenRefusal::Refused).cause, COpenFailure::Cause::Gone);
}

TEST_F(OpenFailure, aPortHeldByAnotherProcessNamesItAndItsPid) {
  CDevsimProcess& device = StartDevice();
  OpenWindowOn(device.ComNumber());
  CPortHolder holder;
  ASSERT_TRUE(holder.Hold(device.ComNumber()));
  PressConnect();
  const qint64 pid = holder.ProcessId();
  EXPECT_EQ(m_window.statusText, "COM200 is held by " + CommOf(pid) + " (pid " + std::to_string(pid) + ")");
  // The simulated device keeps its own end of the terminal open too; it is not the one in the way.
  const std::vector<CHoldingProcess> holders = FindPortHolders(device.TerminalPath().toStdString());
  ASSERT_EQ(holders.size(), 2u);
  EXPECT_EQ(holders[0].pid, pid);
  EXPECT_EQ(holders[1].name, "tolvane-devsim");
}

TEST(OpenFailureProbe, refusedAccessNamesTheGroupThatMayOpenIt) {
  CScratchNode node(0660);
  ASSERT_FALSE(node.Path().empty());
  const COpenFailure failure = DiagnoseOpenFailure(node.Path(), OpenRefusal::Refused, ProbeDenyingAccess());
  EXPECT_EQ(failure.cause, COpenFailure::Cause::NoPermission);
  EXPECT_EQ(failure.group, ::geteuid() == 0 ? "dialout" : node.GroupName());
}

TEST(OpenFailureProbe, noGroupIsSuggestedWhenJoiningItWouldNotHelp) {
  // Group may write but not read, as on a pseudo-terminal.
  CScratchNode node(0620);
  const COpenFailure failure = DiagnoseOpenFailure(node.Path(), OpenRefusal::Refused, ProbeDenyingAccess());
  EXPECT_EQ(failure.cause, COpenFailure::Cause::NoPermission);
  EXPECT_EQ(failure.group, "");
}

TEST(OpenFailureProbe, anUnprivilegedUserIsToldToJoinTheGroup) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to become another user";
  const group* dialout = ::getgrnam("dialout");
  if (!dialout) GTEST_SKIP() << "no dialout group";
  CScratchNode node(0660);
  ASSERT_EQ(node.GroupName(), "dialout");
  int results[2];
  ASSERT_EQ(::pipe(results), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // As nobody, with no extra groups: the real access check, not a stand-in.
    const gid_t nogroup = 65534;
    if (::setgroups(0, nullptr) != 0 || ::setgid(nogroup) != 0 || ::setuid(65534) != 0) ::_exit(3);
    const COpenFailure failure = DiagnoseOpenFailure(node.Path(), OpenRefusal::Refused);
    const std::string answer = std::to_string(static_cast<int>(failure.cause)) + " " + failure.group;
    const bool written = ::write(results[1], answer.data(), answer.size()) == static_cast<ssize_t>(answer.size());
    ::_exit(written ? 0 : 4);
  }
  ::close(results[1]);
  char answer[64] = {};
  const ssize_t length = ::read(results[0], answer, sizeof answer - 1);
  ::close(results[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
  ASSERT_GT(length, 0);
  EXPECT_EQ(std::string(answer), std::to_string(static_cast<int>(COpenFailure::Cause::NoPermission)) + " dialout");
}

// A /proc of our own making, to look at holders the real one cannot show on demand.
class CFakeProc {
 public:
  void AddProcess(int pid, const std::string& name, const std::vector<std::string>& files) {
    const QString directory = m_root.path() + "/" + QString::number(pid);
    QDir().mkpath(directory + "/fd");
    QFile comm(directory + "/comm");
    comm.open(QIODevice::WriteOnly);
    comm.write(QByteArray::fromStdString(name + "\n"));
    for (std::size_t fd = 0; fd < files.size(); ++fd)
      QFile::link(QString::fromStdString(files[fd]), directory + "/fd/" + QString::number(fd + 3));
  }
  COpenProbe Probe(int ownPid) const {
    COpenProbe probe = COpenProbe::System();
    probe.procRoot = m_root.path().toStdString();
    probe.ownPid = ownPid;
    return probe;
  }

 private:
  QTemporaryDir m_root;
};

TEST(OpenFailureProbe, holdersAreFoundByTheirOpenDescriptors) {
  CScratchNode node(0660);
  CFakeProc proc;
  proc.AddProcess(1, "systemd", {"/dev/null"});
  proc.AddProcess(812, "ModemManager", {"/dev/null", node.Path()});
  proc.AddProcess(900, "tolvane", {node.Path()});  // ourselves: our own failed attempt is no holder
  proc.AddProcess(77, "tolvane-devsim", {"/dev/ptmx", node.Path()});
  const std::vector<CHoldingProcess> holders = FindPortHolders(node.Path(), proc.Probe(900));
  ASSERT_EQ(holders.size(), 2u);
  EXPECT_EQ(holders[0].pid, 812);
  EXPECT_EQ(holders[0].name, "ModemManager");
  EXPECT_EQ(holders[1].name, "tolvane-devsim");

  const COpenFailure failure = DiagnoseOpenFailure(node.Path(), OpenRefusal::Refused, proc.Probe(900));
  EXPECT_EQ(failure.cause, COpenFailure::Cause::Held);
  EXPECT_EQ(failure.holder, "ModemManager");
  EXPECT_EQ(failure.holderPid, 812);
}

TEST(OpenFailureProbe, aHolderNobodyCanSeeIsStillCalledAHolder) {
  CScratchNode node(0660);
  CFakeProc proc;
  proc.AddProcess(5, "bash", {"/dev/null"});
  const COpenFailure failure = DiagnoseOpenFailure(node.Path(), OpenRefusal::Refused, proc.Probe(900));
  EXPECT_EQ(failure.cause, COpenFailure::Cause::Held);
  EXPECT_EQ(failure.holder, "");
  // Any other refusal is not guessed at.
  EXPECT_EQ(DiagnoseOpenFailure(node.Path(), OpenRefusal::Other, proc.Probe(900)).cause, COpenFailure::Cause::Unknown);
}

}  // namespace
}  // namespace tolvane::e2e
