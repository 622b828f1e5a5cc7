// Reads the running TolvaneBench.exe for the bench test, which drives it from outside:
//   tolvane_bench_probe tiles       prints each tile's name and status, a tab between, one a line
//   tolvane_bench_probe counters    prints each counter, one a line
//   tolvane_bench_probe layout      prints "ok", or each clipped caption and overlap, one a line
//   tolvane_bench_probe close       asks the window to close, as its close box does
//   tolvane_bench_probe shot FILE   saves the window as the screen shows it, as a 24-bit BMP
// Exit status 2 when the bench window is not there. TOLVANE_DESKTOP=NAME makes the probe look on
// the Wine desktop NAME.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "WindowLayoutCheck.h"
#include "res/BenchLayout.h"
#include "res/DialogTemplates.h"
#include "win32/DialogTemplateBuilder.h"
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

// The bench window by its counters, not its title, which is in the language asked for.
HWND FindBench() {
  for (HWND window = nullptr; (window = ::FindWindowExW(nullptr, window, L"#32770", nullptr));)
    if (!::GetWindow(window, GW_OWNER) && ::GetDlgItem(window, kBenchCounterFirst)) return window;
  return nullptr;
}

// What is cut or overlaps, measured in the window's font; a counter's height, a line of the
// layout, says whether the probe's font is the window's.
std::vector<std::string> LayoutFaults(HWND window) {
  const tolvane::CDialogFont& font = tolvane::MainDialogTemplate().font;
  const wchar_t* face = MainWindowFrameStyle().fontFace;
  const int fontHeight = testing::DialogFontHeight(font, face);
  RECT counter{};
  ::GetWindowRect(::GetDlgItem(window, kBenchCounterFirst), &counter);
  std::vector<std::string> faults;
  if (counter.bottom - counter.top != std::max(::MulDiv(tolvane::CBenchLayout::kLineHeight, fontHeight, 8), fontHeight))
    faults.push_back("the probe's font is not the window's: " + std::to_string(fontHeight) + " pixels high");
  for (std::string& fault : testing::ControlFaults(window, font, face)) faults.push_back(std::move(fault));
  return faults;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  if (const char* desktopName = std::getenv("TOLVANE_DESKTOP")) {
    HDESK desktop = ::OpenDesktopW(Widen(desktopName).c_str(), 0, FALSE, GENERIC_ALL);
    if (!desktop || !::SetThreadDesktop(desktop)) return 2;
  }
  HWND window = FindBench();
  if (!window) return 2;
  const std::string what = argv[1];
  if (what == "tiles") {
    for (int slot = 0; HWND group = ::GetDlgItem(window, TileControlId(slot, kTileGroup)); ++slot)
      std::printf("%s\t%s\n", TextOf(group).c_str(),
                  TextOf(::GetDlgItem(window, TileControlId(slot, kTileStatus))).c_str());
    return 0;
  }
  if (what == "counters") {
    for (int id = kBenchCounterFirst; HWND counter = ::GetDlgItem(window, id); ++id)
      std::printf("%s\n", TextOf(counter).c_str());
    return 0;
  }
  if (what == "layout") {
    const std::vector<std::string> faults = LayoutFaults(window);
    if (faults.empty()) std::printf("ok\n");
    for (const std::string& fault : faults) std::printf("%s\n", fault.c_str());
    return 0;
  }
  if (what == "close") return ::PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
  if (what == "shot" && argc > 2) return SaveShot(window, argv[2]) ? 0 : 1;
  return 1;
}
