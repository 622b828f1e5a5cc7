#include <gtest/gtest.h>

#include "win32/CommSettings.h"
#include "win32/Win32SerialPort.h"

namespace tolvane::win32 {
namespace {

TEST(CommSettings, storedSettingsGiveTheLinksLine) {
  CCommSettings settings;
  ASSERT_TRUE(ParseCommSettings("921600,n,8,1", settings));
  EXPECT_EQ(settings.baudRate, 921600u);
  EXPECT_EQ(settings.parity, NOPARITY);
  EXPECT_EQ(settings.dataBits, 8);
  EXPECT_EQ(settings.stopBits, ONESTOPBIT);

  ASSERT_TRUE(ParseCommSettings(" 9600 , E , 7 , 1.5 ", settings));
  EXPECT_EQ(settings.parity, EVENPARITY);
  EXPECT_EQ(settings.dataBits, 7);
  EXPECT_EQ(settings.stopBits, ONE5STOPBITS);
}

TEST(CommSettings, malformedSettingsAreRefusedAndLeaveTheResultAlone) {
  CCommSettings settings;
  settings.baudRate = 1234;
  for (const char* text : {"", "921600,n,8", "921600,n,8,1,x", "fast,n,8,1", "0,n,8,1", "921600,x,8,1", "921600,n,9,1",
                           "921600,n,8,3", "921600,no,8,1", "-5,n,8,1"})
    EXPECT_FALSE(ParseCommSettings(text, settings)) << text;
  EXPECT_EQ(settings.baudRate, 1234u);
}

TEST(CommSettings, lineHasNoFlowControlAndALineErrorDoesNotAbortTheReads) {
  DCB dcb{};
  dcb.fOutxCtsFlow = TRUE;
  dcb.fOutX = TRUE;
  dcb.fInX = TRUE;
  dcb.fAbortOnError = TRUE;
  dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
  CCommSettings settings;
  ASSERT_TRUE(ParseCommSettings("921600,n,8,1", settings));
  ApplyToDcb(settings, dcb);
  EXPECT_EQ(dcb.BaudRate, 921600u);
  EXPECT_TRUE(dcb.fBinary);
  EXPECT_FALSE(dcb.fParity);
  EXPECT_FALSE(dcb.fOutxCtsFlow);
  EXPECT_FALSE(dcb.fOutX);
  EXPECT_FALSE(dcb.fInX);
  EXPECT_FALSE(dcb.fAbortOnError);
  EXPECT_EQ(dcb.fRtsControl, static_cast<DWORD>(RTS_CONTROL_ENABLE));
}

TEST(SerialPort, aPulledDeviceIsToldApartFromALineError) {
  for (const DWORD gone : {ERROR_ACCESS_DENIED, ERROR_BAD_COMMAND, ERROR_DEVICE_NOT_CONNECTED, ERROR_GEN_FAILURE})
    EXPECT_TRUE(IsVanishedDeviceError(gone)) << gone;
  for (const DWORD lineError : {ERROR_OPERATION_ABORTED, ERROR_IO_DEVICE, ERROR_CRC, ERROR_TIMEOUT})
    EXPECT_FALSE(IsVanishedDeviceError(lineError)) << lineError;
}

TEST(SerialPort, aPortThatDoesNotExistIsNotOpenedAndWritesAreRefused) {
  CWin32SerialPort port;
  EXPECT_FALSE(port.Open(250, port.GetInBufferSize(), port.GetOutBufferSize()));
  EXPECT_FALSE(port.Open(0, port.GetInBufferSize(), port.GetOutBufferSize()));
  EXPECT_FALSE(port.IsOpen());
  EXPECT_FALSE(port.Write("COM:open~"));
  port.Close();  // closing a closed port is harmless
}

}  // namespace
}  // namespace tolvane::win32
