#include "AnsweringDevice.h"

namespace tolvane::bench {

CAnsweringDevice::CAnsweringDevice(const std::string& registryDirectory, Answer answer)
    : m_answer(std::move(answer)),
      m_peer(std::make_unique<e2e::CPtyPeer>(
          registryDirectory, [this](e2e::CPtyPeer& peer, std::string_view bytes) { OnBytes(peer, bytes); })) {}

void CAnsweringDevice::OnBytes(e2e::CPtyPeer& peer, std::string_view bytes) {
  // The device's own cutting, sharing nothing with the PC's framing.
  m_strPending.append(bytes);
  std::size_t end;
  std::string replies;
  while ((end = m_strPending.find('~')) != std::string::npos) {
    const std::string message = m_strPending.substr(0, end);
    m_strPending.erase(0, end + 1);
    const std::size_t colon = message.find(':');
    if (colon == std::string::npos) continue;
    const std::string key = message.substr(0, colon);
    const std::string value = message.substr(colon + 1);
    if (key == "COM") {
      if (value == "open") replies += "COM:open~";
      continue;
    }
    const std::string reply = m_answer(key, value);
    if (!reply.empty()) replies += reply + "~";
  }
  if (!replies.empty()) peer.Send(replies);
}

std::string AnswerOk(const std::string& key, const std::string&) { return key + ":ok"; }

}  // namespace tolvane::bench
