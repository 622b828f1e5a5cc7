#pragma once

#include <string>

#include "bench/BenchModel.h"
#include "win32/WinApi.h"
#include "win32/bench/BenchControls.h"

namespace tolvane::win32 {

// One slot of the bench as plain controls of the bench window: a group named for its port, the
// status, the progress, the label field and the way to the unit's log. Each control with no text
// of its own (the bar, the field) follows a caption that names it for screen readers.
class CWin32BenchTile {
 public:
  CWin32BenchTile(HWND window, int slot, bool labels);

  // The width its captions need at least, and its height; in pixels.
  int NeededWidth(const CBenchUnits& units) const;
  static int Height(bool labels, const CBenchUnits& units);
  void Place(const RECT& rect, const CBenchUnits& units);

  // True when the tile's colour changed.
  bool Show(const CBenchTile& tile);
  const CBenchTile& Shown() const { return m_tile; }
  const RECT& Rect() const { return m_rect; }
  // The tile's background: green for a pass, red for a failure; nullptr for the window's own.
  HBRUSH Background() const;

  int Slot() const { return m_nSlot; }
  bool Owns(HWND control) const;
  HWND Group() const { return m_hGroup; }
  HWND LabelField() const { return m_hLabel; }

 private:
  int m_nSlot;
  HWND m_hGroup, m_hStatus, m_hProgressCaption, m_hProgress;
  HWND m_hLabelCaption = nullptr, m_hLabel = nullptr, m_hLabelMessage = nullptr;
  HWND m_hLog;
  RECT m_rect{};
  CBenchTile m_tile;
};

}  // namespace tolvane::win32
