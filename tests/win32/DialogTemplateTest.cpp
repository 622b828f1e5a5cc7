// The dialogs as the platform builds them from the shared template data.
#include <gtest/gtest.h>

#include "Win32TestSupport.h"
#include "res/ControlIds.h"
#include "win32/DialogTemplateBuilder.h"

namespace tolvane::win32::testing {
namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

class DialogFromTemplate : public ::testing::TestWithParam<TextLanguage> {
 protected:
  void SetUp() override { RegisterCommonControls(); }
  void TearDown() override {
    if (m_hDialog) ::DestroyWindow(m_hDialog);
  }
  HWND Create(const CDialogTemplate& dialogTemplate, const CDialogFrameStyle& frame) {
    const CDialogTemplateBuilder builder(dialogTemplate, GetParam(), frame);
    m_hDialog = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), builder.Get(), nullptr, &PlainDialogProc, 0);
    return m_hDialog;
  }
  HWND m_hDialog = nullptr;
};

const wchar_t* ExpectedClass(ControlKind kind) {
  switch (kind) {
    case ControlKind::Label:
    case ControlKind::Icon: return L"Static";
    case ControlKind::Button:
    case ControlKind::DefaultButton:
    case ControlKind::Frame: return L"Button";
    case ControlKind::ComboBox: return L"ComboBox";
    case ControlKind::ListView: return L"SysListView32";
    case ControlKind::IpAddress: return L"SysIPAddress32";
    case ControlKind::SerialPort: return L"";
    default: return L"Edit";
  }
}

TEST_P(DialogFromTemplate, everyRowBecomesThePlatformsControlOfItsKind) {
  const TextLanguage language = GetParam();
  HWND dialog = Create(MainDialogTemplate(), MainWindowFrameStyle());
  ASSERT_NE(dialog, nullptr);
  const std::vector<CBuiltControl> controls = BuiltControls(dialog, MainDialogTemplate(), language);
  ASSERT_EQ(controls.size(), MainDialogTemplate().controls.size() - 1);  // all but the serial port
  for (const auto& [row, window] : controls) {
    SCOPED_TRACE(row->member);
    EXPECT_EQ(::GetDlgCtrlID(window), row->id);
    EXPECT_EQ(::lstrcmpiW(ClassOf(window).c_str(), ExpectedClass(row->kind)), 0) << Narrow(ClassOf(window));
    if (row->kind == ControlKind::Label || row->kind == ControlKind::Button) {
      EXPECT_EQ(TextOf(window), row->caption.Get(language));
    }
    EXPECT_EQ((StyleOf(window) & WS_VISIBLE) == 0, row->IsHidden(language));
  }
  EXPECT_EQ(::GetDlgItem(dialog, IDC_COMM), nullptr);
}

