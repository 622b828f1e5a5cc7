#include "res/SignalPictures.h"

namespace tolvane {
namespace {

constexpr int kBarWidth = 8;
constexpr int kBarGap = 3;
constexpr int kRightMargin = 4;
constexpr int kBottomMargin = 3;
constexpr int kBarHeights[4] = {5, 9, 13, 17};

}  // namespace

CPicture DrawSignalPicture(int litBars) {
  CPicture picture{kSignalPictureWidth, kSignalPictureHeight,
                   std::vector<std::uint32_t>(kSignalPictureWidth * kSignalPictureHeight, kSignalBackground)};
  const int firstBarLeft = kSignalPictureWidth - kRightMargin - 4 * kBarWidth - 3 * kBarGap;
  const int bottom = kSignalPictureHeight - kBottomMargin;  // one past the lowest row
  for (int bar = 0; bar < 4; ++bar) {
    const int left = firstBarLeft + bar * (kBarWidth + kBarGap);
    const int top = bottom - kBarHeights[bar];
    const bool lit = bar < litBars;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < left + kBarWidth; ++x) {
        const bool edge = x == left || x == left + kBarWidth - 1 || y == top || y == bottom - 1;
        if (lit)
          picture.pixels[static_cast<std::size_t>(y * kSignalPictureWidth + x)] = kSignalBarLit;
        else if (edge)
          picture.pixels[static_cast<std::size_t>(y * kSignalPictureWidth + x)] = kSignalBarOutline;
      }
    }
  }
  return picture;
}

CPicture LoadSignalBitmap(int bitmapId) {
  switch (bitmapId) {
    case IDB_SIGNAL_0: return DrawSignalPicture(0);
    case IDB_SIGNAL_1: return DrawSignalPicture(1);
    case IDB_SIGNAL_2: return DrawSignalPicture(2);
    case IDB_SIGNAL_3: return DrawSignalPicture(3);
    case IDB_SIGNAL_4: return DrawSignalPicture(4);
    default: return {};
  }
}

}  // namespace tolvane
