#pragma once

// What every bench window must show and do, written once and run against each one.
//
// A driver makes one fresh window and stands in for the operator:
//   void Make(int slotCount, bool labels, bool pool, IBenchActions& bench);  // shown, attached
//   IBenchWindow& Window();
//   void Drain();                                 // runs what the window's thread has waiting
//   CShownTile Tile(int slot);                    // read as an operator's screen reader reads it
//   std::vector<std::string> Counters();          // the counters' texts, top to bottom
//   std::vector<std::vector<std::string>> ClaimRows();  // the unconfirmed claims' cells
//   std::string PoolNote();
//   void TypeLabel(int slot, const std::string& text);  // into the tile's "Label" field, then Enter
//   std::string LabelField(int slot);             // what the field holds
//   std::vector<std::string> OpenLog(int slot);   // Enter on the focused tile: the log's lines
//   std::string ReleaseRow(int row, bool release);  // Release on the row: the question, answered
//   void RequestClose();                          // the title bar's close button
//   bool IsOpen();
//   std::vector<std::string> Unnamed();           // controls shown without an accessible name
// The test's thread is the window's thread.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bench/BenchWindow.h"

namespace tolvane::contract {

struct CShownTile {
  std::string name;    // the group's accessible name
  std::string status;  // the status text
  int progress = 0, progressMaximum = 0;
  bool labelField = false;  // a field named "Label"
};

// The bench behind the window: it writes down what the window asked.
class CRecordingBench : public IBenchActions {
 public:
  const std::string& LockedCaption() const override { return locked; }
  const std::vector<std::string>& ProfileRows() const override { return rows; }
  void SetLabel(int slot, const std::string& text) override {
    calls.push_back("label " + std::to_string(slot) + " " + text);
  }
  void Release(const std::string& imei) override { calls.push_back("release " + imei); }
  void Keep(const std::string& imei) override { calls.push_back("keep " + imei); }
  void SetSound(bool on) override { calls.push_back(on ? "sound on" : "sound off"); }
  void Close() override { calls.push_back("close"); }

  std::string locked = "Locked for production: dealer.ini";
  std::vector<std::string> rows{"server_ip = 10.0.0.9", "dealer_password = ••••"};
  std::vector<std::string> calls;
};

inline CBenchTile MakeTile(const std::string& name, ETileState state, const std::string& status, int step, int count,
                           EVerdict verdict = EVerdict::None) {
  CBenchTile tile;
  tile.name = name;
  tile.state = state;
  tile.status = status;
  tile.step = step;
  tile.stepCount = count;
  tile.verdict = verdict;
  return tile;
}

// A bench of four: one waiting, one under way, one passed, one failed.
inline CBenchSnapshot BenchOfFour() {
  CBenchSnapshot bench;
  bench.tiles = {
      MakeTile("COM200 (ttySIM0)", ETileState::Waiting, "Waiting for a unit", 0, 0),
      MakeTile("COM201 (ttySIM1)", ETileState::Running, "Step 3 of 9: Update Domain", 3, 9),
      MakeTile("COM202 (ttySIM2)", ETileState::Done, "PASS: IMEI 860000000000001, verified", 9, 9, EVerdict::Pass),
      MakeTile("COM203 (ttySIM3)", ETileState::Done,
               "FAIL: IMEI 860000000000002; Update Domain: the device answered fail", 4, 9, EVerdict::Fail),
  };
  bench.tiles[2].log = {"Device 1: COM202 (ttySIM2)", "  Write IMEI  OK", "  Set Account/Pw  OK (password ••••)",
                        "  Result: OK"};
  bench.counters = {"Passed: 1", "Failed: 1", "Units per hour: 12", "Free: 97", "Unconfirmed: 1"};
  bench.unconfirmed = {{"860000000000003", "bench-1", "COM201 (ttySIM1)", "2026-12-08 10:11:12", "TV12345"}};
  return bench;
}

template <typename Driver>
class BenchWindowContract : public ::testing::Test {
 protected:
  void Make(int slotCount, bool labels, bool pool) { m_driver.Make(slotCount, labels, pool, m_bench); }
  void Show(const CBenchSnapshot& bench) {
    m_driver.Window().ShowBench(bench);
    m_driver.Drain();
  }

