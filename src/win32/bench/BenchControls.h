#pragma once

#include <string>

#include "win32/WinApi.h"

namespace tolvane::win32 {

// The bench window's control ids, for the window and for what reads it from outside.
enum EBenchControlId : int {
  kBenchProfileGroup = 100,
  kBenchProfileRows,
  kBenchCounterFirst = 110,  // one a counter, top to bottom
  kBenchSound = 120,
  kBenchBanner,
  kBenchClaimsCaption = 130,
  kBenchClaims,
  kBenchPoolNote,
  kBenchRelease,
  kBenchTileFirst = 1000,  // then kBenchTileStride ids a tile, by ETilePart
  kBenchTileStride = 16,
};

enum ETilePart : int {
  kTileGroup,
  kTileStatus,
  kTileProgressCaption,
  kTileProgress,
  kTileLabelCaption,
  kTileLabel,
  kTileLabelMessage,
  kTileLog
};

constexpr int TileControlId(int slot, ETilePart part) { return kBenchTileFirst + slot * kBenchTileStride + part; }

// Dialog units of the bench window's font in pixels, and a line of its text.
struct CBenchUnits {
  HWND dialog;
  int X(int dialogUnits) const;
  int Y(int dialogUnits) const;
  // A status line: the layout's line height, or the font's own where that is taller (a CJK font).
  int Line() const;
};

// A child control of the bench window in the window's font.
HWND MakeChild(HWND parent, const wchar_t* windowClass, const std::wstring& text, DWORD style, int id);

// A caption's size in the window's font, as DrawText lays it out (lines at '\n').
SIZE CaptionSize(HWND window, const std::wstring& text);

// The text a control shows.
std::wstring ControlText(HWND control);
void SetTextIfChanged(HWND control, const std::wstring& text);

}  // namespace tolvane::win32
