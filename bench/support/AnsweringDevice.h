#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "PtyPeer.h"

namespace tolvane::bench {

// A device on a pseudo-terminal of the benchmark's own that answers every whole message at once,
// on the peer's reader thread: "COM:open" with "COM:open", any other command "KEY:value" with
// what `answer` makes of it (nothing when it returns an empty text).
class CAnsweringDevice {
 public:
  using Answer = std::function<std::string(const std::string& key, const std::string& value)>;

  CAnsweringDevice(const std::string& registryDirectory, Answer answer);
  int ComNumber() const { return m_peer->ComNumber(); }
  const std::string& TerminalPath() const { return m_peer->TerminalPath(); }
  // Device to PC, from any thread.
  void Send(std::string_view bytes) { m_peer->Send(bytes); }

 private:
  void OnBytes(e2e::CPtyPeer& peer, std::string_view bytes);

  Answer m_answer;
  std::string m_strPending;  // reader thread only
  std::unique_ptr<e2e::CPtyPeer> m_peer;
};

// "KEY:ok" for every command.
std::string AnswerOk(const std::string& key, const std::string& value);

}  // namespace tolvane::bench
