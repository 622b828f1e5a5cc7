#pragma once

#include "res/Picture.h"

namespace tolvane {

// Bitmap resources 131, 132, 133, 135 and 136: 0 to 4 lit bars. There is no 134.
enum SignalBitmapId : int {
  IDB_SIGNAL_0 = 131,
  IDB_SIGNAL_1 = 132,
  IDB_SIGNAL_2 = 133,
  IDB_SIGNAL_3 = 135,
  IDB_SIGNAL_4 = 136,
};

inline constexpr int kSignalPictureWidth = 62;
inline constexpr int kSignalPictureHeight = 22;
inline constexpr std::uint32_t kSignalBackground = 0xFFFFFF;
inline constexpr std::uint32_t kSignalBarOutline = 0x5C5959;  // red 92, green 89, blue 89
inline constexpr std::uint32_t kSignalBarLit = 0x0C4AFD;      // red 12, green 74, blue 253

// Four bars of rising height at the right-hand side, `litBars` of them filled.
CPicture DrawSignalPicture(int litBars);

// The picture of a bitmap resource id; an unknown id gives an empty picture.
CPicture LoadSignalBitmap(int bitmapId);

}  // namespace tolvane
