#include "link/Framing.h"
#include "res/Strings.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

namespace {

constexpr int kNameColumn = 0;
constexpr int kAddressColumn = 1;
constexpr int kStatusColumn = 2;

// The device's address is the key of a row: the first row that has it, or -1.
int FindRowByAddress(const CListCtrl& list, const std::string& address) {
  const int count = list.GetItemCount();
  for (int row = 0; row < count; ++row)
    if (list.GetItemText(row, kAddressColumn) == address) return row;
  return -1;
}

}  // namespace

void CMirlSettingsDlg::OnOpenBt() {
  if (!m_link.IsRunning()) return;
  // Unlike Wi-Fi, the on flag waits for the device's reply.
  SendCommand(ECommand::OpenBt, m_bBtOn ? "BT:close" : "BT:open");
  m_listBt.DeleteAllItems();
  m_btnBtOpen.EnableWindow(false);
  m_btnBtPair.EnableWindow(false);
  m_btnBtSearch.EnableWindow(false);
  m_strBtSelected.clear();
}

void CMirlSettingsDlg::OnSearchBt() {
  if (!m_bBtOn) return;
  // Answered by list rows only: nothing to wait for.
  SendCommand(ECommand::SearchBt, "BT:research", false);
  m_listBt.DeleteAllItems();
  m_strBtSelected.clear();
}

void CMirlSettingsDlg::OnClickBtList(int item) {
  if (item < 0 || item >= m_listBt.GetItemCount()) return;
  m_strBtSelected = m_listBt.GetItemText(item, kAddressColumn);
  // The caption records what the next press does.
  const bool paired = !m_listBt.GetItemText(item, kStatusColumn).empty();
  m_btnBtPair.SetWindowText(LoadString(paired ? IDS_UNPAIR : IDS_PAIR));
  if (!m_bBtPairing) EnableAfterReply(m_btnBtPair);
}

void CMirlSettingsDlg::OnPairBt() {
  if (m_strBtSelected.empty()) return;
  std::string command = "BT:" + m_strBtSelected + kFieldSeparator;
  if (m_btnBtPair.GetWindowText() == LoadString(IDS_PAIR)) {
    const std::string pin = m_editBtPin.GetWindowText();
    if (RefuseTerminator(ECommand::PairBt, {pin})) return;
    command += std::string("pair") + kFieldSeparator + pin;
  } else {
    command += "unpair";
  }
  SendCommand(ECommand::PairBt, command);
  m_bBtPairing = true;
  m_btnBtPair.EnableWindow(false);
}

void CMirlSettingsDlg::OnBtStateReply(bool on) {
  const bool bAsked = !m_bBtOn;  // the flag waits for the reply
  m_btnBtOpen.SetWindowText(LoadString(on ? IDS_CLOSE_BT : IDS_OPEN_BT));
  EnableAfterReply(m_btnBtSearch, on);
  m_listBt.DeleteAllItems();
  m_strBtSelected.clear();
  m_bBtOn = on;
  if (!on) {
    m_btnBtPair.EnableWindow(false);
    m_btnBtSearch.EnableWindow(false);
  }
  if (m_bDeviceReady) {
    EnableAfterReply(m_btnBtOpen);
    if (on) {
      if (!m_strBtSelected.empty()) EnableAfterReply(m_btnBtPair);
      EnableAfterReply(m_btnBtSearch);
    }
  }
  Settle(ECommand::OpenBt, on == bAsked ? EOutcome::Ok : EOutcome::Fail);
}

void CMirlSettingsDlg::AddBtListRow(const std::string& text) {
  std::string name, rest, address, flag;
  if (SplitAt(text, kFieldSeparator, name, rest) < 0) return;
  if (SplitAt(rest, kFieldSeparator, address, flag) < 0) return;
  const std::string status = flag == "P" ? LoadString(IDS_PAIRED) : std::string();
  // One row per address, updated in place; the selection and the Pair button stay as they are.
  const int existing = FindRowByAddress(m_listBt, address);
  if (existing >= 0) {
    m_listBt.SetItemText(existing, kNameColumn, name);
    m_listBt.SetItemText(existing, kStatusColumn, status);
    return;
  }
  const int row = m_listBt.InsertItem(m_listBt.GetItemCount(), name, -1);
  m_listBt.SetItemText(row, kAddressColumn, address);
  m_listBt.SetItemText(row, kStatusColumn, status);
}

void CMirlSettingsDlg::OnBtPairReply(const std::string& address, bool unpair, bool ok) {
  m_bBtPairing = false;
  if (ok) {
    const int row = FindRowByAddress(m_listBt, address);
    if (row >= 0) m_listBt.SetItemText(row, kStatusColumn, unpair ? std::string() : LoadString(IDS_PAIRED));
  }
  EnableAfterReply(m_btnBtPair);
  if (ok && address == m_strBtSelected) m_btnBtPair.SetWindowText(LoadString(unpair ? IDS_PAIR : IDS_UNPAIR));
  Settle(ECommand::PairBt, ok ? EOutcome::Ok : EOutcome::Fail);
}

void CMirlSettingsDlg::OnBtMessage(const std::string& value) {
  if (value == "open")
    OnBtStateReply(true);
  else if (value == "close")
    OnBtStateReply(false);
}

void CMirlSettingsDlg::OnBtPairMessage(const std::string& value) {
  // The address may hold colons: the dispatcher's split at the first ":" left it whole.
  std::string address, outcome;
  if (SplitAt(value, kFieldSeparator, address, outcome) < 0) return;
  if (outcome == "pair_ok")
    OnBtPairReply(address, false, true);
  else if (outcome == "pair_fail")
    OnBtPairReply(address, false, false);
  else if (outcome == "unpair_ok")
    OnBtPairReply(address, true, true);
  else if (outcome == "unpair_fail")
    OnBtPairReply(address, true, false);
}

void CMirlSettingsDlg::OnBtListMessage(const std::string& value) {
  if (m_bBtOn) AddBtListRow(value);
}

}  // namespace tolvane
