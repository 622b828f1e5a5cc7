#include <gtest/gtest.h>

#include "win32/Utf16.h"
#include "win32/Win32PortList.h"

namespace tolvane::win32 {
namespace {

TEST(PortList, comNumberIsReadFromThePortName) {
  EXPECT_EQ(ComNumberOfPortName(L"COM1"), 1);
  EXPECT_EQ(ComNumberOfPortName(L"COM256"), 256);
  EXPECT_EQ(ComNumberOfPortName(L"com7"), 7);
  for (const wchar_t* name : {L"", L"COM", L"COM0", L"COM01", L"LPT1", L"COM1 ", L"COM-1", L"CNCA0", L"COM99999"})
    EXPECT_EQ(ComNumberOfPortName(name), 0) << Narrow(name);
}

TEST(PortList, captionsAreThePortNamesOnceEachInNumberOrder) {
  const std::vector<std::string> captions =
      PortCaptionsFromSerialComm({L"COM10", L"COM2", L"LPT1", L"COM1", L"COM2", L"", L"com3"});
  EXPECT_EQ(captions, (std::vector<std::string>{"COM1", "COM2", "COM3", "COM10"}));
}

TEST(PortList, likelyDeviceIsTheFirstPortOfAnAdaptersDriver) {
  EXPECT_EQ(LikelyDevicePort({{L"\\Device\\Serial0", L"COM1"},
                              {L"\\Device\\VCP1", L"COM12"},
                              {L"\\Device\\Silabser0", L"COM4"},
                              {L"\\Device\\BthModem0", L"COM3"}}),
            "COM4");
  // Only the PC's own ports and Bluetooth's: none stands out, as under Wine.
  EXPECT_EQ(LikelyDevicePort(
                {{L"\\Device\\Serial0", L"COM1"}, {L"\\Device\\Serial4", L"COM5"}, {L"\\Device\\BthModem2", L"COM8"}}),
            "");
  EXPECT_EQ(LikelyDevicePort({{L"\\Device\\USBSER000", L"LPT1"}}), "");  // cannot be opened by number
}

TEST(PortList, theSystemsListHoldsOnlyPortsThatCanBeOpenedByNumber) {
  for (const std::string& caption : CWin32PortList().ListPorts()) {
    ASSERT_GT(caption.size(), 3u);
    EXPECT_EQ(caption.substr(0, 3), "COM");
    EXPECT_GT(std::atoi(caption.c_str() + 3), 0) << caption;
  }
}

}  // namespace
}  // namespace tolvane::win32
