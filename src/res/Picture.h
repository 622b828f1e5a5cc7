#pragma once

#include <cstdint>
#include <vector>

namespace tolvane {

// A picture as plain pixels, 0xRRGGBB row by row, so the core can describe artwork without a toolkit.
struct CPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// The signal pictures shown at the start of each Wi-Fi row; index = lit bars.
struct CImageList {
  int width = 0;
  int height = 0;
  std::vector<CPicture> pictures;

  void Create(int pictureWidth, int pictureHeight) {
    width = pictureWidth;
    height = pictureHeight;
    pictures.clear();
  }
  int GetImageCount() const { return static_cast<int>(pictures.size()); }
};

}  // namespace tolvane
