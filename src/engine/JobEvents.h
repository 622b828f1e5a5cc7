#pragma once

#include <string>
#include <vector>

#include "engine/ProvisionReport.h"

namespace tolvane {

// What a job tells a view beyond its lines, on the job's thread. A slot is its place among the
// job's --port options; a port is its entry as the window lists it ("COM200 (ttySIM0)").
class IJobObserver {
 public:
  virtual ~IJobObserver() = default;

  // Asked before each unit a slot would start; false holds the unit, sending nothing, until the
  // job's ResumeSlot. A unit that goes meanwhile is dropped.
  virtual bool MayStartUnit(int slot, const std::string& port) = 0;
  virtual void OnUnitStarted(int slot, const std::string& port) = 0;
  // `index` counts from 0 (the connection) to count - 1, as the report lists the steps.
  virtual void OnStepStarted(int slot, int index, int count, const std::string& step) = 0;
  // `lines`: the unit's report as tolvane-provision prints it for one device, secrets masked.
  virtual void OnUnitFinished(int slot, const CDeviceReport& device, const std::vector<std::string>& lines) = 0;
  virtual void OnPortGone(int slot, const std::string& port) = 0;
  // The label given for the slot's unit, asked as the unit starts; empty when none.
  virtual std::string UnitLabel(int /*slot*/) const { return {}; }
};

}  // namespace tolvane
