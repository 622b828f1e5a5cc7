// The real Win32 window with the logic over a scripted port: start-up, the wiring of notifications,
// the keyboard, closing, timers and boxes. What every window does is in tests/contract.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "Win32WindowFixture.h"
#include "res/SignalPictures.h"

namespace tolvane::win32::testing {
namespace {

class MainWindow : public Win32WindowFixture {
 protected:
  // Moves the focus as the dialog does (a focused button becomes the default one), then passes a
  // key through the dialog's keyboard handling, as the program's loop does.
  void PressKey(HWND target, WPARAM key) {
    ::SendMessageW(m_window->Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
    MSG message{target, WM_KEYDOWN, key, 1, 0, {}};
    if (!::IsDialogMessageW(m_window->Handle(), &message)) ::DispatchMessageW(&message);
    Pump([] { return true; });
  }
};

TEST_F(MainWindow, startUpFillsThePlatformsControls) {
  EXPECT_EQ(m_window->GetWindowText(IDC_PORT), "COM1");  // first in text order: COM1, COM10, COM2
  EXPECT_EQ(m_dlg->GetComPort(), 1);
  EXPECT_EQ(m_window->GetWindowText(IDC_NETWORK_TYPE), "3G/2G");
  EXPECT_EQ(::SendMessageW(Control(IDC_IMEI), EM_GETLIMITTEXT, 0, 0), 15);
  EXPECT_EQ(::SendMessageW(Control(IDC_BT_PIN), EM_GETLIMITTEXT, 0, 0), 8);
  EXPECT_FALSE(m_window->IsWindowEnabled(IDC_UPDATE_IP));
  EXPECT_TRUE(m_window->IpIsBlank(IDC_SERVER_IP));

  HWND wifi = Control(IDC_WIFI_LIST);
  const auto styles = static_cast<unsigned>(::SendMessageW(wifi, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  EXPECT_EQ(styles & (LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT),
            static_cast<unsigned>(LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT));
  HWND header = reinterpret_cast<HWND>(::SendMessageW(wifi, LVM_GETHEADER, 0, 0));
  EXPECT_EQ(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(::SendMessageW(wifi, LVM_GETCOLUMNWIDTH, 1, 0), m_window->ListGetClientWidth(IDC_WIFI_LIST) / 3);
  auto images = reinterpret_cast<HIMAGELIST>(::SendMessageW(wifi, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(::ImageList_GetImageCount(images), 5);
  int width = 0, height = 0;
  ::ImageList_GetIconSize(images, &width, &height);
  EXPECT_EQ(width, kSignalPictureWidth);
  EXPECT_EQ(height, kSignalPictureHeight);

  HMENU menu = ::GetSystemMenu(m_window->Handle(), FALSE);
  const int count = ::GetMenuItemCount(menu);
  ASSERT_GE(count, 2);
  EXPECT_EQ(::GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
  wchar_t text[64] = {};
  ::GetMenuStringW(menu, count - 1, text, 64, MF_BYPOSITION);
  EXPECT_EQ(Narrow(text), "About Tolvane(&A)...");
}

TEST_F(MainWindow, buttonClicksAndPortChoicesReachTheirHandlers) {
  ::SendMessageW(Control(IDC_PORT), CB_SETCURSEL, 2, 0);  // COM2, as the user picks it
  ::SendMessageW(m_window->Handle(), WM_COMMAND, MAKEWPARAM(IDC_PORT, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Control(IDC_PORT)));
  EXPECT_EQ(m_dlg->GetComPort(), 2);

  ::SendMessageW(Control(IDC_CONNECT), BM_CLICK, 0, 0);
  EXPECT_TRUE(m_port.IsOpen());
  EXPECT_EQ(m_port.openedPort, 2);
  EXPECT_EQ(m_window->GetWindowText(IDC_CONNECT), "Close");
}

TEST_F(MainWindow, enterAndEscapeLeaveTheWindowOpenWhereverTheFocusIs) {
  for (const int id : {IDC_APN_NAME, IDC_PORT, IDC_WIFI_LIST}) {
    PressKey(Control(id), VK_RETURN);
    PressKey(Control(id), VK_ESCAPE);
    ASSERT_TRUE(m_window->IsCreated()) << id;
  }
  // Enter on a focused button still clicks it.
  PressKey(Control(IDC_CONNECT), VK_RETURN);
  EXPECT_TRUE(Pump([this] { return m_port.IsOpen(); }));
}

TEST_F(MainWindow, closeBoxEndsTheWindowAndTheLinkWithIt) {
  ::SendMessageW(Control(IDC_CONNECT), BM_CLICK, 0, 0);
  ASSERT_TRUE(m_port.IsOpen());
  ::SendMessageW(m_window->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(m_window->IsCreated());
  EXPECT_FALSE(m_port.IsOpen());
  EXPECT_EQ(m_port.Writes().back(), "COM:close~");
  // Gone means gone: later calls do nothing and posted tasks are dropped.
  m_window->MessageBox("nobody is there to answer");
  bool ran = false;
  m_window->PostToWindowThread([&ran] { ran = true; });
  Pump([] { return true; });
  EXPECT_FALSE(ran);
}

TEST_F(MainWindow, timersFireOnTheWindowsThreadUntilKilled) {
  m_window->SetTimer(TIMER_WIFI_CONNECT, 10);
  EXPECT_TRUE(m_window->IsTimerRunning(TIMER_WIFI_CONNECT));
  // Its expiry stops it (the logic kills it); nothing else happens without a Wi-Fi connect.
  EXPECT_TRUE(Pump([this] { return !m_window->IsTimerRunning(TIMER_WIFI_CONNECT); }));
  EXPECT_FALSE(m_window->IsWindowEnabled(IDC_WIFI_CONNECT));
}

TEST_F(MainWindow, messageBoxIsTitledTolvaneOverTheWindowAndReturnsOnOk) {
  std::string text;
  std::thread user([&] {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
      for (HWND box = nullptr; (box = ::FindWindowExW(nullptr, box, L"#32770", L"Tolvane"));) {
        if (::GetWindow(box, GW_OWNER) != m_window->Handle()) continue;
        text = TextOf(::GetDlgItem(box, 0xFFFF));
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  });
  m_window->MessageBox("Parlo apk without response");
  user.join();
  EXPECT_EQ(text, "Parlo apk without response");
}

}  // namespace
}  // namespace tolvane::win32::testing
