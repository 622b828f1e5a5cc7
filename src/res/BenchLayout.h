#pragma once

namespace tolvane {

// The bench window's measures, in dialog units of the main dialog's font, for both windows. A tile
// grows past these where its captions need it.
struct CBenchLayout {
  static constexpr int kMargin = 7;
  static constexpr int kGap = 4;
  static constexpr int kTileWidth = 190;
  static constexpr int kStatusLines = 3;  // a verdict names the IMEI, the step and the device's answer
  static constexpr int kLineHeight = 10;
  static constexpr int kControlHeight = 14;
  static constexpr int kButtonWidth = 50;
  static constexpr int kProfileWidth = 150;
  static constexpr int kClaimsHeight = 60;
};

// Tiles per row: a bench of four is two by two, and a long bench stays wider than tall.
constexpr int BenchColumns(int tiles) { return tiles <= 1 ? 1 : tiles <= 4 ? 2 : tiles <= 9 ? 3 : 4; }

}  // namespace tolvane
