// Reads the running TolvaneBench.exe for the bench test, which drives it from outside:
//   tolvane_bench_probe tiles       prints each tile's name and status, a tab between, one a line
//   tolvane_bench_probe close       asks the window to close, as its close box does
//   tolvane_bench_probe shot FILE   saves the window as the screen shows it, as a 24-bit BMP
// Exit status 2 when the bench window is not there.
#include <cstdio>
#include <string>

#include "win32/Utf16.h"
#include "win32/WinApi.h"
#include "win32/bench/BenchControls.h"

namespace {

using namespace tolvane::win32;

std::string TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(::SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return Narrow(text);
}

bool SaveShot(HWND window, const char* path) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top, stride = (width * 3 + 3) & ~3;
  HDC screen = ::GetDC(nullptr), memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  ::GdiFlush();
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
  FILE* out = std::fopen(path, "wb");
  const bool saved = out && std::fwrite(&file, sizeof file, 1, out) == 1 &&
                     std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                     std::fwrite(bits, static_cast<std::size_t>(stride) * height, 1, out) == 1;
  if (out) std::fclose(out);
  ::SelectObject(memory, previous);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  HWND window = ::FindWindowExW(nullptr, nullptr, L"#32770", L"Tolvane bench");
  if (!window) return 2;
  const std::string what = argv[1];
  if (what == "tiles") {
    for (int slot = 0; HWND group = ::GetDlgItem(window, TileControlId(slot, kTileGroup)); ++slot)
      std::printf("%s\t%s\n", TextOf(group).c_str(),
                  TextOf(::GetDlgItem(window, TileControlId(slot, kTileStatus))).c_str());
    return 0;
  }
  if (what == "close") return ::PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
  if (what == "shot" && argc > 2) return SaveShot(window, argv[2]) ? 0 : 1;
  return 1;
}
