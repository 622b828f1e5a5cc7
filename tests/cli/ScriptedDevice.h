#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "FakePort.h"

namespace tolvane::testing {

// The device behind the fake port: it answers each command by its key, a little later, on the
// test's thread. A key without an answer is left unanswered.
class CScriptedDevice {
 public:
  explicit CScriptedDevice(CFakePort& port) : m_port(port) {
    m_port.onWrite = [this](const std::string& command) {
      QMetaObject::invokeMethod(
          &m_context, [this, command] { OnCommand(command); }, Qt::QueuedConnection);
    };
  }
  ~CScriptedDevice() { m_port.onWrite = nullptr; }

  // What the device says on "COM:open": its settings, as the intercom app reports them.
  static constexpr char kOpenReply[] =
      "COM:open~IMEI:356938035643809~IP:192.168.10.20~LANGUAGE:en_US~NETWORK_TYPE:3G/2G~";

  std::map<std::string, std::string> answers{{"COM", kOpenReply}};
  int replyDelayMs = 20;
  // What it reports of itself on the next "COM:open", once it has answered ok to a new value.
  std::map<std::string, std::string> settings{
      {"IMEI", "356938035643809"}, {"IP", "192.168.10.20"}, {"LANGUAGE", "en_US"}, {"NETWORK_TYPE", "3G/2G"}};

  // The settings it names on "COM:open"; a device need not report any.
  std::vector<std::string> reports{"IMEI", "IP", "LANGUAGE", "NETWORK_TYPE"};

  // For each command answered: how many commands had been written when its answer went out.
  std::vector<std::pair<std::string, std::size_t>> answeredAt;

 private:
  void OnCommand(const std::string& command) {
    const std::string key = command.substr(0, command.find(':'));
    if (command == "COM:close~") return;
    const auto answer = answers.find(key);
    if (answer == answers.end() || answer->second.empty()) return;
    std::string reply = answer->second;
    const std::string value = command.substr(key.size() + 1, command.size() - key.size() - 2);
    if (settings.count(key) && reply == key + ":ok~") settings[key] = value;
    if (key == "COM" && reply == kOpenReply) {
      reply = "COM:open~";
      for (const std::string& setting : reports) reply += setting + ":" + settings[setting] + "~";
    }
    QTimer::singleShot(replyDelayMs, &m_context, [this, command, reply] {
      answeredAt.emplace_back(command, m_port.Writes().size());
      if (m_port.IsOpen()) m_port.Feed(reply);
    });
  }

  CFakePort& m_port;
  QObject m_context;
};

// Runs the event loop until `done` holds or the bound passes.
inline bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds bound = std::chrono::seconds(20)) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace tolvane::testing
