#include "WindowLayoutCheck.h"

#include <vector>

#include "res/ControlIds.h"
#include "win32/Utf16.h"

namespace tolvane::win32::testing {
namespace {

// The bevel of a push button and the one pixel its text keeps from it.
constexpr int kButtonInset = 3;
// A check box's box and the air before its caption.
constexpr int kCheckBoxRoom = 17;
// A frame's caption starts past the corner and keeps a gap from the line on either side.
constexpr int kFrameCaptionInset = 8;

std::wstring WideTextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The dialog's font as the dialog manager makes it from the template. A font handle is good in
// its own process only, so the probe cannot borrow the controls'.
class CDialogFontDC {
 public:
  CDialogFontDC(const CDialogFont& font, const wchar_t* face) : m_hDC(::CreateCompatibleDC(nullptr)) {
    const int pixels = ::MulDiv(font.pointSize, ::GetDeviceCaps(m_hDC, LOGPIXELSY), 72);
    m_hFont = ::CreateFontW(-pixels, 0, 0, 0, font.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_DONTCARE, face);
    m_hPrevious = ::SelectObject(m_hDC, m_hFont);
  }
  ~CDialogFontDC() {
    ::SelectObject(m_hDC, m_hPrevious);
    ::DeleteObject(m_hFont);
    ::DeleteDC(m_hDC);
  }
  CDialogFontDC(const CDialogFontDC&) = delete;
  CDialogFontDC& operator=(const CDialogFontDC&) = delete;

  // The text's extent, laid out in `width` pixels when `flags` wrap it.
  SIZE Extent(const std::wstring& text, UINT flags, int width = 0) const {
    RECT rect{0, 0, width, 0};
    ::DrawTextW(m_hDC, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | flags);
    return {rect.right, rect.bottom};
  }
  int Height() const {
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(m_hDC, &metrics);
    return metrics.tmHeight;
  }

 private:
  HDC m_hDC;
  HFONT m_hFont = nullptr;
  HGDIOBJ m_hPrevious = nullptr;
};

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

struct CTaken {
  HWND control;
  RECT extent;
};

std::string Describe(HWND control) {
  const std::string text = Narrow(WideTextOf(control));
  return std::to_string(::GetDlgCtrlID(control)) + (text.empty() ? "" : " \"" + text + "\"");
}

}  // namespace

std::vector<std::string> LayoutFaults(HWND dialog, const CDialogTemplate& dialogTemplate, const wchar_t* fontFace) {
  std::vector<std::string> faults;
  const int fontHeight = DialogFontHeight(dialogTemplate.font, fontFace);
  RECT templateArea{};
  ::GetClientRect(dialog, &templateArea);
  // The template area's height, which never grows, says whether this is the dialog's font.
  if (HWND strip = ::FindWindowExW(dialog, nullptr, STATUSCLASSNAMEW, nullptr)) {
    ::GetWindowRect(strip, &templateArea);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&templateArea), 2);
    templateArea.bottom = templateArea.top;
  }
  if (templateArea.bottom != ::MulDiv(dialogTemplate.Height(TextLanguage::English), fontHeight, 8))
    faults.push_back("the probe's font is not the dialog's: " + std::to_string(fontHeight) + " pixels high");
  for (std::string& fault : ControlFaults(dialog, dialogTemplate.font, fontFace)) faults.push_back(std::move(fault));
  return faults;
}

int DialogFontHeight(const CDialogFont& font, const wchar_t* fontFace) { return CDialogFontDC(font, fontFace).Height(); }

