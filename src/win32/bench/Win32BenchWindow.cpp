#include "win32/bench/Win32BenchWindow.h"

#include <algorithm>

#include "res/BenchLayout.h"
#include "res/DialogTemplates.h"
#include "res/Strings.h"
#include "win32/DialogTemplateBuilder.h"
#include "win32/Utf16.h"
#include "win32/bench/BenchLogWindow.h"
#include "win32/bench/ReleaseBox.h"

namespace tolvane::win32 {

namespace {

using L = CBenchLayout;

constexpr int kGroupCaption = 11;
constexpr int kCheckBoxWidth = 14;  // the box and the air before its caption
constexpr DWORD kFullRowSelect = 0x20;

std::wstring Text(int id) { return Widen(LoadString(id)); }

void Place(HWND control, int x, int y, int width, int height) {
  if (control) ::SetWindowPos(control, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int ButtonWidth(HWND button, const CBenchUnits& units) {
  return std::max<int>(units.X(L::kButtonWidth), CaptionSize(button, ControlText(button)).cx + units.X(8));
}

}  // namespace

CWin32BenchWindow::CWin32BenchWindow(int slotCount, bool labels, bool pool)
    : m_nSlots(slotCount), m_bLabels(labels), m_bPool(pool) {
  // An empty dialog in the main window's font: its dialog units are what the layout is measured in.
  const std::string title = LoadString(IDS_BENCH_TITLE);
  const CDialogTemplate frame{0, {title.c_str(), title.c_str()}, 100, 60, 100, 60, MainDialogTemplate().font, {}};
  CDialogFrameStyle style = MainWindowFrameStyle();
  style.style = (style.style | WS_MINIMIZEBOX) & ~static_cast<DWORD>(DS_CENTER);
  const CDialogTemplateBuilder dialogTemplate(frame, GetThreadTextLanguage(), style);
  ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), dialogTemplate.Get(), nullptr,
                               &CWin32BenchWindow::DialogProc, reinterpret_cast<LPARAM>(this));
}

CWin32BenchWindow::~CWin32BenchWindow() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

INT_PTR CALLBACK CWin32BenchWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<CWin32BenchWindow*>(lParam);
    ::SetWindowLongPtrW(window, DWLP_USER, lParam);
    self->m_hWnd = window;
    self->m_tasks = std::make_unique<CWindowTaskQueue>(window, kRunTaskMessage);
    self->MakeControls();
    self->Layout();
    return TRUE;
  }
  auto* self = reinterpret_cast<CWin32BenchWindow*>(::GetWindowLongPtrW(window, DWLP_USER));
  return self ? self->OnMessage(message, wParam, lParam) : FALSE;
}

void CWin32BenchWindow::MakeControls() {
  const auto loadIcon = [](int sizeMetric) {
    const int size = ::GetSystemMetrics(sizeMetric);
    return ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, size, size,
                        LR_DEFAULTCOLOR | LR_SHARED);
  };
  ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(loadIcon(SM_CXICON)));
  ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(loadIcon(SM_CXSMICON)));
  MakeChild(m_hWnd, WC_BUTTONW, L"", BS_GROUPBOX, kBenchProfileGroup);
  MakeChild(m_hWnd, WC_STATICW, L"", SS_LEFT | SS_NOPREFIX, kBenchProfileRows);
  for (int i = 0; i < (m_bPool ? 5 : 3); ++i)
    MakeChild(m_hWnd, WC_STATICW, L"", SS_LEFT | SS_NOPREFIX, kBenchCounterFirst + i);
  HWND sound = MakeChild(m_hWnd, WC_BUTTONW, Text(IDS_BENCH_SOUND), BS_AUTOCHECKBOX | WS_TABSTOP, kBenchSound);
  ::SendMessageW(sound, BM_SETCHECK, BST_CHECKED, 0);
  for (int slot = 0; slot < m_nSlots; ++slot)
    m_tiles.push_back(std::make_unique<CWin32BenchTile>(m_hWnd, slot, m_bLabels));
  if (m_bPool) {
    // The caption names the list for screen readers.
    MakeChild(m_hWnd, WC_STATICW, Text(IDS_BENCH_UNCONFIRMED_TITLE), SS_LEFT | SS_NOPREFIX, kBenchClaimsCaption);
    HWND claims = MakeChild(m_hWnd, WC_LISTVIEWW, L"",
                            LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, kBenchClaims);
    ::SendMessageW(claims, LVM_SETEXTENDEDLISTVIEWSTYLE, kFullRowSelect, kFullRowSelect);
    int column = 0;
    for (const std::string& caption : CBenchModel::UnconfirmedColumns()) {
      std::wstring text = Widen(caption);
      LVCOLUMNW item{};
      item.mask = LVCF_TEXT | LVCF_WIDTH;
      item.pszText = text.data();
      item.cx = CaptionSize(claims, text).cx + 16;
      ::SendMessageW(claims, LVM_INSERTCOLUMNW, column++, reinterpret_cast<LPARAM>(&item));
    }
    ::ShowWindow(MakeChild(m_hWnd, WC_STATICW, L"", SS_LEFT | SS_NOPREFIX, kBenchPoolNote), SW_HIDE);
    MakeChild(m_hWnd, WC_BUTTONW, Text(IDS_BENCH_RELEASE), BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, kBenchRelease);
  }
  ::ShowWindow(MakeChild(m_hWnd, WC_STATICW, L"", SS_LEFT | SS_NOPREFIX, kBenchBanner), SW_HIDE);
}

