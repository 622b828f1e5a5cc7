#pragma once

#include <array>
#include <span>
#include <string_view>

#include "res/Strings.h"

namespace tolvane {

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_MIRLSETTINGS_DIALOG = 102;
inline constexpr int IDR_MAINFRAME = 128;  // the application icon
inline constexpr int IDC_STATIC = -1;
inline constexpr int IDOK = 1;

// Message boxes carry the program's name as their title.
inline constexpr char kApplicationName[] = "Tolvane";

// What a template row creates. KindCode gives the short code each kind is known by.
enum class ControlKind {
  Label,               // L
  Button,              // B
  Edit,                // E
  EditPassword,        // E-pw
  EditReadOnly,        // E-ro
  EditNumber,          // E-num
  EditNumberPassword,  // E-num-pw
  EditMulti,           // E-multi
  ComboBox,            // CB
  ListView,            // LV
  IpAddress,           // IP
  Frame,               // F
  SerialPort,          // X: no visible part
  Icon,                // ICON
  DefaultButton,       // B-def
};
std::string_view KindCode(ControlKind kind);

// The fixed choices of the language and the network type lists, in the window's order.
inline constexpr std::array<const char*, 2> kLanguageChoices{"English", "中文简体"};
// The device's word for each language choice, in the same order.
inline constexpr std::array<const char*, 2> kLanguageCodes{"en_US", "zh_CN"};
inline constexpr std::array<const char*, 3> kNetworkTypeChoices{"2G", "3G", "3G/2G"};

// The captionless frame whose rectangle holds a control; a frame row names itself.
enum class FrameId { Top, Server, Account, Apn, Gps, WiFi, Bluetooth };

struct CDialogRect {
  int x = 0;
  int y = 0;
  int cx = 0;
  int cy = 0;
  bool Contains(const CDialogRect& inner) const {
    return inner.x >= x && inner.y >= y && inner.x + inner.cx <= x + cx && inner.y + inner.cy <= y + cy;
  }
};

struct CLocalText {
  const char* english;
  const char* chinese;
  const char* Get(TextLanguage language) const { return language == TextLanguage::Chinese ? chinese : english; }
};

struct CControlTemplate {
  int id;
  ControlKind kind;
  CLocalText caption;
  FrameId frame;
  CDialogRect english;
  CDialogRect chinese;
  const char* member;         // "" for labels and frames
  CLocalText accessibleName;  // the label that names an input or a list; "" for the rest
  bool hiddenInEnglish;
  bool multiLineInEnglish;
  // A combo box's fixed choices, which the window puts in at start-up; empty for the rest.
  std::span<const char* const> choices = {};

  const CDialogRect& Rect(TextLanguage language) const { return language == TextLanguage::Chinese ? chinese : english; }
  bool IsHidden(TextLanguage language) const { return hiddenInEnglish && language == TextLanguage::English; }
  bool IsMultiLine(TextLanguage language) const { return multiLineInEnglish && language == TextLanguage::English; }
};

struct CDialogFont {
  const char* face;
  int pointSize;
  int weight;
};

struct CDialogTemplate {
  int id;
  CLocalText title;
  int englishWidth;
  int englishHeight;
  int chineseWidth;
  int chineseHeight;
  CDialogFont font;
  std::span<const CControlTemplate> controls;  // template order, which is also the tab order

  int Width(TextLanguage language) const { return language == TextLanguage::Chinese ? chineseWidth : englishWidth; }
  int Height(TextLanguage language) const { return language == TextLanguage::Chinese ? chineseHeight : englishHeight; }
  // The row of a control id; nullptr when the template has none (or for IDC_STATIC).
  const CControlTemplate* Find(int controlId) const;
};

const CDialogTemplate& MainDialogTemplate();
const CDialogTemplate& AboutDialogTemplate();

// Dialog units to pixels, as the platform derives them from the dialog font: a quarter of the
// average character width across, an eighth of the character height down.
struct CDialogBaseUnits {
  int charWidth = 0;
  int charHeight = 0;

  // Average width the way dialogs measure it: from the width of "A".."Z" + "a".."z", rounded.
  static CDialogBaseUnits FromAlphabetWidth(int alphabetWidth, int charHeight);
  int ToPixelsX(int dialogUnits) const;
  int ToPixelsY(int dialogUnits) const;
};
inline constexpr char kDialogUnitAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

}  // namespace tolvane
