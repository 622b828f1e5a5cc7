#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/MemoryWindow.h"

namespace tolvane::testing {

// The core's window without widgets, with what tests add: a system menu and an About box that
// count, a list width and a failing combo box to inject, the status line as a field, and a pump
// with a bound.
class CHeadlessWindow : public CMemoryWindow {
 public:
  int ComboGetCount(int id) const override { return failComboCount ? -1 : CMemoryWindow::ComboGetCount(id); }
  int ListGetClientWidth(int) const override { return clientWidth; }
  bool AppendSystemMenuItem(int commandId, const std::string& text) override {
    if (!hasSystemMenu) return false;
    systemMenu.emplace_back(commandId, text);
    return true;
  }
  void RunAboutBox() override { ++aboutBoxesShown; }
  void SetStatusText(const std::string& text) override {
    CMemoryWindow::SetStatusText(text);
    statusText = text;
  }

  // Pumps posted tasks until `done` holds or the bound passes; returns `done()`.
  bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds bound = std::chrono::seconds(10));

  int clientWidth = kListClientWidth;
  bool hasSystemMenu = true;
  bool failComboCount = false;
  int aboutBoxesShown = 0;
  std::string statusText;
  std::vector<std::pair<int, std::string>> systemMenu;
};

}  // namespace tolvane::testing
