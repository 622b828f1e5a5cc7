#pragma once

#include <functional>
#include <string>
#include <vector>

#include "bench/BenchCounters.h"
#include "bench/BenchLabels.h"
#include "bench/BenchPool.h"
#include "bench/UnitVerdict.h"
#include "engine/JobEvents.h"
#include "engine/Profile.h"

namespace tolvane {

enum class ETileState { Waiting, WaitingForLabel, Running, Done };

// One slot as the bench shows it.
struct CBenchTile {
  std::string name;  // the accessible name: the port's entry as the window lists it
  ETileState state = ETileState::Waiting;
  std::string status;  // "Waiting for a unit", "Step N of M: ...", or the verdict with its IMEI
  int step = 0;        // progress: step of stepCount
  int stepCount = 0;
  EVerdict verdict = EVerdict::None;  // stays after the unit is unplugged, until the next appears
  std::string label;                  // the label field, for the unit under way or the next
  std::string labelMessage;           // why the last label typed was refused
  std::vector<std::string> log;       // the last unit's report, as tolvane-provision prints it
};

// What a window does when the model changes; called on the model's thread.
class IBenchView {
 public:
  virtual ~IBenchView() = default;
  virtual void OnTileChanged(int slot) = 0;
  // The counters, the pool's unconfirmed claims or its fault.
  virtual void OnCountersChanged() = 0;
  // A short sound for a verdict.
  virtual void OnBeep() = 0;
};

struct CBenchSetup {
  std::vector<std::string> ports;  // each slot's entry, in the order of --port
  std::string profileName;
  CProfile profile;
  bool labels = false;         // --label: no unit starts before its label is given
  IBenchPool* pool = nullptr;  // with --pool
  CBenchCounters::Clock clock = [] { return std::chrono::steady_clock::now(); };
};

// The bench window's behaviour without a toolkit: the Qt and Win32 windows only map it. Lives on
// the job's thread, which tells it the job's events.
class CBenchModel : public IJobObserver {
 public:
  explicit CBenchModel(CBenchSetup setup);

  void SetView(IBenchView* view) { m_view = view; }
  // The job's ResumeSlot: a held unit may start.
  void SetResumeHandler(std::function<void(int slot)> resume) { m_resume = std::move(resume); }
  void SetSoundOn(bool on) { m_bSound = on; }

  const std::vector<CBenchTile>& Tiles() const { return m_tiles; }
  const CBenchTile& Tile(int slot) const { return m_tiles.at(static_cast<std::size_t>(slot)); }

  // Takes the label for the slot's next unit, or refuses it and says why in the tile's
  // labelMessage; a held unit then starts. Refused silently while a unit runs or when blank.
  bool SetLabel(int slot, const std::string& text);
  bool LabelEditable(int slot) const { return m_bLabels && Tile(slot).state != ETileState::Running; }

  // "Passed: N", "Failed: N", "Units per hour: N", and with a pool "Free: N", "Unconfirmed: N".
  std::vector<std::string> CounterTexts() const;
  bool HasPool() const { return m_pool != nullptr; }
  const std::vector<CUnconfirmedClaim>& Unconfirmed() const { return m_unconfirmed; }
  // The list's column captions, and a row's cells in the same order.
  static std::vector<std::string> UnconfirmedColumns();
  static std::vector<std::string> UnconfirmedCells(const CUnconfirmedClaim& claim);
  // The Release action on a row of the list; the pool decides.
  bool Release(std::size_t row);
  // Reads the pool's counts and unconfirmed claims again (others share the pool).
  void RefreshPool();
  const std::string& PoolFault() const { return m_strPoolFault; }

  // "Locked for production: NAME" and what the profile sets, secrets masked.
  std::string LockedCaption() const;
  const std::vector<std::string>& ProfileRows() const { return m_profileRows; }

  // IJobObserver
  bool MayStartUnit(int slot, const std::string& port) override;
  void OnUnitStarted(int slot, const std::string& port) override;
  void OnStepStarted(int slot, int index, int count, const std::string& step) override;
  void OnUnitFinished(int slot, const CDeviceReport& device, const std::vector<std::string>& lines) override;
  void OnPortGone(int slot, const std::string& port) override;
  std::string UnitLabel(int slot) const override;

 private:
  CBenchTile* At(int slot);
  void TileChanged(int slot);
  void CountersChanged();

  std::vector<CBenchTile> m_tiles;
  std::string m_strProfileName;
  std::vector<std::string> m_profileRows;
  bool m_bLabels;
  IBenchPool* m_pool;
  CLabelBook m_labels;
  CBenchCounters m_counters;
  CPoolCounts m_poolCounts;
  std::vector<CUnconfirmedClaim> m_unconfirmed;
  std::string m_strPoolFault;
  bool m_bSound = true;
  IBenchView* m_view = nullptr;
  std::function<void(int)> m_resume;
};

}  // namespace tolvane