void CWin32BenchWindow::Layout() {
  const CBenchUnits units{m_hWnd};
  const int marginX = units.X(L::kMargin), marginY = units.Y(L::kMargin), gapX = units.X(L::kGap),
            gapY = units.Y(L::kGap), line = units.Line();
  // Left: what the bench is locked to, the counters and the sound.
  HWND group = ::GetDlgItem(m_hWnd, kBenchProfileGroup), rows = ::GetDlgItem(m_hWnd, kBenchProfileRows);
  const std::wstring rowsText = ControlText(rows);
  const int rowCount = rowsText.empty() ? 0 : 1 + static_cast<int>(std::count(rowsText.begin(), rowsText.end(), L'\n'));
  const int profileWidth = std::max({units.X(L::kProfileWidth),
                                     static_cast<int>(CaptionSize(group, ControlText(group)).cx) + 2 * marginX + gapX,
                                     static_cast<int>(CaptionSize(rows, rowsText).cx) + 2 * marginX});
  const int groupHeight = units.Y(kGroupCaption) + rowCount * line + marginY;
  Place(group, marginX, marginY, profileWidth, groupHeight);
  Place(rows, 2 * marginX, marginY + units.Y(kGroupCaption), profileWidth - 2 * marginX, rowCount * line);
  int left = marginY + groupHeight + gapY;
  for (int i = 0; i < (m_bPool ? 5 : 3); ++i, left += line)
    Place(::GetDlgItem(m_hWnd, kBenchCounterFirst + i), marginX, left, profileWidth, line);
  HWND sound = ::GetDlgItem(m_hWnd, kBenchSound);
  Place(sound, marginX, left + gapY, CaptionSize(sound, ControlText(sound)).cx + units.X(kCheckBoxWidth), line);
  left += gapY + line;

  // Right: the tiles, as wide as the widest needs, then the pool's claims.
  const int x = 2 * marginX + profileWidth;
  int tileWidth = 0;
  for (const auto& tile : m_tiles) tileWidth = std::max(tileWidth, tile->NeededWidth(units));
  const int tileHeight = CWin32BenchTile::Height(m_bLabels, units);
  const int columns = BenchColumns(m_nSlots), tileRows = (m_nSlots + columns - 1) / columns;
  for (const auto& tile : m_tiles) {
    const int column = tile->Slot() % columns, row = tile->Slot() / columns;
    const RECT rect{x + column * (tileWidth + gapX), marginY + row * (tileHeight + gapY), 0, 0};
    tile->Place({rect.left, rect.top, rect.left + tileWidth, rect.top + tileHeight}, units);
  }
  const int width = columns * tileWidth + (columns - 1) * gapX;
  int right = marginY + tileRows * (tileHeight + gapY);
  if (m_bPool) {
    Place(::GetDlgItem(m_hWnd, kBenchClaimsCaption), x, right, width, line);
    right += line;
    Place(::GetDlgItem(m_hWnd, kBenchClaims), x, right, width, units.Y(L::kClaimsHeight));
    right += units.Y(L::kClaimsHeight) + gapY;
    HWND release = ::GetDlgItem(m_hWnd, kBenchRelease);
    const int button = ButtonWidth(release, units);
    Place(release, x + width - button, right, button, units.Y(L::kControlHeight));
    Place(::GetDlgItem(m_hWnd, kBenchPoolNote), x, right, width - button - gapX, 2 * line);
    right += std::max(2 * line, units.Y(L::kControlHeight)) + gapY;
  }
  Place(::GetDlgItem(m_hWnd, kBenchBanner), x, right, width, line);
  right += line;

  RECT frame{0, 0, x + width + marginX, std::max(left, right) + marginY};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)));
  const int frameWidth = frame.right - frame.left, frameHeight = frame.bottom - frame.top;
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  RECT area{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  // Centred until it is shown; after that it keeps its place.
  if (::IsWindowVisible(m_hWnd)) flags |= SWP_NOMOVE;
  ::SetWindowPos(m_hWnd, nullptr, std::max(area.left, (area.left + area.right - frameWidth) / 2),
                 std::max(area.top, (area.top + area.bottom - frameHeight) / 2), frameWidth, frameHeight, flags);
  ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CWin32BenchWindow::Attach(IBenchActions& bench) {
  m_session = &bench;
  ::SetWindowTextW(::GetDlgItem(m_hWnd, kBenchProfileGroup), Widen(bench.LockedCaption()).c_str());
  std::string rows;
  for (const std::string& row : bench.ProfileRows()) rows += (rows.empty() ? "" : "\n") + row;
  ::SetWindowTextW(::GetDlgItem(m_hWnd, kBenchProfileRows), Widen(rows).c_str());
  Layout();
}

void CWin32BenchWindow::Post(std::function<void()> task) {
  if (m_tasks) m_tasks->Post(std::move(task));
}

void CWin32BenchWindow::ShowBench(const CBenchSnapshot& bench) {
  if (!m_hWnd) return;
  std::vector<std::string> names;
  for (std::size_t slot = 0; slot < m_tiles.size() && slot < bench.tiles.size(); ++slot) {
    names.push_back(bench.tiles[slot].name);
    if (m_tiles[slot]->Show(bench.tiles[slot])) {
      const RECT rect = m_tiles[slot]->Rect();
      ::RedrawWindow(m_hWnd, &rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
  }
  // A port's caption may need a wider tile.
  if (names != m_laidOutNames) {
    m_laidOutNames = names;
    Layout();
  }
  for (int i = 0; i < (m_bPool ? 5 : 3) && i < static_cast<int>(bench.counters.size()); ++i)
    SetTextIfChanged(::GetDlgItem(m_hWnd, kBenchCounterFirst + i), Widen(bench.counters[static_cast<std::size_t>(i)]));
  if (m_bPool) {
    if (bench.unconfirmed != m_shownClaims) ShowClaims(bench.unconfirmed);
    HWND note = ::GetDlgItem(m_hWnd, kBenchPoolNote);
    SetTextIfChanged(note, Widen(bench.poolNote));
    ::ShowWindow(note, bench.poolNote.empty() ? SW_HIDE : SW_SHOWNA);
  }
  HWND banner = ::GetDlgItem(m_hWnd, kBenchBanner);
  SetTextIfChanged(banner, Widen(bench.banner));
  ::ShowWindow(banner, bench.banner.empty() ? SW_HIDE : SW_SHOWNA);
}

void CWin32BenchWindow::ShowClaims(const std::vector<CUnconfirmedClaim>& claims) {
  HWND list = ::GetDlgItem(m_hWnd, kBenchClaims);
  const int selected = static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  const std::string selectedImei = selected >= 0 && static_cast<std::size_t>(selected) < m_shownClaims.size()
                                       ? m_shownClaims[static_cast<std::size_t>(selected)].imei
                                       : "";
  ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  for (std::size_t row = 0; row < claims.size(); ++row) {
    const std::vector<std::string> cells = CBenchModel::UnconfirmedCells(claims[row]);
    for (std::size_t column = 0; column < cells.size(); ++column) {
      std::wstring text = Widen(cells[column]);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(row);
      item.iSubItem = static_cast<int>(column);
      item.pszText = text.data();
      ::SendMessageW(list, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    }
    if (claims[row].imei == selectedImei) {
      LVITEMW state{};
      state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
      ::SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    }
  }
  for (int column = 0; column < static_cast<int>(CBenchModel::UnconfirmedColumns().size()); ++column)
    ::SendMessageW(list, LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE_USEHEADER);
  m_shownClaims = claims;
  ::EnableWindow(::GetDlgItem(m_hWnd, kBenchRelease), ::SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) > 0);
}

void CWin32BenchWindow::Beep() { ::MessageBeep(MB_OK); }

void CWin32BenchWindow::BenchClosed(int exitStatus) {
  m_bClosed = true;
  if (onClosed) onClosed(exitStatus);
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

INT_PTR CWin32BenchWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == kBenchClaims && header->code == LVN_ITEMCHANGED)
        ::EnableWindow(::GetDlgItem(m_hWnd, kBenchRelease),
                       ::SendMessageW(header->hwndFrom, LVM_GETSELECTEDCOUNT, 0, 0) > 0);
      return FALSE;
    }
    case WM_LBUTTONUP: OnClick({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}); return TRUE;
    case WM_ERASEBKGND:
      PaintBackground(reinterpret_cast<HDC>(wParam));
      ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      const CWin32BenchTile* tile = TileOf(reinterpret_cast<HWND>(lParam));
      HBRUSH brush = tile ? tile->Background() : nullptr;
      if (!brush) return FALSE;
      LOGBRUSH colour{};
      ::GetObjectW(brush, sizeof colour, &colour);
      ::SetBkColor(reinterpret_cast<HDC>(wParam), colour.lbColor);
      return reinterpret_cast<INT_PTR>(brush);
    }
    case WM_CLOSE:
      // Each step under way finishes and each link closes first; BenchClosed ends the window then.
      if (m_bClosed || !m_session)
        ::DestroyWindow(m_hWnd);
      else
        m_session->Close();
      return TRUE;
    case WM_DESTROY:
      if (m_tasks) m_tasks->Close();
      return FALSE;
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
      m_hWnd = nullptr;
      return FALSE;
    case kRunTaskMessage:
      if (m_tasks) m_tasks->RunOne();
      return TRUE;
    default: return FALSE;
  }
}

