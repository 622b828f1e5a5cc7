#include "posix/StopSignal.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace tolvane {

namespace {

// The write end is all a signal handler may touch.
int g_pipe[2] = {-1, -1};

void OnSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
  errno = saved;
}

void Handle(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

}  // namespace

CStopSignal::CStopSignal(std::function<void(int)> onStop) : m_onStop(std::move(onStop)) {
  if (::pipe2(g_pipe, O_CLOEXEC) != 0) return;
  m_listener = std::thread([this] { Listen(); });
  Handle(OnSignal);
}

CStopSignal::~CStopSignal() {
  Handle(SIG_DFL);
  // The listener reads to the end of the pipe and stops.
  if (g_pipe[1] >= 0) ::close(g_pipe[1]);
  if (m_listener.joinable()) m_listener.join();
  if (g_pipe[0] >= 0) ::close(g_pipe[0]);
  g_pipe[0] = g_pipe[1] = -1;
}

void CStopSignal::Listen() {
  int count = 0;
  char bytes[16];
  for (;;) {
    const ssize_t read = ::read(g_pipe[0], bytes, sizeof bytes);
    if (read < 0 && errno == EINTR) continue;
    if (read <= 0) return;
    for (ssize_t i = 0; i < read; ++i)
      if (m_onStop) m_onStop(++count);
  }
}

}  // namespace tolvane
