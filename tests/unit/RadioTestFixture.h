#pragma once

#include <string>
#include <vector>

#include "LinkTestFixture.h"

namespace tolvane::testing {

// A ready link whose commands stay in the send queue (the workers are parked), with the captions
// that the window's template gives the radio buttons.
class RadioTest : public LinkTest {
 protected:
  void StartReady() {
    StartUp();
    window.SetWindowText(IDC_WIFI_OPEN, "Open Wi-Fi");
    window.SetWindowText(IDC_BT_OPEN, "Open BT");
    window.SetWindowText(IDC_BT_PAIR, "Pair");
    window.SetWindowText(IDC_GPS_OPEN, "Open GPS");
    ConnectReady();
    TakeSentCommands();  // "COM:open~"
  }

  void Say(const std::string& message) { dlg->HandleDeviceMessage(message); }

  int Rows(int listId) const { return window.ListGetItemCount(listId); }
  std::vector<std::string> Row(int listId, int row) const {
    std::vector<std::string> cells;
    for (int column = 0; column < 3; ++column) cells.push_back(window.ListGetItemText(listId, row, column));
    return cells;
  }
  int Image(int listId, int row) const { return window.At(listId).rows.at(static_cast<std::size_t>(row)).image; }
  std::string Text(int id) const { return window.GetWindowText(id); }

  // Ends the link and connects again: what survives a reconnect.
  void Reconnect() {
    dlg->OnConnect();
    ConnectReady();
    TakeSentCommands();
  }
};

using Commands = std::vector<std::string>;
using Cells = std::vector<std::string>;

}  // namespace tolvane::testing
