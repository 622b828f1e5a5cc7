#pragma once

#include <string>
#include <vector>

#include "link/LineSettings.h"

namespace tolvane {

// What the port tells the logic; called on the window's thread.
class IPortEvents {
 public:
  virtual ~IPortEvents() = default;
  // Text has arrived; fetch it with IPort::ReadInput.
  virtual void OnComm() = 0;
  // The device behind the open port went away (cable pulled, other end closed).
  virtual void OnPortLost() = 0;
};

// Why the last Open failed, as far as the platform can tell.
struct COpenFailure {
  enum class Cause { Unknown, NoPermission, Held, Gone };
  Cause cause = Cause::Unknown;
  std::string group;   // NoPermission: the group whose members may open it; empty when joining one would not help
  std::string holder;  // Held: the program that has it open; empty when it could not be found
  int holderPid = 0;
};

// What the system knows about the device behind a port list entry. Empty fields are unknown.
struct CPortIdentity {
  std::string path;          // what is opened, e.g. "/dev/ttyUSB0"
  std::string description;   // e.g. "CP2102 USB to UART Bridge Controller"
  std::string manufacturer;  // e.g. "Silicon Labs"
  std::string usbId;         // vendor and product, "10c4:ea60"
  std::string serialNumber;  // the USB serial number
  bool simulated = false;    // a tolvane-devsim
};

// The serial port. Everything but Write runs on the window's thread.
class IPort {
 public:
  virtual ~IPort() = default;

  virtual void SetEventSink(IPortEvents* sink) = 0;

  // The port's stored start values: settings "baud,parity,data,stop" and buffer sizes.
  virtual std::string GetSettings() const { return kLinkLineSettings; }
  virtual int GetInBufferSize() const { return kLinkInBufferSize; }
  virtual int GetOutBufferSize() const { return kLinkOutBufferSize; }

  // False when the port does not exist, is held by another process, or refuses the buffers.
  virtual bool Open(int portNumber, int inBufferSize, int outBufferSize) = 0;
  // Applies "921600,n,8,1"-style settings to the open port; on failure, the port's own error text.
  virtual bool ApplySettings(const std::string& settings, std::string& errorText) = 0;
  virtual bool IsOpen() const = 0;
  // Hands what was written before to the driver without waiting, then closes.
  virtual void Close() = 0;
  // Callable from the sender thread; never blocks on the line. False when the text cannot be taken.
  virtual bool Write(const std::string& text) = 0;
  // Text received since the last call, decoded, whole characters only.
  virtual std::string ReadInput() = 0;
  // After Open returned false.
  virtual COpenFailure LastOpenFailure() const { return {}; }
};

// The serial ports the system offers, each "COM" + number + " (" + device + ")".
class IPortList {
 public:
  virtual ~IPortList() = default;
  virtual std::vector<std::string> ListPorts() = 0;
  // The entry most likely to have the device behind it (a USB-serial bridge, a simulated device),
  // as of the last ListPorts; empty when none stands out.
  virtual std::string PreferredPort() { return {}; }

  // An entry of the last ListPorts, described.
  virtual CPortIdentity IdentifyPort(const std::string& /*caption*/) { return {}; }
  // The device behind this entry became ready: it is the one to pick next time, in this run and later.
  virtual void RememberPort(const std::string& /*caption*/) {}
  // Whether a device is remembered at all, present or not.
  virtual bool HasRememberedPort() { return false; }
  // The remembered device's entry as of the last ListPorts; empty when it is not there.
  virtual std::string RememberedPort() { return {}; }
  // False only when nothing the listing reads can have changed since the last ListPorts, so a
  // watch that looks every second need not list again.
  virtual bool MayHaveChangedSinceListed() { return true; }
};

}  // namespace tolvane
