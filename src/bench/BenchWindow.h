#pragma once

#include <string>
#include <vector>

#include "bench/BenchModel.h"

namespace tolvane {

// The bench as a window draws it, copied for the window's thread.
struct CBenchSnapshot {
  std::vector<CBenchTile> tiles;
  std::vector<std::string> counters;
  std::vector<CUnconfirmedClaim> unconfirmed;
  std::string poolNote;  // the pool's fault, or what became of the last Release or Keep
  std::string banner;    // the bench is closing, or stopped by itself and why; empty while it runs
};

// A bench window, called on its own thread.
class IBenchWindow {
 public:
  virtual ~IBenchWindow() = default;
  virtual void ShowBench(const CBenchSnapshot& bench) = 0;
  virtual void Beep() = 0;
  // Every link is closed: the window may go.
  virtual void BenchClosed(int exitStatus) = 0;
};

// What a bench window asks of the bench, from the window's thread; nothing here waits.
class IBenchActions {
 public:
  virtual ~IBenchActions() = default;
  // What the window shows from the start and never changes: the locked profile.
  virtual const std::string& LockedCaption() const = 0;
  virtual const std::vector<std::string>& ProfileRows() const = 0;
  virtual void SetLabel(int slot, const std::string& text) = 0;
  virtual void Release(const std::string& imei) = 0;
  virtual void Keep(const std::string& imei) = 0;
  virtual void SetSound(bool on) = 0;
  // The first lets each step under way finish and then closes each link; a second also gives up a
  // wait for the pool.
  virtual void Close() = 0;
};

// What Release asks the operator, naming the IMEI and the unit.
std::string ReleaseQuestion(const CUnconfirmedClaim& claim);

}  // namespace tolvane
