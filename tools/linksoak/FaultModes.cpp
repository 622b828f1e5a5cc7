#include "FaultModes.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <map>
#include <thread>

#include "DevsimProcess.h"
#include "PortHolder.h"
#include "ProcessFigures.h"
#include "PtyPeer.h"
#include "SoakSession.h"
#include "link/PortNaming.h"
#include "posix/SimulatedPortRegistry.h"
#include "res/Strings.h"

namespace tolvane::linksoak {

namespace {

using namespace std::chrono_literals;

struct COutcome {
  bool defined = false;
  std::string what;
};

constexpr char kImei[] = "356938035643809";

COutcome Defined(std::string what) { return {true, std::move(what)}; }
COutcome Undefined(std::string what) { return {false, std::move(what)}; }

std::string OpenFailedText(int comNumber) {
  return "COM" + std::to_string(comNumber) + LoadString(IDS_PORT_OPEN_FAILED);
}

// Connects and waits for the device's answer; the outcome when it never comes.
bool ConnectReady(CSoakSession& session) {
  session.Click(IDC_CONNECT);
  return session.WaitFor([&] { return session.IsReady(); });
}

COutcome AnsweredDespiteNoise(CSoakSession& session) {
  if (!ConnectReady(session)) return Undefined("the link never became ready");
  session.Click(IDC_UPDATE_DEALER_PW);
  if (!session.WaitFor([&] { return session.HasShown(LoadString(IDS_DEALER_PW_OK)); }))
    return Undefined("Update Pw was never answered");
  return Defined("ready, Update Pw answered, the noise ignored");
}

using DevsimBody = std::function<COutcome(CSoakSession&, e2e::CDevsimProcess&)>;
using PeerBody = std::function<COutcome(CSoakSession&, e2e::CPtyPeer&)>;

COutcome WithDevsim(const QStringList& arguments, const DevsimBody& body) {
  e2e::CDevsimProcess device(arguments);
  if (!device.Start()) return Undefined("tolvane-devsim did not come up");
  CSoakSession session;
  if (!session.Start(device.ComNumber())) return Undefined("the device is not in the port list");
  return body(session, device);
}

// A device of linksoak's own, for line faults tolvane-devsim does not make. It answers
// "COM:open" and "WiFi:open"; the body sends the rest.
COutcome WithPeer(const std::string& openAnswer, const PeerBody& body) {
  QTemporaryDir registry;
  qputenv("TOLVANE_PORT_REGISTRY", registry.path().toLocal8Bit());
  std::string pending;
  e2e::CPtyPeer peer(registry.path().toStdString(), [&](e2e::CPtyPeer& self, std::string_view bytes) {
    pending.append(bytes);
    std::size_t end;
    while ((end = pending.find('~')) != std::string::npos) {
      const std::string message = pending.substr(0, end);
      pending.erase(0, end + 1);
      if (message == "COM:open") self.Send(openAnswer);
      if (message == "WiFi:open") self.Send("WiFi:open~");
    }
  });
  if (peer.ComNumber() == 0) return Undefined("no pseudo-terminal for the device");
  CSoakSession session;
  if (!session.Start(peer.ComNumber())) return Undefined("the device is not in the port list");
  return body(session, peer);
}

COutcome Unplug(CSoakSession& session, e2e::CDevsimProcess& device) {
  if (!ConnectReady(session)) return Undefined("the link never became ready");
  // GPS streams every second; the third command pulls the cable.
  session.Click(IDC_GPS_OPEN);
  session.WaitFor([&] { return !session.Text(IDC_GPS_SATELLITES).empty(); }, 5s);
  session.Click(IDC_WIFI_OPEN);
  if (!session.WaitFor([&] { return session.IsClosed(); })) return Undefined("the link stayed open");
  const std::string unplugged =
      FormatString(LoadString(IDS_STATUS_UNPLUGGED), "COM" + std::to_string(device.ComNumber()));
  if (session.StatusText() != unplugged)
    return Undefined("closed, but the status says \"" + session.StatusText() + "\"");
  return Defined("closed as Close does; status \"" + session.StatusText() + "\"");
}

COutcome PortHeld(CSoakSession& session, e2e::CDevsimProcess& device) {
  e2e::CPortHolder holder;
  if (!holder.Hold(device.ComNumber())) return Undefined("the other program could not take the port");
  session.Click(IDC_CONNECT);
  const std::string expected = OpenFailedText(device.ComNumber());
  if (!session.WaitFor([&] { return session.HasShown(expected); })) return Undefined("no open-failure message");
  if (!session.IsClosed()) return Undefined("the message came, but the link is not closed");
  return Defined("refused with \"" + expected + "\"; link closed");
}

COutcome FloodWithoutTerminator(CSoakSession& session, e2e::CPtyPeer& peer) {
  if (!ConnectReady(session)) return Undefined("the link never became ready");
  const long rssBefore = e2e::ReadProcessFigures(::getpid()).rssKiB;
  // From a thread of its own: the line fills up until this thread reads it.
  std::thread flood([&peer] {
    const std::string noise(64 * 1024, 'A');
    for (int i = 0; i < 64; ++i) peer.Send(noise);  // 4 MiB without a terminator
    peer.Send(std::string("~IMEI:") + kImei + "~");
  });
  const bool arrived = session.WaitFor([&] { return session.Text(IDC_IMEI) == kImei; }, 60s);
  flood.join();
  if (!arrived) return Undefined("the message after the flood was lost");
  const long grown = e2e::ReadProcessFigures(::getpid()).rssKiB - rssBefore;
  if (!session.IsReady()) return Undefined("the link fell over");
  return Defined("4 MiB dropped, the next message handled; RSS grew " + std::to_string(grown) + " KiB");
}

COutcome NulBytes(CSoakSession& session, e2e::CPtyPeer& peer) {
  if (!ConnectReady(session)) return Undefined("\"COM:open\" with NUL bytes in it was not understood");
  constexpr char kWithNuls[] =
      "IMEI:35693\0"
      "80356\0\0"
      "43809~";
  peer.Send(std::string(kWithNuls, sizeof kWithNuls - 1));
  if (!session.WaitFor([&] { return session.Text(IDC_IMEI) == kImei; }))
    return Undefined("the IMEI never arrived whole");
  return Defined("NUL bytes dropped one by one; messages whole");
}

COutcome SplitUtf8(CSoakSession& session, e2e::CPtyPeer& peer) {
  if (!ConnectReady(session)) return Undefined("the link never became ready");
  session.Click(IDC_WIFI_OPEN);
  if (!session.WaitFor([&] { return session.Text(IDC_WIFI_OPEN) == LoadString(IDS_CLOSE_WIFI); }))
    return Undefined("Wi-Fi never opened");
  const std::string name = "中文网络";
  // Each cut falls inside a character; the pauses let every piece be read on its own.
  peer.Send("WiFi_L:" + name.substr(0, 1));
  std::this_thread::sleep_for(30ms);
  peer.Send(name.substr(1, 5));
  std::this_thread::sleep_for(30ms);
  peer.Send(name.substr(6) + "^00:11:22:33:44:55^3~");
  IWindow& window = session.Window();
  if (!session.WaitFor([&] { return window.ListGetItemCount(IDC_WIFI_LIST) == 1; })) return Undefined("no row came");
  const std::string shown = window.ListGetItemText(IDC_WIFI_LIST, 0, 1);
  if (shown != name) return Undefined("the name arrived as \"" + shown + "\"");
  return Defined("characters cut across reads arrive whole");
}

// Root opens anything, so the opening side runs as nobody; anyone else loses the right by chmod.
COutcome PermissionDenied() {
  QTemporaryDir registry;
  e2e::CPtyPeer peer(registry.path().toStdString());
  if (peer.ComNumber() == 0) return Undefined("no pseudo-terminal for the device");
  ::chmod(peer.TerminalPath().c_str(), ::geteuid() == 0 ? 0600 : 0);
  QProcess opener;
  opener.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  const QStringList arguments{"--open-as-this-user", QString::fromStdString(peer.TerminalPath())};
  if (::geteuid() == 0)
    opener.start("setpriv", QStringList{"--reuid=nobody", "--regid=nogroup", "--clear-groups", "--",
                                        QCoreApplication::applicationFilePath()} +
                                arguments);
  else
    opener.start(QCoreApplication::applicationFilePath(), arguments);
  if (!opener.waitForFinished(60'000)) return Undefined("the opener hung");
  const QString said = QString::fromUtf8(opener.readAllStandardOutput()).trimmed();
  if (opener.exitCode() != 0) return Undefined("the opener said: " + said.toStdString());
  return Defined(said.toStdString());
}

}  // namespace

std::vector<std::string> FaultModeNames() {
  return {"unplug mid-stream",
          "garbage",
          "split",
          "flood without ~",
          "NUL bytes",
          "split UTF-8",
          "port held by another program",
          "permission denied"};
}

int RunFaultMode(const std::string& name) {
  COutcome outcome;
  long messages = 0;
  const auto count = [&messages](CSoakSession& session) { messages = session.MessagesHandled(); };
  const auto devsim = [&](const QStringList& arguments, const DevsimBody& body) {
    return WithDevsim(arguments, [&](CSoakSession& session, e2e::CDevsimProcess& device) {
      const COutcome result = body(session, device);
      count(session);
      return result;
    });
  };
  const auto peer = [&](const std::string& openAnswer, const PeerBody& body) {
    return WithPeer(openAnswer, [&](CSoakSession& session, e2e::CPtyPeer& device) {
      const COutcome result = body(session, device);
      count(session);
      return result;
    });
  };
  if (name == "unplug mid-stream")
    outcome = devsim({"--unplug-after", "3"}, Unplug);
  else if (name == "garbage")
    outcome = devsim({"--garbage"}, [](CSoakSession& s, e2e::CDevsimProcess&) { return AnsweredDespiteNoise(s); });
  else if (name == "split")
    outcome = devsim({"--split"}, [](CSoakSession& s, e2e::CDevsimProcess&) { return AnsweredDespiteNoise(s); });
  else if (name == "flood without ~")
    outcome = peer("COM:open~", FloodWithoutTerminator);
  else if (name == "NUL bytes")
    outcome = peer(std::string("CO\0M:op\0en~", 11), NulBytes);
  else if (name == "split UTF-8")
    outcome = peer("COM:open~", SplitUtf8);
  else if (name == "port held by another program")
    outcome = devsim({}, PortHeld);
  else if (name == "permission denied")
    outcome = PermissionDenied();
  else
    outcome = Undefined("no such fault mode");
  std::printf("%s%s|%s|%ld|%ld\n", kResultTag, outcome.defined ? "defined" : "undefined", outcome.what.c_str(),
              messages, e2e::ReadProcessFigures(::getpid()).rssKiB);
  return 0;
}

int RunOpenAsThisUser(const std::string& terminalPath) {
  // A registry of this user's own that lists the device, which only its owner may list.
  QTemporaryDir registry;
  qputenv("TOLVANE_PORT_REGISTRY", registry.path().toLocal8Bit());
  std::string errorText;
  const auto registration = CSimulatedPortRegistry(registry.path().toStdString()).Register(terminalPath, errorText);
  if (!registration) {
    std::printf("could not list the device: %s\n", errorText.c_str());
    return 1;
  }
  const int comNumber = ComNumberForDevice(registration->Device());
  CSoakSession session;
  if (!session.Start(comNumber)) {
    std::printf("COM%d is not in the port list\n", comNumber);
    return 1;
  }
  session.Click(IDC_CONNECT);
  const std::string expected = OpenFailedText(comNumber);
  if (!session.WaitFor([&] { return session.HasShown(expected); }) || !session.IsClosed()) {
    std::printf("no open-failure message; the link is %s\n", session.IsClosed() ? "closed" : "open");
    return 1;
  }
  std::printf("refused with \"%s\" (uid %d); link closed\n", expected.c_str(), static_cast<int>(::geteuid()));
  return 0;
}

}  // namespace tolvane::linksoak
