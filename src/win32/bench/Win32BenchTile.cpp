#include "win32/bench/Win32BenchTile.h"

#include <algorithm>

#include "res/BenchLayout.h"
#include "res/Strings.h"
#include "win32/Utf16.h"

namespace tolvane::win32 {

namespace {

using L = CBenchLayout;

std::wstring Text(int id) { return Widen(LoadString(id)); }

// Room above a group's first control for its caption.
constexpr int kGroupCaption = 11;
// The least a field or a bar is wide beside its caption.
constexpr int kFieldWidth = 60;
constexpr int kLabelMessageLines = 2;

}  // namespace

CWin32BenchTile::CWin32BenchTile(HWND window, int slot, bool labels) : m_nSlot(slot) {
  // A tab stop, so that Enter on the focused tile opens its log; it tells the window when it has the
  // focus, which the window then draws.
  m_hGroup = MakeChild(window, WC_BUTTONW, L"", BS_GROUPBOX | BS_NOTIFY | WS_TABSTOP, TileControlId(slot, kTileGroup));
  m_hStatus = MakeChild(window, WC_STATICW, L"", SS_LEFT | SS_NOPREFIX, TileControlId(slot, kTileStatus));
  m_hProgressCaption = MakeChild(window, WC_STATICW, Text(IDS_BENCH_PROGRESS), SS_LEFT | SS_NOPREFIX,
                                 TileControlId(slot, kTileProgressCaption));
  m_hProgress = MakeChild(window, PROGRESS_CLASSW, L"", 0, TileControlId(slot, kTileProgress));
  ::SendMessageW(m_hProgress, PBM_SETRANGE32, 0, 1);
  if (labels) {
    m_hLabelCaption = MakeChild(window, WC_STATICW, Text(IDS_BENCH_LABEL), SS_LEFT | SS_NOPREFIX,
                                TileControlId(slot, kTileLabelCaption));
    m_hLabel = MakeChild(window, WC_EDITW, L"", ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP,
                         TileControlId(slot, kTileLabel));
    m_hLabelMessage = MakeChild(window, WC_STATICW, L"", SS_LEFT | SS_NOPREFIX, TileControlId(slot, kTileLabelMessage));
    ::ShowWindow(m_hLabelMessage, SW_HIDE);
  }
  m_hLog = MakeChild(window, WC_BUTTONW, Text(IDS_BENCH_SHOW_LOG), BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED,
                     TileControlId(slot, kTileLog));
}

int CWin32BenchTile::NeededWidth(const CBenchUnits& units) const {
  const int inner = 2 * units.X(L::kMargin);
  int width = units.X(L::kTileWidth);
  width = std::max<int>(width, CaptionSize(m_hGroup, Widen(m_tile.name)).cx + inner + units.X(L::kGap));
  for (HWND caption : {m_hProgressCaption, m_hLabelCaption})
    if (caption)
      width = std::max<int>(width, CaptionSize(caption, ControlText(caption)).cx + units.X(kFieldWidth) + inner);
  return width;
}

int CWin32BenchTile::Height(bool labels, const CBenchUnits& units) {
  int height =
      units.Y(kGroupCaption) + L::kStatusLines * units.Line() + 2 * (units.Y(L::kGap) + units.Y(L::kControlHeight));
  if (labels) height += units.Y(L::kGap) + units.Y(L::kControlHeight) + kLabelMessageLines * units.Line();
  return height + units.Y(L::kMargin);
}

void CWin32BenchTile::Place(const RECT& rect, const CBenchUnits& units) {
  m_rect = rect;
  const auto place = [](HWND control, int x, int y, int width, int height) {
    if (control) ::SetWindowPos(control, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  };
  place(m_hGroup, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  const int left = rect.left + units.X(L::kMargin), right = rect.right - units.X(L::kMargin);
  const int row = units.Y(L::kControlHeight), gap = units.Y(L::kGap);
  int y = rect.top + units.Y(kGroupCaption);
  place(m_hStatus, left, y, right - left, L::kStatusLines * units.Line());
  y += L::kStatusLines * units.Line() + gap;
  // Captions beside their controls, all as wide as the widest so that the controls line up.
  int caption = 0;
  for (HWND control : {m_hProgressCaption, m_hLabelCaption})
    if (control) caption = std::max<int>(caption, CaptionSize(control, ControlText(control)).cx + units.X(L::kGap));
  const int captionTop = (row - units.Line()) / 2;
  place(m_hProgressCaption, left, y + captionTop, caption, units.Line());
  place(m_hProgress, left + caption, y, right - left - caption, row);
  y += row + gap;
  if (m_hLabel) {
    place(m_hLabelCaption, left, y + captionTop, caption, units.Line());
    place(m_hLabel, left + caption, y, right - left - caption, row);
    y += row;
    place(m_hLabelMessage, left, y, right - left, kLabelMessageLines * units.Line());
    y += kLabelMessageLines * units.Line() + gap;
  }
  const int button = std::max<int>(units.X(L::kButtonWidth), CaptionSize(m_hLog, ControlText(m_hLog)).cx + units.X(8));
  place(m_hLog, right - button, y, button, row);
}

bool CWin32BenchTile::Show(const CBenchTile& tile) {
  SetTextIfChanged(m_hGroup, Widen(tile.name));
  SetTextIfChanged(m_hStatus, Widen(tile.status));
  const int maximum = std::max(tile.stepCount, 1);
  ::SendMessageW(m_hProgress, PBM_SETRANGE32, 0, maximum);
  // A verdict fills the bar, whichever step it came at.
  ::SendMessageW(m_hProgress, PBM_SETPOS, tile.verdict != EVerdict::None ? maximum : tile.step, 0);
  if (m_hLabel) {
    ::EnableWindow(m_hLabel, tile.state != ETileState::Running);
    // What the operator typed stays until the model takes it or the unit is done with it.
    if (tile.label != m_tile.label || (tile.state == ETileState::Done && m_tile.state != ETileState::Done))
      ::SetWindowTextW(m_hLabel, Widen(tile.label).c_str());
    if (!tile.labelMessage.empty() && tile.labelMessage != m_tile.labelMessage)
      ::SendMessageW(m_hLabel, EM_SETSEL, 0, -1);
    SetTextIfChanged(m_hLabelMessage, Widen(tile.labelMessage));
    ::ShowWindow(m_hLabelMessage, tile.labelMessage.empty() ? SW_HIDE : SW_SHOWNA);
  }
  ::EnableWindow(m_hLog, !tile.log.empty());
  const bool recolour = tile.verdict != m_tile.verdict;
  m_tile = tile;
  return recolour;
}

HBRUSH CWin32BenchTile::Background() const {
  // The word is in the status too, for those who cannot tell green from red.
  static HBRUSH const pass = ::CreateSolidBrush(RGB(0xc8, 0xf0, 0xc8));
  static HBRUSH const fail = ::CreateSolidBrush(RGB(0xf6, 0xc4, 0xc4));
  switch (m_tile.verdict) {
    case EVerdict::Pass: return pass;
    case EVerdict::Fail:
    case EVerdict::NoResponse: return fail;
    case EVerdict::None: break;
  }
  return nullptr;
}

bool CWin32BenchTile::Owns(HWND control) const {
  for (HWND own :
       {m_hGroup, m_hStatus, m_hProgressCaption, m_hProgress, m_hLabelCaption, m_hLabel, m_hLabelMessage, m_hLog})
    if (own && own == control) return true;
  return false;
}

}  // namespace tolvane::win32