  Driver m_driver;
  CRecordingBench m_bench;
};

TYPED_TEST_SUITE_P(BenchWindowContract);

TYPED_TEST_P(BenchWindowContract, eachTileShowsItsPortStatusAndProgress_andEveryControlIsNamed) {
  this->Make(4, false, true);
  this->Show(BenchOfFour());
  const CBenchSnapshot bench = BenchOfFour();
  for (int slot = 0; slot < 4; ++slot) {
    const CShownTile tile = this->m_driver.Tile(slot);
    EXPECT_EQ(tile.name, bench.tiles[static_cast<std::size_t>(slot)].name);
    EXPECT_EQ(tile.status, bench.tiles[static_cast<std::size_t>(slot)].status);
    EXPECT_FALSE(tile.labelField);
  }
  EXPECT_EQ(this->m_driver.Tile(1).progress, 3);
  EXPECT_EQ(this->m_driver.Tile(1).progressMaximum, 9);
  // A verdict fills the bar, whichever step it came at.
  EXPECT_EQ(this->m_driver.Tile(3).progress, this->m_driver.Tile(3).progressMaximum);
  EXPECT_EQ(this->m_driver.Counters(), bench.counters);
  EXPECT_EQ(this->m_driver.Unnamed(), std::vector<std::string>{});
}

TYPED_TEST_P(BenchWindowContract, aTileOpensItsUnitsLogAsPrinted) {
  this->Make(4, false, false);
  this->Show(BenchOfFour());
  EXPECT_EQ(this->m_driver.OpenLog(2), BenchOfFour().tiles[2].log);
}

TYPED_TEST_P(BenchWindowContract, aLabelTypedGoesToTheBench_andARefusedOneStaysInItsField) {
  this->Make(2, true, false);
  CBenchSnapshot bench = BenchOfFour();
  bench.tiles.resize(2);
  this->Show(bench);
  EXPECT_TRUE(this->m_driver.Tile(0).labelField);
  this->m_driver.TypeLabel(0, "A-0001");
  EXPECT_EQ(this->m_bench.calls, std::vector<std::string>{"label 0 A-0001"});
  bench.tiles[0].labelMessage = "The label A-0001 is already used, with IMEI 860000000000001: nothing was sent";
  this->Show(bench);
  EXPECT_EQ(this->m_driver.LabelField(0), "A-0001");
}

TYPED_TEST_P(BenchWindowContract, releaseAsksNamingTheImeiAndTheUnit_andKeepIsPassedOnToo) {
  this->Make(4, false, true);
  this->Show(BenchOfFour());
  ASSERT_EQ(this->m_driver.ClaimRows().size(), 1u);
  EXPECT_EQ(this->m_driver.ClaimRows()[0], (std::vector<std::string>{"860000000000003", "bench-1", "COM201 (ttySIM1)",
                                                                     "2026-12-08 10:11:12", "TV12345"}));
  const std::string question = this->m_driver.ReleaseRow(0, false);
  EXPECT_NE(question.find("860000000000003"), std::string::npos);
  EXPECT_NE(question.find("COM201 (ttySIM1)"), std::string::npos);
  EXPECT_NE(question.find("TV12345"), std::string::npos);
  this->m_driver.ReleaseRow(0, true);
  EXPECT_EQ(this->m_bench.calls, (std::vector<std::string>{"keep 860000000000003", "release 860000000000003"}));
}

TYPED_TEST_P(BenchWindowContract, closingWaitsForTheBenchToCloseItsLinks) {
  this->Make(1, false, false);
  this->m_driver.RequestClose();
  this->m_driver.Drain();
  EXPECT_EQ(this->m_bench.calls, std::vector<std::string>{"close"});
  EXPECT_TRUE(this->m_driver.IsOpen());
  this->m_driver.Window().BenchClosed(0);
  this->m_driver.Drain();
  EXPECT_FALSE(this->m_driver.IsOpen());
}

REGISTER_TYPED_TEST_SUITE_P(BenchWindowContract, eachTileShowsItsPortStatusAndProgress_andEveryControlIsNamed,
                            aTileOpensItsUnitsLogAsPrinted, aLabelTypedGoesToTheBench_andARefusedOneStaysInItsField,
                            releaseAsksNamingTheImeiAndTheUnit_andKeepIsPassedOnToo,
                            closingWaitsForTheBenchToCloseItsLinks);

}  // namespace tolvane::contract
