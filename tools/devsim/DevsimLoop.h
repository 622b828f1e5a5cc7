#pragma once

#include <signal.h>

#include <chrono>
#include <csignal>
#include <optional>
#include <ostream>
#include <string>

#include "DeviceModel.h"
#include "DeviceWire.h"
#include "DevsimOptions.h"
#include "LineWriter.h"
#include "PseudoTerminal.h"

namespace tolvane::devsim {

// Serves the line: cuts what the PC sends into messages, lets the device model answer them,
// sends what is typed on standard input, and pulls the cable when told to.
class CDevsimLoop {
 public:
  enum class Outcome { Stopped, Unplugged, LineLost };
  using Clock = CLineWriter::Clock;

  CDevsimLoop(const CDevsimOptions& options, CPseudoTerminal& line, CDeviceModel& model, CLineWriter& writer,
              std::ostream& console);

  // Runs until `stopRequested` is set, the cable is pulled, or the line fails. Signals are
  // expected blocked; `waitMask` unblocks them only while waiting, so none is missed.
  Outcome Run(const volatile std::sig_atomic_t& stopRequested, const sigset_t& waitMask);

 private:
  bool ReadFromPc(Clock::time_point now);
  void ReadConsole(Clock::time_point now);
  void OnMessage(const std::string& message, Clock::time_point now);
  void SendUnsolicited(Clock::time_point now);
  // The writer's poll timeout, shortened to the device's next tick.
  int PollTimeout(Clock::time_point now) const;
  CDeviceResponse Answer(const std::string& message);
  void Send(const std::string& message, std::chrono::milliseconds holdBack, Clock::time_point now);
  void Note(const std::string& text);

  const CDevsimOptions& m_options;
  CPseudoTerminal& m_line;
  CDeviceModel& m_model;
  CLineWriter& m_writer;
  std::ostream& m_console;

  CWireCutter m_cutter;
  std::string m_strConsoleInput;
  bool m_bConsoleOpen = true;
  int m_nCommands = 0;
  bool m_bUnplugging = false;
  std::optional<Clock::time_point> m_unplugAt;
  std::optional<Clock::time_point> m_restartedAt;  // set while the app restarts
};

}  // namespace tolvane::devsim
