// The bench window contract for the Win32 bench window, under Wine: read and driven as an operator
// with a screen reader would, through the controls' own messages.
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "BenchWindowContract.h"
#include "Win32TestSupport.h"
#include "win32/bench/BenchLogWindow.h"
#include "win32/bench/Win32BenchWindow.h"

namespace tolvane::contract {
namespace {

using namespace win32;
using win32::testing::ClassOf;
using win32::testing::TextOf;

// What a screen reader calls a control: its text, or for a field, a bar or a list the caption just
// before it, as Windows' accessibility layer names them.
std::string NameOf(HWND control) {
  const std::wstring kind = ClassOf(control);
  if (kind == WC_BUTTONW || kind == WC_STATICW) return TextOf(control);
  HWND before = ::GetWindow(control, GW_HWNDPREV);
  return before && ClassOf(before) == WC_STATICW ? TextOf(before) : "";
}

class CWin32BenchDriver {
 public:
  CWin32BenchDriver() { win32::testing::RegisterCommonControls(); }
  ~CWin32BenchDriver() {
    m_window.reset();
    Drain();
  }

  void Make(int slotCount, bool labels, bool pool, IBenchActions& bench) {
    m_window = std::make_unique<CWin32BenchWindow>(slotCount, labels, pool);
    m_hWnd = m_window->Handle();
    m_window->Attach(bench);
    ::ShowWindow(m_hWnd, SW_SHOWNA);
  }
  IBenchWindow& Window() { return *m_window; }
  void Drain() {
    win32::testing::PumpUntil(m_hWnd, [] { return !::GetQueueStatus(QS_ALLINPUT); });
  }

  CShownTile Tile(int slot) const {
    CShownTile tile{TextOf(Item(slot, kTileGroup)), TextOf(Item(slot, kTileStatus))};
    tile.progress = static_cast<int>(::SendMessageW(Item(slot, kTileProgress), PBM_GETPOS, 0, 0));
    tile.progressMaximum = static_cast<int>(::SendMessageW(Item(slot, kTileProgress), PBM_GETRANGE, FALSE, 0));
    HWND field = Item(slot, kTileLabel);
    tile.labelField = field && ::IsWindowVisible(field) && NameOf(field) == "Label";
    return tile;
  }
  std::vector<std::string> Counters() const {
    std::vector<std::string> texts;
    for (int id = kBenchCounterFirst; ::GetDlgItem(m_hWnd, id); ++id) texts.push_back(TextOf(::GetDlgItem(m_hWnd, id)));
    return texts;
  }
  std::vector<std::vector<std::string>> ClaimRows() const {
    HWND list = ::GetDlgItem(m_hWnd, kBenchClaims);
    const int columns = static_cast<int>(
        ::SendMessageW(reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0));
    std::vector<std::vector<std::string>> rows(static_cast<std::size_t>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
    for (std::size_t row = 0; row < rows.size(); ++row)
      for (int column = 0; column < columns; ++column) {
        wchar_t text[256] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 256;
        ::SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        rows[row].push_back(Narrow(text));
      }
    return rows;
  }
  std::string PoolNote() const {
    HWND note = ::GetDlgItem(m_hWnd, kBenchPoolNote);
    return ::IsWindowVisible(note) ? TextOf(note) : "";
  }
  void TypeLabel(int slot, const std::string& text) {
    HWND field = Item(slot, kTileLabel);
    ::SetFocus(field);
    ::SetWindowTextW(field, Widen(text).c_str());
    Press(field, VK_RETURN);
  }
  std::string LabelField(int slot) const { return TextOf(Item(slot, kTileLabel)); }
  std::vector<std::string> OpenLog(int slot) {
    ::SetFocus(Item(slot, kTileGroup));
    Press(Item(slot, kTileGroup), VK_RETURN);
    HWND log = ::FindWindowExW(nullptr, nullptr, kBenchLogClass, nullptr);
    if (!log || ::GetWindow(log, GW_OWNER) != m_hWnd) return {};
    std::vector<std::string> lines;
    const std::string text = TextOf(::GetDlgItem(log, kBenchLogTextId));
    for (std::size_t at = 0; at <= text.size();) {
      const std::size_t end = std::min(text.find("\r\n", at), text.size());
      lines.push_back(text.substr(at, end - at));
      at = end + 2;
    }
    ::DestroyWindow(log);
    return lines;
  }
  // Selects the row, presses Release and answers the box from another thread, as a person would.
  std::string ReleaseRow(int row, bool release) {
    LVITEMW state{};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(::GetDlgItem(m_hWnd, kBenchClaims), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&state));
    Drain();
    std::string question;
    std::atomic<bool> pressed{false};
    std::thread person([&] {
      const std::string answer = release ? "Release" : "Keep";
      for (const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
           !pressed && std::chrono::steady_clock::now() < deadline;
           std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
        HWND box = nullptr;
        while ((box = ::FindWindowExW(nullptr, box, L"#32770", nullptr)))
          if (::GetWindow(box, GW_OWNER) == m_hWnd && ::IsWindowVisible(box)) break;
        if (!box) continue;
        HWND button = nullptr;
        question = TextOf(box);
        for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
          question.append("\n").append(TextOf(child));
          if (TextOf(child) == answer) button = child;
        }
        if (!button) continue;
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
        pressed = true;
      }
    });
    ::SendMessageW(::GetDlgItem(m_hWnd, kBenchRelease), BM_CLICK, 0, 0);
    pressed = true;
    person.join();
    Drain();
    return question;
  }
  void RequestClose() { ::PostMessageW(m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); }
  bool IsOpen() const { return m_hWnd && ::IsWindow(m_hWnd); }
  std::vector<std::string> Unnamed() const {
    std::vector<std::string> unnamed;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
      if (::IsWindowVisible(child) && NameOf(child).empty())
        unnamed.push_back(Narrow(ClassOf(child)) + " " + std::to_string(::GetDlgCtrlID(child)));
    return unnamed;
  }

 private:
  HWND Item(int slot, ETilePart part) const { return ::GetDlgItem(m_hWnd, TileControlId(slot, part)); }
  void Press(HWND control, UINT key) {
    ::PostMessageW(control, WM_KEYDOWN, key, 1);
    ::PostMessageW(control, WM_KEYUP, key, 1 | (3u << 30));
    Drain();
  }

  std::unique_ptr<CWin32BenchWindow> m_window;
  HWND m_hWnd = nullptr;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32BenchWindow, BenchWindowContract, CWin32BenchDriver);

}  // namespace
}  // namespace tolvane::contract
