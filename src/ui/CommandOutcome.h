#pragma once

#include <cstddef>
#include <string>

#include "res/DeviceCommands.h"

namespace tolvane {

// How a command fared. A command that waits for an answer is settled once, by the first of Ok, Fail,
// Other, NoResponse or LinkClosed; an answer or an expiry with nothing waiting settles nothing.
// ConnectWifi's timer runs out silently and the request stays outstanding: NoResponse leaves it
// waiting, and a late answer still settles it.
enum class EOutcome {
  Sent,        // on its way to the device; text: the command exactly, terminator included
  Ok,          // the device said it worked; text: the message shown, if any
  Fail,        // the device said it did not, or the port would not open; text: the message shown, if any
  Other,       // the wait ended on an answer that is neither ok nor fail; text: the answer's value
  NoResponse,  // the window's reply timer ran out; text: the message shown, if any
  Refused,     // the window's checks sent nothing; text: the message shown
  LinkClosed,  // the link closed while the command waited; for ClosePort: the link has closed, whoever closed it
};

struct CCommandOutcome {
  ECommand command;
  EOutcome outcome;
  std::string text;
};

// Hears each outcome on the window's thread, from inside the dialog's handlers: it may look at the
// dialog but must not press anything until the handler has returned.
class ICommandObserver {
 public:
  virtual ~ICommandObserver() = default;
  virtual void OnCommandOutcome(const CCommandOutcome& outcome) = 0;
};

}  // namespace tolvane
