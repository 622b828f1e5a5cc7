// Icon 128 in the program's resources is the shared artwork, pixel for pixel. After the artwork
// changes, TOLVANE_WRITE_ICON=<path> writes the icon file anew from it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

#include "res/AppIcon.h"
#include "res/DialogTemplates.h"
#include "win32/WinApi.h"

namespace tolvane::win32 {
namespace {

// The XPM as pixels: 0xRRGGBB, or nothing where it is transparent.
struct CXpmImage {
  int width = 0;
  int height = 0;
  std::vector<std::optional<std::uint32_t>> pixels;
  std::vector<std::uint32_t> palette;
};

CXpmImage ReadXpm(const char* const* xpm) {
  CXpmImage image;
  int colours = 0, charsPerPixel = 0;
  std::istringstream(xpm[0]) >> image.width >> image.height >> colours >> charsPerPixel;
  std::map<std::string, std::optional<std::uint32_t>> table;
  for (int i = 1; i <= colours; ++i) {
    const std::string line = xpm[i];
    const std::string value = line.substr(line.rfind(' ') + 1);
    std::optional<std::uint32_t> colour;
    if (value != "None") colour = static_cast<std::uint32_t>(std::strtoul(value.c_str() + 1, nullptr, 16));
    table[line.substr(0, static_cast<std::size_t>(charsPerPixel))] = colour;
    if (colour) image.palette.push_back(*colour);
  }
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      image.pixels.push_back(table[std::string(xpm[1 + colours + y] + x * charsPerPixel, charsPerPixel)]);
  return image;
}

// An .ico file with one 4-bit image and its transparency mask.
std::string IcoFileOf(const CXpmImage& image) {
  std::string bytes;
  const auto put = [&bytes](std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  const int xorRow = ((image.width * 4 + 31) / 32) * 4, andRow = ((image.width + 31) / 32) * 4;
  const int imageSize = 40 + 16 * 4 + (xorRow + andRow) * image.height;
  put(0, 2), put(1, 2), put(1, 2);                                   // ICONDIR
  put(image.width, 1), put(image.height, 1), put(16, 1), put(0, 1);  // ICONDIRENTRY
  put(1, 2), put(4, 2), put(imageSize, 4), put(22, 4);
  put(40, 4), put(image.width, 4), put(image.height * 2, 4), put(1, 2), put(4, 2);  // BITMAPINFOHEADER
  put(0, 4), put((xorRow + andRow) * image.height, 4), put(0, 4), put(0, 4), put(16, 4), put(0, 4);
  for (int i = 0; i < 16; ++i) put(i < static_cast<int>(image.palette.size()) ? image.palette[i] : 0, 4);
  std::string xorBits, andBits;
  for (int y = image.height - 1; y >= 0; --y) {
    std::string xorLine(static_cast<std::size_t>(xorRow), '\0'), andLine(static_cast<std::size_t>(andRow), '\0');
    for (int x = 0; x < image.width; ++x) {
      const auto& pixel = image.pixels[static_cast<std::size_t>(y * image.width + x)];
      int index = 0;
      for (std::size_t i = 0; pixel && i < image.palette.size(); ++i)
        if (image.palette[i] == *pixel) index = static_cast<int>(i);
      xorLine[static_cast<std::size_t>(x / 2)] |= static_cast<char>(x % 2 ? index : index << 4);
      if (!pixel) andLine[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
    }
    xorBits += xorLine;
    andBits += andLine;
  }
  return bytes + xorBits + andBits;
}

TEST(AppIcon, resourceIconIsTheSharedArtworkPixelForPixel) {
  const CXpmImage artwork = ReadXpm(AppIconXpm());
  if (const char* path = std::getenv("TOLVANE_WRITE_ICON")) std::ofstream(path, std::ios::binary) << IcoFileOf(artwork);

  auto icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                              artwork.width, artwork.height, LR_DEFAULTCOLOR));
  ASSERT_NE(icon, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(::GetIconInfo(icon, &info));
  BITMAPINFO header{};
  header.bmiHeader = {sizeof(BITMAPINFOHEADER), artwork.width, -artwork.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<std::uint32_t> colour(static_cast<std::size_t>(artwork.width * artwork.height));
  std::vector<std::uint32_t> mask(colour.size());
  HDC dc = ::GetDC(nullptr);
  ::GetDIBits(dc, info.hbmColor, 0, static_cast<UINT>(artwork.height), colour.data(), &header, DIB_RGB_COLORS);
  ::GetDIBits(dc, info.hbmMask, 0, static_cast<UINT>(artwork.height), mask.data(), &header, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, dc);
  ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
  ::DestroyIcon(icon);

  int differing = 0;
  for (std::size_t i = 0; i < colour.size(); ++i) {
    const auto& expected = artwork.pixels[i];
    const bool transparent = (mask[i] & 0xFFFFFF) != 0;
    if (expected ? transparent || (colour[i] & 0xFFFFFF) != *expected : !transparent) ++differing;
  }
  EXPECT_EQ(differing, 0) << "src/win32/app/tolvane.ico differs from src/res/tolvane.xpm";
}

}  // namespace
}  // namespace tolvane::win32
