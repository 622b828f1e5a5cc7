// What the Win32 window shows beyond its template: the status strip, the raw GPS box filling at
// the caret, and the Chinese window.
#include <gtest/gtest.h>

#include "Win32WindowFixture.h"
#include "res/Strings.h"

namespace tolvane::win32::testing {
namespace {

using StatusStrip = Win32WindowFixture;

HWND StatusStripOf(const CWin32MainWindow& window) { return window.Control(CWin32MainWindow::kStatusStripId); }

TEST_F(StatusStrip, liesBelowTheTemplateAcrossTheWindowAndNeverTakesTheFocus) {
  HWND strip = StatusStripOf(*m_window);
  ASSERT_NE(strip, nullptr);
  EXPECT_TRUE(::IsWindowVisible(strip));
  RECT stripRect{}, client{};
  ::GetWindowRect(strip, &stripRect);
  ::MapWindowPoints(nullptr, m_window->Handle(), reinterpret_cast<POINT*>(&stripRect), 2);
  ::GetClientRect(m_window->Handle(), &client);
  EXPECT_EQ(stripRect.bottom, client.bottom);
  EXPECT_EQ(stripRect.right - stripRect.left, client.right - client.left);
  // Nothing of the template is under it.
  for (HWND child = ::GetWindow(m_window->Handle(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (child == strip || !::IsWindowVisible(child)) continue;
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, m_window->Handle(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_LE(rect.bottom, stripRect.top) << ::GetDlgCtrlID(child);
  }

  EXPECT_EQ(StyleOf(strip) & WS_TABSTOP, 0u);
  ::SendMessageW(m_window->Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(IDC_PORT)), TRUE);
  for (int step = 0; step < 80; ++step) {
    ::SendMessageW(m_window->Handle(), WM_NEXTDLGCTL, 0, FALSE);  // Tab
    ASSERT_NE(::GetFocus(), strip);
  }
}

TEST_F(StatusStrip, saysWhatTheLinkIsDoing) {
  HWND strip = StatusStripOf(*m_window);
  EXPECT_EQ(TextOf(strip), "Not connected");
  ::SendMessageW(Control(IDC_CONNECT), BM_CLICK, 0, 0);
  EXPECT_EQ(TextOf(strip), "COM1 open, waiting for the device to answer…");
  m_dlg->HandleDeviceMessage("COM:open");
  EXPECT_EQ(TextOf(strip), "Device ready on COM1");
  m_port.Vanish();
  EXPECT_EQ(TextOf(strip), "COM1 was unplugged");
}

using RawGpsBox = Win32WindowFixture;

TEST_F(RawGpsBox, sentencesGoInAtTheCaretWithoutReplacingASelectionOrLeavingAnUndo) {
  MakeReady();
  ::SendMessageW(Control(IDC_GPS_OPEN), BM_CLICK, 0, 0);
  m_dlg->HandleDeviceMessage("GPS:open");
  HWND box = Control(IDC_GPS_RAW);
  m_dlg->HandleDeviceMessage("GPS_R:$GPGGA,1");
  ::SendMessageW(box, EM_SETSEL, 0, -1);  // the user selects everything
  m_dlg->HandleDeviceMessage("GPS_R:,2");
  EXPECT_EQ(m_window->GetWindowText(IDC_GPS_RAW), "$GPGGA,1,2");
  DWORD start = 0, end = 0;
  ::SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 10u);
  EXPECT_EQ(end, 10u);
  EXPECT_FALSE(::SendMessageW(box, EM_CANUNDO, 0, 0));

  // The box is emptied when it is full; the next sentence starts it afresh at its end.
  m_window->SetWindowText(IDC_GPS_RAW, "");
  m_dlg->HandleDeviceMessage("GPS_R:$GPRMC");
  m_dlg->HandleDeviceMessage("GPS_R:,3");
  EXPECT_EQ(m_window->GetWindowText(IDC_GPS_RAW), "$GPRMC,3");
}

// The window and the logic in Chinese, as --language zh_CN makes them.
class ChineseWindow : public Win32WindowFixture {
 protected:
  ChineseWindow() : Win32WindowFixture({"COM3"}, TextLanguage::Chinese) {}
  void SetUp() override {
    SetProcessTextLanguage(TextLanguage::Chinese);
    Win32WindowFixture::SetUp();
  }
  void TearDown() override {
    Win32WindowFixture::TearDown();
    SetProcessTextLanguage(TextLanguage::English);
  }
};

TEST_F(ChineseWindow, showsTheChineseTemplateMenuAndStatus) {
  EXPECT_EQ(m_window->GetWindowText(IDC_CONNECT), "连接");
  EXPECT_EQ(m_window->GetWindowText(IDC_SET_NETWORK), "设置网络类型");
  EXPECT_TRUE(::IsWindowVisible(Control(IDC_LANGUAGE)));
  EXPECT_TRUE(::IsWindowVisible(Control(IDC_SET_LANGUAGE)));
  EXPECT_EQ(TextOf(StatusStripOf(*m_window)), "未连接");
  HMENU menu = ::GetSystemMenu(m_window->Handle(), FALSE);
  wchar_t text[64] = {};
  ::GetMenuStringW(menu, IDM_ABOUTBOX, text, 64, MF_BYCOMMAND);
  EXPECT_EQ(Narrow(text), "关于 Tolvane(&A)...");

  ::SendMessageW(Control(IDC_CONNECT), BM_CLICK, 0, 0);
  EXPECT_EQ(m_window->GetWindowText(IDC_CONNECT), "关闭");
}

}  // namespace
}  // namespace tolvane::win32::testing