void CWin32BenchWindow::OnCommand(int id, int code) {
  if (id == kIdOk) return OnEnter();
  // Esc must not end the bench: only closing does, and it waits for the links.
  if (id == kIdCancel) return;
  if (id == kBenchSound && code == BN_CLICKED && m_session)
    return m_session->SetSound(::SendMessageW(::GetDlgItem(m_hWnd, kBenchSound), BM_GETCHECK, 0, 0) == BST_CHECKED);
  if (id == kBenchRelease && code == BN_CLICKED) return OnRelease();
  if (id < kBenchTileFirst || id >= TileControlId(m_nSlots, kTileGroup)) return;
  const int slot = (id - kBenchTileFirst) / kBenchTileStride, part = (id - kBenchTileFirst) % kBenchTileStride;
  if (part == kTileLog && code == BN_CLICKED) ShowLog(slot);
  if (part == kTileGroup && (code == BN_SETFOCUS || code == BN_KILLFOCUS)) {
    const RECT rect = m_tiles.at(static_cast<std::size_t>(slot))->Rect();
    ::RedrawWindow(m_hWnd, &rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
}

void CWin32BenchWindow::OnEnter() {
  // A scanner types the label and ends it with Enter, as a keyboard would.
  HWND focus = ::GetFocus();
  CWin32BenchTile* tile = TileOf(focus);
  if (!tile) return;
  if (focus == tile->LabelField() && m_session) m_session->SetLabel(tile->Slot(), Narrow(ControlText(focus)));
  if (focus == tile->Group()) ShowLog(tile->Slot());
}

void CWin32BenchWindow::OnClick(POINT at) {
  for (const auto& tile : m_tiles) {
    if (!::PtInRect(&tile->Rect(), at)) continue;
    ::SetFocus(tile->Group());
    ShowLog(tile->Slot());
  }
}

void CWin32BenchWindow::ShowLog(int slot) {
  const CBenchTile& tile = m_tiles.at(static_cast<std::size_t>(slot))->Shown();
  if (tile.log.empty()) return;
  ShowBenchLog(m_hWnd, FormatString(LoadString(IDS_BENCH_LOG_TITLE), tile.name), tile.log);
}

void CWin32BenchWindow::OnRelease() {
  HWND list = ::GetDlgItem(m_hWnd, kBenchClaims);
  const int row = static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (row < 0 || static_cast<std::size_t>(row) >= m_shownClaims.size() || !m_session) return;
  // A copy: the box's own loop shows the bench's changes, the claims among them.
  const CUnconfirmedClaim claim = m_shownClaims[static_cast<std::size_t>(row)];
  if (AskRelease(m_hWnd, ReleaseQuestion(claim)))
    m_session->Release(claim.imei);
  else
    m_session->Keep(claim.imei);
}

void CWin32BenchWindow::PaintBackground(HDC dc) {
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
  for (const auto& tile : m_tiles) {
    if (HBRUSH brush = tile->Background()) ::FillRect(dc, &tile->Rect(), brush);
    // A group box draws no focus of its own.
    if (::GetFocus() != tile->Group()) continue;
    RECT focus = tile->Rect();
    ::InflateRect(&focus, -3, -3);
    ::DrawFocusRect(dc, &focus);
  }
}

CWin32BenchTile* CWin32BenchWindow::TileOf(HWND control) {
  for (const auto& tile : m_tiles)
    if (tile->Owns(control)) return tile.get();
  return nullptr;
}

}  // namespace tolvane::win32