std::vector<std::string> ControlFaults(HWND dialog, const CDialogFont& dialogFont, const wchar_t* fontFace) {
  std::vector<std::string> faults;
  std::vector<CTaken> taken;
  std::vector<RECT> frames;
  const CDialogFontDC font(dialogFont, fontFace);
  RECT client{};
  ::GetClientRect(dialog, &client);
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(child)) continue;
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(child, GWL_STYLE));
    const std::wstring windowClass = ClassOf(child);
    const std::wstring text = WideTextOf(child);
    RECT extent{};
    ::GetWindowRect(child, &extent);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&extent), 2);
    const int width = extent.right - extent.left, height = extent.bottom - extent.top;
    const bool isStatic = ::lstrcmpiW(windowClass.c_str(), L"Static") == 0;
    const bool isButton = ::lstrcmpiW(windowClass.c_str(), L"Button") == 0;
    const auto buttonType = style & BS_TYPEMASK;
    if (isButton && buttonType == BS_GROUPBOX) {
      if (font.Extent(text, DT_SINGLELINE).cx > width - 2 * kFrameCaptionInset)
        faults.push_back("clipped frame " + Describe(child));
      frames.push_back(extent);  // frames hold controls, and come after them
      continue;
    }
    if (isStatic && (style & SS_TYPEMASK) == SS_LEFT && !text.empty()) {
      if (height >= 2 * font.Height()) {
        // A label of several lines wraps its text as the static control does.
        const SIZE size = font.Extent(text, DT_WORDBREAK | DT_NOPREFIX, width);
        if (size.cx > width || size.cy > height) faults.push_back("clipped label " + Describe(child));
      } else {
        const SIZE size = font.Extent(text, DT_SINGLELINE | DT_NOPREFIX);
        if (size.cx > width) faults.push_back("clipped label " + Describe(child));
        // A label reaches as far as its text: the template lets some run under their field.
        extent.right = extent.left + size.cx;
      }
    }
    const bool checkBox = buttonType == BS_CHECKBOX || buttonType == BS_AUTOCHECKBOX ||
                          buttonType == BS_RADIOBUTTON || buttonType == BS_AUTORADIOBUTTON ||
                          buttonType == BS_3STATE || buttonType == BS_AUTO3STATE;
    if (isButton && checkBox && !text.empty()) {
      const SIZE size = font.Extent(text, DT_SINGLELINE);
      if (size.cx > width - kCheckBoxRoom || size.cy > height) faults.push_back("clipped check box " + Describe(child));
    } else if (isButton && !text.empty()) {
      const int room = width - 2 * kButtonInset;
      const SIZE size =
          (style & BS_MULTILINE) ? font.Extent(text, DT_WORDBREAK | DT_CENTER, room) : font.Extent(text, DT_SINGLELINE);
      if (size.cx > room || size.cy > height - 2 * kButtonInset) faults.push_back("clipped button " + Describe(child));
    }
    const int id = ::GetDlgCtrlID(child);
    if (::lstrcmpiW(windowClass.c_str(), L"ComboBox") == 0 && (id == IDC_NETWORK_TYPE || id == IDC_LANGUAGE)) {
      // The fixed choices show whole in the field.
      // The field is the combo box's edit; GetComboBoxInfo would pass a pointer to another process.
      RECT field{};
      ::SendMessageW(::FindWindowExW(child, nullptr, L"Edit", nullptr), EM_GETRECT, 0,
                     reinterpret_cast<LPARAM>(&field));
      const int count = static_cast<int>(::SendMessageW(child, CB_GETCOUNT, 0, 0));
      for (int index = 0; index < count; ++index) {
        std::wstring item(static_cast<std::size_t>(::SendMessageW(child, CB_GETLBTEXTLEN, index, 0)) + 1, L'\0');
        item.resize(static_cast<std::size_t>(
            ::SendMessageW(child, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item.data()))));
        if (font.Extent(item, DT_SINGLELINE | DT_NOPREFIX).cx > field.right - field.left)
          faults.push_back("clipped choice \"" + Narrow(item) + "\" in " + std::to_string(id));
      }
    }
    if (extent.left < 0 || extent.top < 0 || extent.right > client.right || extent.bottom > client.bottom)
      faults.push_back("outside the window: " + Describe(child));
    for (const CTaken& other : taken) {
      RECT common{};
      if (::IntersectRect(&common, &extent, &other.extent))
        faults.push_back("overlap: " + Describe(child) + " and " + Describe(other.control));
    }
    taken.push_back({child, extent});
  }
  for (const CTaken& control : taken)
    for (const RECT& frame : frames) {
      RECT common{};
      if (::IntersectRect(&common, &control.extent, &frame) && !::EqualRect(&common, &control.extent))
        faults.push_back("across a frame's edge: " + Describe(control.control));
    }
  return faults;
}

}  // namespace tolvane::win32::testing
