#include "RadioTestFixture.h"

namespace tolvane::testing {
namespace {

constexpr char kHeadset[] = "00:11:22:33:44:55";
constexpr char kSpeaker[] = "66:77:88:99:AA:BB";

class BluetoothPanel : public RadioTest {
 protected:
  // Bluetooth on, a paired headset and an unpaired speaker listed.
  void ListTwoDevices() {
    dlg->OnOpenBt();
    Say("BT:open");
    Say(std::string("BT_L:Headset^") + kHeadset + "^P");
    Say(std::string("BT_L:Speaker^") + kSpeaker + "^x");
    TakeSentCommands();
  }
};

TEST_F(BluetoothPanel, switchingGoesOffOpeningOnClosingOff) {
  StartReady();
  EXPECT_FALSE(Enabled(IDC_BT_SEARCH));
  dlg->OnOpenBt();  // Off -> Opening: the flag waits for the reply
  EXPECT_EQ(TakeSentCommands(), Commands{"BT:open~"});
  EXPECT_FALSE(dlg->IsBtOn());
  for (const int id : {IDC_BT_OPEN, IDC_BT_PAIR, IDC_BT_SEARCH}) EXPECT_FALSE(Enabled(id)) << id;

  Say("BT:open");  // Opening -> On
  EXPECT_TRUE(dlg->IsBtOn());
  EXPECT_EQ(Text(IDC_BT_OPEN), "Close BT");
  EXPECT_TRUE(Enabled(IDC_BT_OPEN));
  EXPECT_TRUE(Enabled(IDC_BT_SEARCH));
  EXPECT_FALSE(Enabled(IDC_BT_PAIR));

  dlg->OnOpenBt();  // On -> Closing
  EXPECT_EQ(TakeSentCommands(), Commands{"BT:close~"});
  EXPECT_TRUE(dlg->IsBtOn());
  for (const int id : {IDC_BT_OPEN, IDC_BT_PAIR, IDC_BT_SEARCH}) EXPECT_FALSE(Enabled(id)) << id;

  Say("BT:close");  // Closing -> Off
  EXPECT_FALSE(dlg->IsBtOn());
  EXPECT_EQ(Text(IDC_BT_OPEN), "Open BT");
  EXPECT_TRUE(Enabled(IDC_BT_OPEN));
  EXPECT_FALSE(Enabled(IDC_BT_SEARCH));
  EXPECT_FALSE(Enabled(IDC_BT_PAIR));
}

TEST_F(BluetoothPanel, rowsAreDroppedWhileOpeningAndTakenWhileClosing) {
  StartReady();
  dlg->OnOpenBt();
  Say(std::string("BT_L:Headset^") + kHeadset + "^P");
  EXPECT_EQ(Rows(IDC_BT_LIST), 0);
  Say("BT:open");
  dlg->OnOpenBt();
  Say(std::string("BT_L:Headset^") + kHeadset + "^P");
  EXPECT_EQ(Rows(IDC_BT_LIST), 1);
  Say("BT:close");
  EXPECT_EQ(Rows(IDC_BT_LIST), 0);
}

TEST_F(BluetoothPanel, rowsAreUpdatedInPlaceByAddress) {
  StartReady();
  ListTwoDevices();
  EXPECT_EQ(Row(IDC_BT_LIST, 0), (Cells{"Headset", kHeadset, "Paired"}));
  EXPECT_EQ(Row(IDC_BT_LIST, 1), (Cells{"Speaker", kSpeaker, ""}));

  dlg->OnClickBtList(0);
  Say(std::string("BT_L:Headset 2^") + kHeadset + "^x");  // renamed, no longer paired
  Say(std::string("BT_L:Speaker^") + kSpeaker + "^p");    // lower case is not paired
  Say("BT_L:Car^00:AA");                                  // one "^" only: dropped
  ASSERT_EQ(Rows(IDC_BT_LIST), 2);
  EXPECT_EQ(Row(IDC_BT_LIST, 0), (Cells{"Headset 2", kHeadset, ""}));
  EXPECT_EQ(Row(IDC_BT_LIST, 1)[2], "");
  // The selected row changed, but neither the selection nor the caption follows.
  EXPECT_EQ(dlg->GetBtSelected(), kHeadset);
  EXPECT_EQ(Text(IDC_BT_PAIR), "Unpair");

  Say("BT_L:Car^CC:DD^rest^P");  // the flag is everything after the second "^"
  EXPECT_EQ(Row(IDC_BT_LIST, 2), (Cells{"Car", "CC:DD", ""}));
}

TEST_F(BluetoothPanel, clickSetsTheCaptionFromTheRowsStatus) {
  StartReady();
  ListTwoDevices();
  dlg->OnClickBtList(-1);
  EXPECT_FALSE(Enabled(IDC_BT_PAIR));
  dlg->OnClickBtList(0);
  EXPECT_EQ(dlg->GetBtSelected(), kHeadset);
  EXPECT_EQ(Text(IDC_BT_PAIR), "Unpair");
  EXPECT_TRUE(Enabled(IDC_BT_PAIR));
  dlg->OnClickBtList(1);
  EXPECT_EQ(Text(IDC_BT_PAIR), "Pair");
}

TEST_F(BluetoothPanel, theCaptionDecidesBetweenPairAndUnpair) {
  StartReady();
  ListTwoDevices();
  dlg->OnClickBtList(0);
  window.SetWindowText(IDC_BT_PIN, "1234");
  dlg->OnPairBt();
  EXPECT_EQ(TakeSentCommands(), Commands{std::string("BT:") + kHeadset + "^unpair~"});
  EXPECT_TRUE(dlg->IsBtPairing());
  EXPECT_FALSE(Enabled(IDC_BT_PAIR));

  dlg->OnClickBtList(1);  // outstanding: the button stays disabled
  EXPECT_FALSE(Enabled(IDC_BT_PAIR));
  Say(std::string("BT_P:") + kHeadset + "^unpair_ok");
  dlg->OnPairBt();
  EXPECT_EQ(TakeSentCommands(), Commands{std::string("BT:") + kSpeaker + "^pair^1234~"});
}

TEST_F(BluetoothPanel, pairWithAnEmptyPinSendsNothingAfterTheLastCaret) {
  StartReady();
  ListTwoDevices();
  dlg->OnClickBtList(1);
  dlg->OnPairBt();
  EXPECT_EQ(TakeSentCommands(), Commands{std::string("BT:") + kSpeaker + "^pair^~"});
}

TEST_F(BluetoothPanel, pinHoldingTheTerminatorIsRefusedAndNothingChanges) {
  StartReady();
  ListTwoDevices();
  dlg->OnClickBtList(1);
  window.SetWindowText(IDC_BT_PIN, "12~BT:close");
  dlg->OnPairBt();
  EXPECT_EQ(window.MessageBoxes(), std::vector<std::string>{"The text must not contain the character ~"});
  EXPECT_TRUE(TakeSentCommands().empty());
  EXPECT_FALSE(dlg->IsBtPairing());
  EXPECT_TRUE(Enabled(IDC_BT_PAIR));
}

TEST_F(BluetoothPanel, pressWithoutASelectionDoesNothing) {
  StartReady();
  dlg->OnPairBt();
  EXPECT_TRUE(TakeSentCommands().empty());
  EXPECT_FALSE(dlg->IsBtPairing());
}

TEST_F(BluetoothPanel, successfulPairingMarksTheRowAndFlipsTheSelectedCaption) {
  StartReady();
  ListTwoDevices();
  dlg->OnClickBtList(1);
  dlg->OnPairBt();
  Say(std::string("BT_P:") + kSpeaker + "^pair_fail");
  EXPECT_FALSE(dlg->IsBtPairing());
  EXPECT_TRUE(Enabled(IDC_BT_PAIR));
  EXPECT_EQ(Row(IDC_BT_LIST, 1)[2], "");
  EXPECT_EQ(Text(IDC_BT_PAIR), "Pair");

  dlg->OnPairBt();
  Say(std::string("BT_P:") + kSpeaker + "^pair_ok");
  EXPECT_EQ(Row(IDC_BT_LIST, 1)[2], "Paired");
  EXPECT_EQ(Text(IDC_BT_PAIR), "Unpair");

  // Another device's result changes its row only.
  Say(std::string("BT_P:") + kHeadset + "^unpair_ok");
  EXPECT_EQ(Row(IDC_BT_LIST, 0)[2], "");
  EXPECT_EQ(Text(IDC_BT_PAIR), "Unpair");
  EXPECT_TRUE(window.MessageBoxes().empty());
}

TEST_F(BluetoothPanel, pairResultsWithoutCaretOrWithAnUnknownWordAreIgnored) {
  StartReady();
  ListTwoDevices();
  dlg->OnClickBtList(1);
  dlg->OnPairBt();
  Say(std::string("BT_P:") + kSpeaker);
  Say(std::string("BT_P:") + kSpeaker + "^PAIR_OK");
  Say(std::string("BT_P:") + kSpeaker + "^pair_ok^x");
  EXPECT_TRUE(dlg->IsBtPairing());
  EXPECT_FALSE(Enabled(IDC_BT_PAIR));
  EXPECT_EQ(Row(IDC_BT_LIST, 1)[2], "");
}

TEST_F(BluetoothPanel, resultForAnUnlistedDeviceOnlyEndsTheRequest) {
  StartReady();
  ListTwoDevices();
  dlg->OnClickBtList(1);
  dlg->OnPairBt();
  Say("BT_P:12:34:56:78:9A:BC^pair_ok");
  EXPECT_FALSE(dlg->IsBtPairing());
  EXPECT_TRUE(Enabled(IDC_BT_PAIR));
  EXPECT_EQ(Row(IDC_BT_LIST, 0)[2], "Paired");
  EXPECT_EQ(Row(IDC_BT_LIST, 1)[2], "");
}

TEST_F(BluetoothPanel, searchEmptiesListAndSelectionButKeepsThePairButton) {
  StartReady();
  dlg->OnSearchBt();  // off: nothing
  EXPECT_TRUE(TakeSentCommands().empty());

  ListTwoDevices();
  dlg->OnClickBtList(0);
  dlg->OnPairBt();
  TakeSentCommands();
  dlg->OnSearchBt();
  EXPECT_EQ(TakeSentCommands(), Commands{"BT:research~"});
  EXPECT_EQ(Rows(IDC_BT_LIST), 0);
  EXPECT_EQ(dlg->GetBtSelected(), "");
  EXPECT_EQ(Text(IDC_BT_PAIR), "Unpair");
  EXPECT_FALSE(Enabled(IDC_BT_PAIR));

  Say(std::string("BT_L:Headset^") + kHeadset + "^P");
  Say(std::string("BT_P:") + kHeadset + "^unpair_ok");  // no longer the selection: caption stays
  EXPECT_EQ(Row(IDC_BT_LIST, 0)[2], "");
  EXPECT_EQ(Text(IDC_BT_PAIR), "Unpair");
  EXPECT_TRUE(Enabled(IDC_BT_PAIR));
  dlg->OnPairBt();  // nothing selected
  EXPECT_TRUE(TakeSentCommands().empty());
}

TEST_F(BluetoothPanel, linkResetClearsListAndRequestButKeepsSwitchCaptionsAndPin) {
  StartReady();
  ListTwoDevices();
  dlg->OnClickBtList(0);
  window.SetWindowText(IDC_BT_PIN, "0000");
  dlg->OnPairBt();

  Reconnect();
  EXPECT_EQ(Rows(IDC_BT_LIST), 0);
  EXPECT_EQ(dlg->GetBtSelected(), "");
  EXPECT_FALSE(dlg->IsBtPairing());
  EXPECT_TRUE(dlg->IsBtOn());
  EXPECT_EQ(Text(IDC_BT_OPEN), "Close BT");
  EXPECT_EQ(Text(IDC_BT_PAIR), "Unpair");
  EXPECT_EQ(Text(IDC_BT_PIN), "0000");
  EXPECT_TRUE(Enabled(IDC_BT_SEARCH));  // Bluetooth is on as far as the window knows
  EXPECT_FALSE(Enabled(IDC_BT_PAIR));   // nothing selected

  dlg->OnConnect();
  EXPECT_FALSE(Enabled(IDC_BT_SEARCH));
}

}  // namespace
}  // namespace tolvane::testing
