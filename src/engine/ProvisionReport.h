#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/IFileSystem.h"

namespace tolvane {

enum class EStepStatus { Ok, Fail, NoResponse, Refused, NotRun, Interrupted, Planned };

// "OK", "FAIL", "NO RESPONSE", "REFUSED", "NOT RUN", "INTERRUPTED"; a dry run's planned step has none.
const char* StatusText(EStepStatus status);

struct CStepResult {
  std::string name;
  EStepStatus status = EStepStatus::NotRun;
  std::vector<std::string> sent;      // the commands the press queued, secrets masked
  std::string detail;                 // the box that settled the step, or why it ended as it did
  std::vector<std::string> messages;  // every box the window showed while the step ran
  bool linkFault = false;             // the link failed, not the setting
  bool opensLink = false;             // the step that opens the link: its link fault means no device
  bool check = false;                 // a look at the device, not a command: its line names none
};

// What the device reported of itself when the link opened.
struct CDeviceReadout {
  bool read = false;
  std::string note;  // why it was not read
  std::optional<std::string> imei, ip, language, networkType;
};

struct CDeviceReport {
  std::string port;
  std::string imei;  // the IMEI sent to the device (planned, in a dry run); empty when none was
  std::string label;  // the operator's label for the unit; empty when none
  CDeviceReadout before, after;
  std::vector<CStepResult> steps;
  std::vector<std::string> otherMessages;  // boxes shown outside any step
  bool interrupted = false;
  std::string unrecorded;  // why the IMEI pool could not record what became of its IMEI
};

struct CRunReport {
  std::string profilePath;
  bool dryRun = false;
  std::vector<CDeviceReport> devices;
  bool interrupted = false;
  std::string stoppedWhile;  // where an interruption found the run, when between devices
  std::string fault;         // a fault of the run itself, such as a file that could not be written
  std::string poolFault;     // the IMEI pool could not be reached or failed
  bool noImeiLeft = false;   // a device came for an IMEI and the list or pool had none left
};

// Exit statuses, documented in the README and --help.
enum ExitStatus : int {
  kExitOk = 0,
  kExitFailed = 1,
  kExitUsage = 2,
  kExitProfile = 3,
  kExitNoResponse = 4,
  kExitRefused = 5,
  kExitLink = 6,
  kExitFiles = 7,
  kExitPool = 8,
  kExitNoImeiLeft = 9,
  kExitInterrupted = 130,
};

// 130 when interrupted, else 7, 8, then 6, 9, 1, 4, 5, the first that any device earned, else 0.
int ExitStatusOf(const CRunReport& report);
bool DeviceSucceeded(const CDeviceReport& device);

std::string FormatStepLine(const CStepResult& step, bool dryRun);
std::string FormatReadout(const std::string& label, const CDeviceReadout& readout);
// The line after a device's header that names its label.
std::string FormatLabelLine(const std::string& label);
// "OK", "NOT OK: 1 FAIL, ..." or where the user stopped it; and what the pool could not record.
std::string DescribeDeviceResult(const CDeviceReport& device);
std::string FormatDeviceResult(const CDeviceReport& device);

// The whole run as JSON.
std::string JsonReport(const CRunReport& report);
// Written whole or not at all.
bool WriteJsonReport(IFileSystem& files, const CRunReport& report, const std::string& path, std::string& errorText);

}  // namespace tolvane
