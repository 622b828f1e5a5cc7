#include "DevsimLoop.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tolvane::devsim {

using namespace std::chrono_literals;

namespace {

// A hang-up flushes what the PC has not read yet; this gives it time to read the last answer.
constexpr auto kUnplugGrace = 200ms;

// One console line per message, though NMEA sentences end in a line break.
std::string Printable(const std::string& message) {
  std::string text;
  for (const char c : message) {
    if (c == '\r')
      text += "\\r";
    else if (c == '\n')
      text += "\\n";
    else
      text += c;
  }
  return text;
}

}  // namespace

CDevsimLoop::CDevsimLoop(const CDevsimOptions& options, CPseudoTerminal& line, CDeviceModel& model, CLineWriter& writer,
                         std::ostream& console)
    : m_options(options), m_line(line), m_model(model), m_writer(writer), m_console(console) {}

void CDevsimLoop::Note(const std::string& text) { m_console << "tolvane-devsim: " << text << std::endl; }

void CDevsimLoop::Send(const std::string& message, std::chrono::milliseconds holdBack, Clock::time_point now) {
  Note("device says " + Printable(message));
  m_writer.Queue(message, holdBack, now);
}

CDevsimLoop::Outcome CDevsimLoop::Run(const volatile std::sig_atomic_t& stopRequested, const sigset_t& waitMask) {
  const int lineFd = m_line.DeviceFd();
  while (!stopRequested) {
    const Clock::time_point now = Clock::now();
    SendUnsolicited(now);
    if (!m_writer.WriteDue(lineFd, now)) return Outcome::LineLost;

    int timeoutMs = PollTimeout(now);
    if (m_restartedAt) {
      if (now >= *m_restartedAt) {
        m_restartedAt.reset();
        Note("restarted");
      } else {
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*m_restartedAt - now).count();
        timeoutMs = timeoutMs < 0 ? static_cast<int>(wait) : std::min(timeoutMs, static_cast<int>(wait));
      }
    }
    if (m_bUnplugging && m_writer.IsIdle()) {
      if (!m_unplugAt) m_unplugAt = now + kUnplugGrace;
      if (now >= *m_unplugAt) return Outcome::Unplugged;
      timeoutMs = static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(*m_unplugAt - now).count());
    }

    pollfd fds[2] = {{lineFd, 0, 0}, {STDIN_FILENO, POLLIN, 0}};
    if (!m_bUnplugging) fds[0].events |= POLLIN;
    if (m_writer.IsBlocked()) fds[0].events |= POLLOUT;
    timespec timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1'000'000L};
    const int ready = ::ppoll(fds, m_bConsoleOpen ? 2 : 1, timeoutMs < 0 ? nullptr : &timeout, &waitMask);
    if (ready < 0) {
      if (errno == EINTR) continue;
      Note(std::string("poll failed: ") + std::strerror(errno));
      return Outcome::LineLost;
    }
    const Clock::time_point woke = Clock::now();
    if ((fds[0].revents & (POLLIN | POLLHUP | POLLERR)) && !m_bUnplugging && !ReadFromPc(woke))
      return Outcome::LineLost;
    if (m_bConsoleOpen && fds[1].revents) ReadConsole(woke);
  }
  return Outcome::Stopped;
}

void CDevsimLoop::SendUnsolicited(Clock::time_point now) {
  const CDeviceResponse response = m_model.Tick(now);
  // Only a PC that holds the link hears the device; on a full line they would only pile up.
  if (!m_model.State().bLinkOpen || m_options.bSilent || m_bUnplugging || m_writer.IsBlocked()) return;
  for (const std::string& message : response.replies) Send(message, 0ms, now);
}

int CDevsimLoop::PollTimeout(Clock::time_point now) const {
  const int writerMs = m_writer.PollTimeout(now);
  const std::optional<Clock::time_point> tick = m_model.NextTickDue();
  if (!tick) return writerMs;
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*tick - now).count();
  const int tickMs = static_cast<int>(std::max<std::chrono::milliseconds::rep>(wait, 0));
  return writerMs < 0 ? tickMs : std::min(writerMs, tickMs);
}

bool CDevsimLoop::ReadFromPc(Clock::time_point now) {
  char buffer[4096];
  for (;;) {
    const ssize_t count = ::read(m_line.DeviceFd(), buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
    if (count <= 0) return false;
    m_cutter.Append(std::string_view(buffer, static_cast<std::size_t>(count)));
    std::string message;
    while (!m_bUnplugging && m_cutter.Next(message)) OnMessage(message, now);
  }
}

void CDevsimLoop::OnMessage(const std::string& message, Clock::time_point now) {
  ++m_nCommands;
  Note("PC says " + message);
  if (m_restartedAt) {
    Note("restarting: not listening");
    return;
  }
  const bool wasOpen = m_model.State().bLinkOpen;
  const CDeviceResponse response = Answer(message);
  for (const std::string& note : response.notes) Note(note);
  if (response.restartFor.count() > 0) m_restartedAt = now + response.restartFor;
  if (wasOpen && !m_model.State().bLinkOpen) {
    // The PC has let go: what it has not read would greet its next session.
    m_writer.Discard();
    m_line.DiscardUnread();
  }
  if (m_options.bSilent) {
    if (!response.replies.empty()) Note("silent: no answer");
  } else {
    for (const std::string& reply : response.replies) Send(reply, m_options.faults.delay, now);
  }
  if (m_options.nUnplugAfter > 0 && m_nCommands >= m_options.nUnplugAfter) {
    Note("pulling the cable after " + std::to_string(m_nCommands) + " commands");
    m_bUnplugging = true;
  }
}

CDeviceResponse CDevsimLoop::Answer(const std::string& message) {
  // The fault modes stand in for the app: the model never hears these commands.
  std::string key, value;
  CDeviceResponse response;
  if (SplitKeyValue(message, key, value)) {
    if (m_options.ignoreKeys.count(key) != 0) {
      response.notes.push_back("ignoring " + key + ", as told");
      return response;
    }
    if (m_options.refuseKeys.count(key) != 0) {
      response.replies.push_back(key + ":fail");
      response.notes.push_back("refusing " + key + ", as told");
      return response;
    }
  }
  return m_model.HandleMessage(message);
}

void CDevsimLoop::ReadConsole(Clock::time_point now) {
  char buffer[1024];
  const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
  if (count < 0 && (errno == EINTR || errno == EAGAIN)) return;
  if (count <= 0) {
    m_bConsoleOpen = false;
    return;
  }
  m_strConsoleInput.append(buffer, static_cast<std::size_t>(count));
  std::size_t end;
  while ((end = m_strConsoleInput.find('\n')) != std::string::npos) {
    std::string line = m_strConsoleInput.substr(0, end);
    m_strConsoleInput.erase(0, end + 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.back() == kEnd) line.pop_back();
    if (line.empty() || m_bUnplugging) continue;
    Send(line, 0ms, now);
  }
}

}  // namespace tolvane::devsim
