// The traffic trace on Windows: the file that --trace names, the "Traffic…" window, its Save and
// Clear, and the port list's item tips.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "Win32TestSupport.h"
#include "Win32WindowFixture.h"
#include "win32/TrafficTracing.h"

namespace tolvane::win32::testing {
namespace {

std::wstring ScratchPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name;
}

std::string ReadFile(const std::wstring& path) {
  std::ifstream file(path.c_str(), std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

class TrafficTracing : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterCommonControls();
    ::DeleteFileW(m_path.c_str());
  }
  void TearDown() override { ::DeleteFileW(m_path.c_str()); }

  // What a link with a dealer password sent and the device's IMEI report.
  void RecordExchange() {
    m_trace.Record(TraceDirection::ToDevice, "CUSTOMER_PW:4711~");
    m_trace.Record(TraceDirection::FromDevice, "IMEI:356938035643809");
  }

  std::wstring m_path = ScratchPath(L"tolvane-trace-test.txt");
  CTrafficTrace m_trace;
};

TEST_F(TrafficTracing, fileGetsEveryLineMaskedAndAppendsAcrossRuns) {
  {
    CWin32TrafficTracing tracing(m_trace, TextLanguage::English);
    std::string errorText;
    ASSERT_TRUE(tracing.OpenFile(m_path, errorText)) << errorText;
    EXPECT_TRUE(m_trace.IsRecording());
    RecordExchange();
    // The pump runs on the thread's messages.
    ASSERT_TRUE(PumpUntil(nullptr, [&] { return ReadFile(m_path).find("IMEI") != std::string::npos; }));
  }
  EXPECT_FALSE(m_trace.IsRecording());
  {
    CWin32TrafficTracing tracing(m_trace, TextLanguage::English);
    std::string errorText;
    ASSERT_TRUE(tracing.OpenFile(m_path, errorText)) << errorText;
    m_trace.Record(TraceDirection::ToDevice, "COM:close~");
  }  // the last lines are written on the way out
  const std::string text = ReadFile(m_path);
  EXPECT_NE(text.find("  \xE2\x86\x92 device  CUSTOMER_PW:\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\r\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("  \xE2\x86\x90 device  IMEI:356938035643809\r\n"), std::string::npos) << text;
  EXPECT_LT(text.find("IMEI"), text.find("COM:close"));
  EXPECT_EQ(text.find("4711"), std::string::npos);
}

TEST_F(TrafficTracing, aFileThatCannotBeWrittenIsRefusedWithTheReason) {
  CWin32TrafficTracing tracing(m_trace, TextLanguage::English);
  std::string errorText;
  EXPECT_FALSE(tracing.OpenFile(ScratchPath(L"no-such-folder\\trace.txt"), errorText));
  EXPECT_FALSE(errorText.empty());
  EXPECT_FALSE(m_trace.IsRecording());
}

TEST_F(TrafficTracing, windowRecordsWhileOpenAndKeepsItsLinesWhenClosed) {
  CWin32TrafficTracing tracing(m_trace, TextLanguage::English);
  EXPECT_FALSE(m_trace.IsRecording());
  tracing.ShowWindow();
  CWin32TraceWindow* window = tracing.Window();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->IsVisible());
  EXPECT_EQ(TextOf(window->Handle()), "Traffic with the device - Tolvane");
  EXPECT_EQ(TextOf(::GetDlgItem(window->Handle(), CWin32TraceWindow::kSaveId)), "Save\xE2\x80\xA6");
  EXPECT_EQ(TextOf(::GetDlgItem(window->Handle(), CWin32TraceWindow::kClearId)), "Clear");
  EXPECT_TRUE(m_trace.IsRecording());

  RecordExchange();
  ASSERT_TRUE(PumpUntil(window->Handle(), [&] { return window->Text().find("IMEI") != std::string::npos; }));
  const std::string text = window->Text();
  EXPECT_LT(text.find("CUSTOMER_PW"), text.find("IMEI"));  // newest last
  EXPECT_EQ(text.find("4711"), std::string::npos);

  ::SendMessageW(window->Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(window->IsVisible());
  EXPECT_FALSE(m_trace.IsRecording());
  tracing.ShowWindow();
  EXPECT_EQ(window->Text(), text);
}

TEST_F(TrafficTracing, saveWritesTheLinesAsUtf8AndClearStartsAfresh) {
  // The lines are in the language of the thread that takes them, as the program sets it.
  SetThreadTextLanguage(TextLanguage::Chinese);
  struct CRestore {
    ~CRestore() { SetThreadTextLanguage(TextLanguage::English); }
  } restore;
  CWin32TrafficTracing tracing(m_trace, TextLanguage::Chinese);
  tracing.ShowWindow();
  CWin32TraceWindow* window = tracing.Window();
  RecordExchange();
  tracing.Drain();
  EXPECT_EQ(TextOf(::GetDlgItem(window->Handle(), CWin32TraceWindow::kClearId)), "\xE6\xB8\x85\xE7\xA9\xBA");

  std::string errorText;
  ASSERT_TRUE(window->SaveTo(m_path, errorText)) << errorText;
  const std::string saved = ReadFile(m_path);
  EXPECT_EQ(saved, window->Text());
  EXPECT_NE(saved.find("\xE2\x86\x90 \xE8\xAE\xBE\xE5\xA4\x87  IMEI:356938035643809\r\n"), std::string::npos) << saved;
  EXPECT_FALSE(window->SaveTo(ScratchPath(L"no-such-folder\\saved.txt"), errorText));

  ::SendMessageW(window->Handle(), WM_COMMAND, MAKEWPARAM(CWin32TraceWindow::kClearId, BN_CLICKED), 0);
  EXPECT_EQ(window->Text(), "");
  m_trace.Record(TraceDirection::ToDevice, "GPS:open~");
  tracing.Drain();
  EXPECT_EQ(window->Text().find("IMEI"), std::string::npos);
  EXPECT_NE(window->Text().find("GPS:open\r\n"), std::string::npos);
}

class PortTips : public Win32WindowFixture {
 protected:
  PortTips() {
    m_portList.identities["COM10"].description = "CP210x USB to UART Bridge";
    m_portList.identities["COM10"].path = "\\Device\\Silabser0";
  }
};

TEST_F(PortTips, eachItemKeepsItsTipInTheSortedList) {
  const CComboItemTips* tips = m_window->ItemTips(IDC_PORT);
  ASSERT_NE(tips, nullptr);
  const int count = m_window->ComboGetCount(IDC_PORT);
  ASSERT_EQ(count, 3);
  for (int index = 0; index < count; ++index) {
    const std::string caption = Narrow([&] {
      wchar_t text[32] = {};
      ::SendMessageW(Control(IDC_PORT), CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
      return std::wstring(text);
    }());
    EXPECT_EQ(tips->TipOf(index), caption == "COM10" ? "CP210x USB to UART Bridge\n\\Device\\Silabser0" : "")
        << caption;
  }
}

TEST_F(PortTips, theItemUnderThePointerShowsItsTipUntilTheListCloses) {
  const CComboItemTips* tips = m_window->ItemTips(IDC_PORT);
  ASSERT_NE(tips, nullptr);
  const int item =
      static_cast<int>(::SendMessageW(Control(IDC_PORT), CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(L"COM10")));
  ASSERT_GE(item, 0);
  ::SendMessageW(Control(IDC_PORT), CB_SHOWDROPDOWN, TRUE, 0);
  RECT rect{};
  ::SendMessageW(tips->List(), LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&rect));
  ::SendMessageW(tips->List(), WM_MOUSEMOVE, 0, MAKELPARAM(rect.left + 2, rect.top + 2));
  EXPECT_TRUE(::IsWindowVisible(tips->ToolTip()));
  wchar_t text[128] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = m_window->Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(Control(IDC_PORT));
  tool.lpszText = text;
  ::SendMessageW(tips->ToolTip(), TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(Narrow(text), "CP210x USB to UART Bridge\r\n\\Device\\Silabser0");

  ::SendMessageW(Control(IDC_PORT), CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_TRUE(Pump([&] { return !::IsWindowVisible(tips->ToolTip()); }));
}

}  // namespace
}  // namespace tolvane::win32::testing
