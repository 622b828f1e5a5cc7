#include "bench/BenchModel.h"

#include "bench/ProductionProfile.h"
#include "res/Strings.h"

namespace tolvane {

CBenchModel::CBenchModel(CBenchSetup setup)
    : m_strProfileName(std::move(setup.profileName)),
      m_profileRows(DescribeProfile(setup.profile)),
      m_bLabels(setup.labels),
      m_pool(setup.pool),
      m_labels(setup.pool),
      m_counters(std::move(setup.clock)) {
  for (std::string& port : setup.ports) {
    m_tiles.emplace_back();
    m_tiles.back().name = std::move(port);
    m_tiles.back().status = LoadString(IDS_BENCH_WAITING);
  }
  RefreshPool();
}

CBenchTile* CBenchModel::At(int slot) {
  return slot >= 0 && static_cast<std::size_t>(slot) < m_tiles.size() ? &m_tiles[static_cast<std::size_t>(slot)]
                                                                      : nullptr;
}

void CBenchModel::TileChanged(int slot) {
  if (m_view) m_view->OnTileChanged(slot);
}

void CBenchModel::CountersChanged() {
  if (m_view) m_view->OnCountersChanged();
}

bool CBenchModel::SetLabel(int slot, const std::string& text) {
  CBenchTile* tile = At(slot);
  if (!tile || !LabelEditable(slot)) return false;
  const std::string label = TrimmedLabel(text);
  tile->labelMessage.clear();
  tile->label.clear();
  if (!label.empty()) {
    for (const CBenchTile& other : m_tiles)
      if (&other != tile && other.label == label)
        tile->labelMessage = FormatString(LoadString(IDS_BENCH_LABEL_TAKEN), {label, other.name});
    if (const auto imei = m_labels.ImeiOf(label); imei && tile->labelMessage.empty())
      tile->labelMessage = FormatString(LoadString(IDS_BENCH_LABEL_USED), {label, *imei});
    if (tile->labelMessage.empty()) tile->label = label;
  }
  TileChanged(slot);
  if (tile->label.empty()) return false;
  if (tile->state == ETileState::WaitingForLabel && m_resume) m_resume(slot);
  return true;
}

bool CBenchModel::MayStartUnit(int slot, const std::string& port) {
  CBenchTile* tile = At(slot);
  if (!tile || !m_bLabels || !tile->label.empty()) return true;
  // The next unit is here: the last verdict goes, and the unit waits for its label.
  tile->name = port;
  tile->state = ETileState::WaitingForLabel;
  tile->status = LoadString(IDS_BENCH_WAITING_LABEL);
  tile->verdict = EVerdict::None;
  tile->step = tile->stepCount = 0;
  TileChanged(slot);
  return false;
}

void CBenchModel::OnUnitStarted(int slot, const std::string& port) {
  CBenchTile* tile = At(slot);
  if (!tile) return;
  tile->name = port;
  tile->state = ETileState::Running;
  tile->status.clear();
  tile->verdict = EVerdict::None;
  tile->step = tile->stepCount = 0;
  tile->labelMessage.clear();
  tile->log.clear();
  m_counters.UnitStarted();
  TileChanged(slot);
}

void CBenchModel::OnStepStarted(int slot, int index, int count, const std::string& step) {
  CBenchTile* tile = At(slot);
  if (!tile || tile->state != ETileState::Running) return;
  tile->step = index + 1;
  tile->stepCount = count;
  tile->status = FormatString(LoadString(IDS_BENCH_STEP), {std::to_string(index + 1), std::to_string(count), step});
  TileChanged(slot);
}

void CBenchModel::OnUnitFinished(int slot, const CDeviceReport& device, const std::vector<std::string>& lines) {
  CBenchTile* tile = At(slot);
  if (!tile) return;
  const CUnitVerdict verdict = JudgeUnit(device);
  tile->state = ETileState::Done;
  tile->verdict = verdict.kind;
  tile->status = verdict.text;
  tile->log = lines;
  // The label went with the IMEI the unit got; each unit is labelled anew.
  if (!tile->label.empty() && !device.imei.empty()) m_labels.Record(tile->label, device.imei);
  tile->label.clear();
  m_counters.UnitFinished(verdict.kind == EVerdict::Pass);
  TileChanged(slot);
  RefreshPool();
  CountersChanged();
  if (m_bSound && m_view) m_view->OnBeep();
}

void CBenchModel::OnPortGone(int slot, const std::string&) {
  CBenchTile* tile = At(slot);
  // A verdict stays; a unit that never started is simply gone.
  if (!tile || tile->state != ETileState::WaitingForLabel) return;
  tile->state = ETileState::Waiting;
  tile->status = LoadString(IDS_BENCH_WAITING);
  TileChanged(slot);
}

std::string CBenchModel::UnitLabel(int slot) const {
  return slot >= 0 && static_cast<std::size_t>(slot) < m_tiles.size() ? Tile(slot).label : std::string();
}

std::vector<std::string> CBenchModel::CounterTexts() const {
  std::vector<std::string> texts{
      FormatString(LoadString(IDS_BENCH_PASSED), std::to_string(m_counters.Passed())),
      FormatString(LoadString(IDS_BENCH_FAILED), std::to_string(m_counters.Failed())),
      FormatString(LoadString(IDS_BENCH_UNITS_PER_HOUR), std::to_string(m_counters.UnitsPerHour())),
  };
  if (m_pool) {
    texts.push_back(FormatString(LoadString(IDS_BENCH_FREE), std::to_string(m_poolCounts.free)));
    texts.push_back(FormatString(LoadString(IDS_BENCH_UNCONFIRMED), std::to_string(m_poolCounts.unconfirmed)));
  }
  return texts;
}

std::vector<std::string> CBenchModel::UnconfirmedColumns() {
  return {"IMEI", LoadString(IDS_BENCH_COLUMN_STATION), LoadString(IDS_BENCH_COLUMN_PORT),
          LoadString(IDS_BENCH_COLUMN_TIME), LoadString(IDS_BENCH_COLUMN_USB_SERIAL)};
}

std::vector<std::string> CBenchModel::UnconfirmedCells(const CUnconfirmedClaim& claim) {
  return {claim.imei, claim.station, claim.port, claim.claimedAt, claim.usbSerial};
}

bool CBenchModel::Release(std::size_t row) {
  if (!m_pool || row >= m_unconfirmed.size()) return false;
  std::string error;
  const bool released = m_pool->Release(m_unconfirmed[row].imei, error);
  RefreshPool();
  if (!released) m_strPoolFault = error;
  CountersChanged();
  return released;
}

void CBenchModel::RefreshPool() {
  if (!m_pool) return;
  std::string error;
  if (m_pool->Counts(m_poolCounts, error) && m_pool->Unconfirmed(m_unconfirmed, error)) {
    m_strPoolFault.clear();
    return;
  }
  m_strPoolFault = error;
}

std::string CBenchModel::LockedCaption() const { return FormatString(LoadString(IDS_BENCH_LOCKED), m_strProfileName); }

}  // namespace tolvane