TEST_P(DialogFromTemplate, editsCombosAndListsCarryTheirStyles) {
  HWND dialog = Create(MainDialogTemplate(), MainWindowFrameStyle());
  ASSERT_NE(dialog, nullptr);
  const auto style = [dialog](int id) { return StyleOf(::GetDlgItem(dialog, id)); };
  EXPECT_TRUE(style(IDC_IMEI) & ES_NUMBER);
  EXPECT_FALSE(style(IDC_IMEI) & ES_PASSWORD);
  EXPECT_EQ(style(IDC_BT_PIN) & (ES_NUMBER | ES_PASSWORD), static_cast<DWORD>(ES_NUMBER | ES_PASSWORD));
  for (const int id : {IDC_WIFI_PASSWORD, IDC_ACCOUNT_PASSWORD, IDC_APN_PASSWORD, IDC_DEALER_PASSWORD})
    EXPECT_TRUE(style(id) & ES_PASSWORD) << id;
  for (const int id : {IDC_WIFI_NAME, IDC_GPS_SATELLITES, IDC_GPS_STATUS, IDC_GPS_RAW})
    EXPECT_TRUE(style(id) & ES_READONLY) << id;
  EXPECT_TRUE(style(IDC_GPS_RAW) & ES_MULTILINE);
  EXPECT_TRUE(style(IDC_GPS_RAW) & WS_VSCROLL);
  for (const int id : {IDC_PORT, IDC_LANGUAGE, IDC_NETWORK_TYPE}) {
    EXPECT_EQ(style(id) & 0x3, static_cast<DWORD>(CBS_DROPDOWN)) << id;  // editable, not a drop-down list
    EXPECT_TRUE(style(id) & CBS_SORT) << id;
  }
  for (const int id : {IDC_WIFI_LIST, IDC_BT_LIST}) {
    EXPECT_EQ(style(id) & LVS_TYPEMASK, static_cast<DWORD>(LVS_REPORT)) << id;
    EXPECT_FALSE(style(id) & LVS_SINGLESEL) << id;
  }
  const bool english = GetParam() == TextLanguage::English;
  EXPECT_EQ((style(IDC_SET_ACCOUNT) & BS_MULTILINE) != 0, english);
  EXPECT_FALSE(StyleOf(dialog) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_TRUE(::GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);
}

TEST_P(DialogFromTemplate, controlsStandWhereTheTemplateSaysInDialogUnits) {
  const TextLanguage language = GetParam();
  HWND dialog = Create(MainDialogTemplate(), MainWindowFrameStyle());
  ASSERT_NE(dialog, nullptr);
  RECT client{};
  ::GetClientRect(dialog, &client);
  RECT size{0, 0, MainDialogTemplate().Width(language), MainDialogTemplate().Height(language)};
  ::MapDialogRect(dialog, &size);
  EXPECT_EQ(client.right, size.right);
  EXPECT_EQ(client.bottom, size.bottom);
  for (const auto& [row, window] : BuiltControls(dialog, MainDialogTemplate(), language)) {
    SCOPED_TRACE(row->member);
    const CDialogRect& units = row->Rect(language);
    // Position and size are converted each on its own, as the dialog manager does.
    RECT mapped{units.x, units.y, units.cx, units.cy};
    ::MapDialogRect(dialog, &mapped);
    const RECT expected{mapped.left, mapped.top, mapped.left + mapped.right, mapped.top + mapped.bottom};
    RECT actual{};
    ::GetWindowRect(window, &actual);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.right, expected.right);
    // A combo box's height is its drop-down's; an icon takes its picture's size.
    if (row->kind != ControlKind::ComboBox && row->kind != ControlKind::Icon) {
      EXPECT_EQ(actual.bottom, expected.bottom);
    }
  }
}

TEST_P(DialogFromTemplate, tabOrderIsTemplateOrder) {
  const TextLanguage language = GetParam();
  HWND dialog = Create(MainDialogTemplate(), MainWindowFrameStyle());
  ASSERT_NE(dialog, nullptr);
  ::ShowWindow(dialog, SW_SHOWNA);
  std::vector<int> expected;
  for (const auto& [row, window] : BuiltControls(dialog, MainDialogTemplate(), language))
    if ((StyleOf(window) & (WS_TABSTOP | WS_VISIBLE)) == (WS_TABSTOP | WS_VISIBLE)) expected.push_back(row->id);
  std::vector<int> visited;
  HWND control = ::GetNextDlgTabItem(dialog, nullptr, FALSE);
  for (std::size_t i = 0; control && i < expected.size(); ++i) {
    visited.push_back(::GetDlgCtrlID(control));
    control = ::GetNextDlgTabItem(dialog, control, FALSE);
  }
  EXPECT_EQ(visited, expected);
}

TEST_P(DialogFromTemplate, aboutBoxShowsTheIconTheVersionAndADefaultOk) {
  const TextLanguage language = GetParam();
  HWND dialog = Create(AboutDialogTemplate(), AboutBoxFrameStyle());
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(TextOf(dialog), AboutDialogTemplate().title.Get(language));
  const std::vector<CBuiltControl> controls = BuiltControls(dialog, AboutDialogTemplate(), language);
  ASSERT_EQ(controls.size(), 3u);
  EXPECT_EQ(StyleOf(controls[0].window) & SS_TYPEMASK, static_cast<DWORD>(SS_ICON));
  EXPECT_NE(::SendMessageW(controls[0].window, STM_GETICON, 0, 0), 0);
  EXPECT_EQ(TextOf(controls[1].window), language == TextLanguage::English ? "Version 1.1" : "1.1 版");
  EXPECT_EQ(::GetDlgCtrlID(controls[2].window), 1);
  EXPECT_EQ(StyleOf(controls[2].window) & BS_TYPEMASK, static_cast<DWORD>(BS_DEFPUSHBUTTON));
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, DialogFromTemplate,
                         ::testing::Values(TextLanguage::English, TextLanguage::Chinese),
                         [](const ::testing::TestParamInfo<TextLanguage>& testInfo) {
                           return testInfo.param == TextLanguage::English ? "English" : "Chinese";
                         });

}  // namespace
}  // namespace tolvane::win32::testing
