// Reads a control of the running Tolvane.exe for the window test, which drives it from outside:
//   tolvane_window_probe text ID      prints the control's text
//   tolvane_window_probe enabled ID   prints 1 or 0
//   tolvane_window_probe window       prints 1 while the main window is shown
//   tolvane_window_probe rect         prints the main window's screen rectangle: x y width height
//   tolvane_window_probe focus ID     gives the control the keyboard focus, as Tab would
//   tolvane_window_probe focused      prints the id of the control that has the keyboard focus
//   tolvane_window_probe box          prints the text of the message box open over the window, if any
//   tolvane_window_probe spot         prints a screen point of the main window that no control covers: x y
//   tolvane_window_probe traffic      prints the lines of the open "Traffic…" window; status 3 when it is not open
//   tolvane_window_probe traffic-spot ID  prints the screen point at the middle of the traffic window's control ID
//   tolvane_window_probe dialog       prints the title of the box or dialog open over the window, then the
//                                     text of each of its controls, one a line; status 3 when none is open
//   tolvane_window_probe layout [dialog]  prints "ok", or each clipped caption and overlap of the window (or
//                                     of the dialog open over it), one a line
// Exit status 2 when the main window is not there. When the program runs on a Wine desktop of its
// own (explorer /desktop=NAME), TOLVANE_DESKTOP=NAME makes the probe look there.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "WindowLayoutCheck.h"
#include "win32/DialogTemplateBuilder.h"
#include "win32/Utf16.h"
#include "win32/WinApi.h"

using tolvane::win32::testing::LayoutFaults;

namespace {

// The main window: a dialog titled Tolvane that owns no other window (the About and message
// boxes are owned by it).
HWND FindMainWindow() {
  for (HWND window = nullptr; (window = ::FindWindowExW(nullptr, window, L"#32770", L"Tolvane"));)
    if (!::GetWindow(window, GW_OWNER)) return window;
  return nullptr;
}

// A box or dialog over the window, or over a window of the window's own (the traffic window).
HWND FindMessageBox(HWND owner) {
  for (HWND box = nullptr; (box = ::FindWindowExW(nullptr, box, L"#32770", nullptr));) {
    if (!::IsWindowVisible(box)) continue;
    for (HWND over = ::GetWindow(box, GW_OWNER); over; over = ::GetWindow(over, GW_OWNER))
      if (over == owner) return box;
  }
  return nullptr;
}

std::string TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(::SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return tolvane::win32::Narrow(text);
}

// A point of the window's client area, away from its edges, where the window itself gets the mouse:
// no control and no other window covers it.
bool FindBareSpot(HWND window, POINT& spot) {
  RECT client{};
  ::GetClientRect(window, &client);
  for (int y = 4; y < client.bottom - 30; y += 3)
    for (int x = 4; x < client.right - 4; x += 3) {
      const POINT at{x, y};
      if (::ChildWindowFromPointEx(window, at, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT) != window) continue;
      spot = at;
      ::ClientToScreen(window, &spot);
      if (::WindowFromPoint(spot) == window) return true;
    }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  if (const char* desktopName = std::getenv("TOLVANE_DESKTOP")) {
    HDESK desktop = ::OpenDesktopW(tolvane::win32::Widen(desktopName).c_str(), 0, FALSE, GENERIC_ALL);
    if (!desktop || !::SetThreadDesktop(desktop)) return 2;
  }
  HWND window = FindMainWindow();
  const std::string what = argv[1];
  if (what == "window") {
    std::printf("%d\n", window && ::IsWindowVisible(window) ? 1 : 0);
    return 0;
  }
  if (!window) return 2;
  if (what == "traffic") {
    HWND traffic = ::FindWindowExW(nullptr, nullptr, L"TolvaneTraffic", nullptr);
    if (!traffic || !::IsWindowVisible(traffic)) return 3;
    std::string text = TextOf(::GetDlgItem(traffic, 100));
    std::printf("%s\n", text.c_str());
    return 0;
  }
  if (what == "dialog") {
    HWND box = FindMessageBox(window);
    if (!box) return 3;
    std::printf("%s\n", TextOf(box).c_str());
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      // An icon's text is the resource it shows.
      const bool icon = (::GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
      if (::IsWindowVisible(child) && !icon && ::GetWindowTextLengthW(child) > 0)
        std::printf("%s\n", TextOf(child).c_str());
    }
    return 0;
  }
  if (what == "layout") {
    const bool aboutBox = argc > 2 && std::strcmp(argv[2], "dialog") == 0;
    HWND checked = aboutBox ? FindMessageBox(window) : window;
    if (!checked) return 3;
    // The About box asks for the shell font, which Windows gives as "MS Shell Dlg 2".
    const std::vector<std::string> faults =
        aboutBox
            ? LayoutFaults(checked, tolvane::AboutDialogTemplate(), L"MS Shell Dlg 2")
            : LayoutFaults(checked, tolvane::MainDialogTemplate(), tolvane::win32::MainWindowFrameStyle().fontFace);
    if (faults.empty()) std::printf("ok\n");
    for (const std::string& fault : faults) std::printf("%s\n", fault.c_str());
    return 0;
  }
  if (what == "traffic-spot" && argc > 2) {
    HWND traffic = ::FindWindowExW(nullptr, nullptr, L"TolvaneTraffic", nullptr);
    HWND control = traffic ? ::GetDlgItem(traffic, std::atoi(argv[2])) : nullptr;
    if (!control) return 3;
    RECT rect{};
    ::GetWindowRect(control, &rect);
    std::printf("%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    return 0;
  }
  if (what == "spot") {
    POINT spot{};
    if (!FindBareSpot(window, spot)) return 1;
    std::printf("%ld %ld\n", spot.x, spot.y);
    return 0;
  }
  if (what == "rect") {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    return 0;
  }
  if (what == "focused") {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    // An edit inside a combo box has the focus on the combo box's behalf.
    HWND focus = info.hwndFocus;
    while (focus && ::GetParent(focus) && ::GetParent(focus) != window) focus = ::GetParent(focus);
    std::printf("%d\n", focus ? ::GetDlgCtrlID(focus) : 0);
    return 0;
  }
  if (what == "box") {
    HWND box = FindMessageBox(window);
    std::printf("%s\n", box ? TextOf(::GetDlgItem(box, 0xFFFF)).c_str() : "");
    return 0;
  }
  if (argc < 3) return 1;
  HWND control = ::GetDlgItem(window, std::atoi(argv[2]));
  if (!control) return 1;
  if (what == "enabled") {
    std::printf("%d\n", ::IsWindowEnabled(control) ? 1 : 0);
  } else if (what == "text") {
    std::printf("%s\n", TextOf(control).c_str());
  } else if (what == "focus") {
    ::PostMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  } else {
    return 1;
  }
  return 0;
}
