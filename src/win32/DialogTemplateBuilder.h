#pragma once

#include <string>
#include <vector>

#include "res/DialogTemplates.h"
#include "win32/WinApi.h"

namespace tolvane::win32 {

// The window class a template row creates: a predefined ordinal (button, edit, static, combo box)
// or a common control's name.
struct CItemClass {
  WORD ordinal = 0;  // 0 when `name` applies
  const wchar_t* name = L"";
};

struct CItemStyle {
  CItemClass windowClass;
  DWORD style = 0;
};

// How a template row becomes a Win32 control; false for rows that have no window (the serial port).
bool ItemStyleFor(const CControlTemplate& row, TextLanguage language, CItemStyle& itemStyle);

// The dialog's own window: style, extended style and the face of its font.
struct CDialogFrameStyle {
  DWORD style = 0;
  DWORD exStyle = 0;
  const wchar_t* fontFace = L"MS Shell Dlg";
};

// The main window: a captioned popup with the system menu and its own task-bar button, not
// resizable, no minimise or maximise box. Shown by its owner once its start-up has run.
CDialogFrameStyle MainWindowFrameStyle();
// The About box: a modal frame with the shell font.
CDialogFrameStyle AboutBoxFrameStyle();

// A template row and the window the dialog made for it.
struct CBuiltControl {
  const CControlTemplate* row;
  HWND window;
};

// The dialog's controls paired with their rows: the dialog creates them in template order, which
// is also their order among its children. Rows without a window are left out.
std::vector<CBuiltControl> BuiltControls(HWND dialog, const CDialogTemplate& dialogTemplate, TextLanguage language);

// An extended dialog template (DLGTEMPLATEEX and its items) in memory, built from the shared
// template data, for CreateDialogIndirectParam and DialogBoxIndirectParam. DWORD-aligned.
class CDialogTemplateBuilder {
 public:
  CDialogTemplateBuilder(const CDialogTemplate& dialogTemplate, TextLanguage language, const CDialogFrameStyle& frame);
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }
  std::size_t SizeInBytes() const { return m_words.size() * sizeof(WORD); }
  int ItemCount() const { return m_nItems; }

 private:
  void Word(WORD value) { m_words.push_back(value); }
  void DWord(DWORD value);
  void Text(const std::string& utf8);
  void AlignToDWord();
  void Item(const CControlTemplate& row, const CItemStyle& itemStyle, TextLanguage language);

  std::vector<WORD> m_words;
  int m_nItems = 0;
};

}  // namespace tolvane::win32
