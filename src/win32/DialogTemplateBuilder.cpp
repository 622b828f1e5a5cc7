#include "win32/DialogTemplateBuilder.h"

#include "win32/Utf16.h"

namespace tolvane::win32 {
namespace {

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kComboBoxClass = 0x0085;
constexpr WORD kOrdinalMarker = 0xFFFF;
constexpr DWORD kSingleLineEdit = ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;

}  // namespace

bool ItemStyleFor(const CControlTemplate& row, TextLanguage language, CItemStyle& itemStyle) {
  using K = ControlKind;
  DWORD style = 0;
  CItemClass windowClass;
  switch (row.kind) {
    case K::Label:
      windowClass.ordinal = kStaticClass;
      // Captions are shown as they are: an ampersand is no mnemonic.
      style = SS_LEFT | SS_NOPREFIX | WS_GROUP;
      break;
    case K::Button:
      windowClass.ordinal = kButtonClass;
      style = BS_PUSHBUTTON | WS_TABSTOP | (row.IsMultiLine(language) ? BS_MULTILINE : 0);
      break;
    case K::DefaultButton:
      windowClass.ordinal = kButtonClass;
      style = BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP;
      break;
    case K::Edit: windowClass.ordinal = kEditClass, style = kSingleLineEdit; break;
    case K::EditPassword: windowClass.ordinal = kEditClass, style = kSingleLineEdit | ES_PASSWORD; break;
    case K::EditReadOnly: windowClass.ordinal = kEditClass, style = kSingleLineEdit | ES_READONLY; break;
    case K::EditNumber: windowClass.ordinal = kEditClass, style = kSingleLineEdit | ES_NUMBER; break;
    case K::EditNumberPassword:
      windowClass.ordinal = kEditClass;
      style = kSingleLineEdit | ES_NUMBER | ES_PASSWORD;
      break;
    case K::EditMulti:
      windowClass.ordinal = kEditClass;
      style = ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
      break;
    case K::ComboBox:
      windowClass.ordinal = kComboBoxClass;
      style = CBS_DROPDOWN | CBS_SORT | WS_VSCROLL | WS_TABSTOP;
      break;
    case K::ListView:
      windowClass.name = WC_LISTVIEWW;
      // The window owns the signal pictures and releases them once.
      style = LVS_REPORT | LVS_ALIGNLEFT | LVS_SHAREIMAGELISTS | WS_BORDER | WS_TABSTOP;
      break;
    case K::IpAddress:
      windowClass.name = WC_IPADDRESSW;
      style = WS_TABSTOP;
      break;
    case K::Frame:
      windowClass.ordinal = kButtonClass;
      style = BS_GROUPBOX;
      break;
    case K::Icon:
      windowClass.ordinal = kStaticClass;
      style = SS_ICON;
      break;
    case K::SerialPort: return false;
  }
  itemStyle.windowClass = windowClass;
  itemStyle.style = WS_CHILD | (row.IsHidden(language) ? 0 : WS_VISIBLE) | style;
  return true;
}

std::vector<CBuiltControl> BuiltControls(HWND dialog, const CDialogTemplate& dialogTemplate, TextLanguage language) {
  std::vector<CBuiltControl> built;
  HWND child = ::GetWindow(dialog, GW_CHILD);
  for (const CControlTemplate& row : dialogTemplate.controls) {
    CItemStyle unused;
    if (!ItemStyleFor(row, language, unused)) continue;
    if (!child) break;
    built.push_back({&row, child});
    child = ::GetWindow(child, GW_HWNDNEXT);
  }
  return built;
}

CDialogFrameStyle MainWindowFrameStyle() {
  // "MS Shell Dlg" is Microsoft Sans Serif on Windows, the template's face, and has a metric
  // match wherever Windows programs run.
  return {WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER, WS_EX_APPWINDOW,
          L"MS Shell Dlg"};
}

CDialogFrameStyle AboutBoxFrameStyle() {
  return {WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SHELLFONT | DS_CENTER, 0, L"MS Shell Dlg"};
}

CDialogTemplateBuilder::CDialogTemplateBuilder(const CDialogTemplate& dialogTemplate, TextLanguage language,
                                               const CDialogFrameStyle& frame) {
  std::vector<std::pair<const CControlTemplate*, CItemStyle>> items;
  for (const CControlTemplate& row : dialogTemplate.controls) {
    CItemStyle itemStyle;
    if (ItemStyleFor(row, language, itemStyle)) items.emplace_back(&row, itemStyle);
  }
  m_nItems = static_cast<int>(items.size());

  Word(1);  // dlgVer
  Word(kOrdinalMarker);
  DWord(0);  // help id
  DWord(frame.exStyle);
  DWord(frame.style);
  Word(static_cast<WORD>(m_nItems));
  for (const int value : {0, 0, dialogTemplate.Width(language), dialogTemplate.Height(language)})
    Word(static_cast<WORD>(value));
  Word(0);  // no menu
  Word(0);  // the dialog class
  Text(dialogTemplate.title.Get(language));
  Word(static_cast<WORD>(dialogTemplate.font.pointSize));
  Word(static_cast<WORD>(dialogTemplate.font.weight));
  Word(MAKEWORD(FALSE, DEFAULT_CHARSET));  // italic, charset
  for (const wchar_t* c = frame.fontFace; *c; ++c) Word(static_cast<WORD>(*c));
  Word(0);
  for (const auto& [row, itemStyle] : items) Item(*row, itemStyle, language);
}

void CDialogTemplateBuilder::DWord(DWORD value) {
  Word(LOWORD(value));
  Word(HIWORD(value));
}

void CDialogTemplateBuilder::Text(const std::string& utf8) {
  for (const wchar_t c : Widen(utf8)) Word(static_cast<WORD>(c));
  Word(0);
}

void CDialogTemplateBuilder::AlignToDWord() {
  if (m_words.size() % 2 != 0) Word(0);
}

void CDialogTemplateBuilder::Item(const CControlTemplate& row, const CItemStyle& itemStyle, TextLanguage language) {
  AlignToDWord();
  DWord(0);  // help id
  DWord(0);  // extended style
  DWord(itemStyle.style);
  const CDialogRect& rect = row.Rect(language);
  for (const int value : {rect.x, rect.y, rect.cx, rect.cy}) Word(static_cast<WORD>(value));
  DWord(static_cast<DWORD>(row.id));
  if (itemStyle.windowClass.ordinal != 0) {
    Word(kOrdinalMarker);
    Word(itemStyle.windowClass.ordinal);
  } else {
    for (const wchar_t* c = itemStyle.windowClass.name; *c; ++c) Word(static_cast<WORD>(*c));
    Word(0);
  }
  if (row.kind == ControlKind::Icon) {
    Word(kOrdinalMarker);
    Word(static_cast<WORD>(IDR_MAINFRAME));
  } else {
    Text(row.caption.Get(language));
  }
  Word(0);  // no creation data
}

}  // namespace tolvane::win32
