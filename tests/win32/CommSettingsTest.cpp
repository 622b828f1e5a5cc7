#include <gtest/gtest.h>

#include "win32/CommSettings.h"
#include "win32/Win32SerialPort.h"

namespace tolvane::win32 {
namespace {

TEST(CommSettings, lineIsTheParsedOneWithNoFlowControlAndALineErrorDoesNotAbortTheReads) {
  DCB dcb{};
  dcb.fOutxCtsFlow = TRUE;
  dcb.fOutX = TRUE;
  dcb.fInX = TRUE;
  dcb.fAbortOnError = TRUE;
  dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
  ApplyToDcb({921600, EParity::None, 8, EStopBits::One}, dcb);
  EXPECT_EQ(dcb.BaudRate, 921600u);
  EXPECT_EQ(dcb.Parity, NOPARITY);
  EXPECT_EQ(dcb.ByteSize, 8);
  EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
  EXPECT_TRUE(dcb.fBinary);
  EXPECT_FALSE(dcb.fParity);
  EXPECT_FALSE(dcb.fOutxCtsFlow);
  EXPECT_FALSE(dcb.fOutX);
  EXPECT_FALSE(dcb.fInX);
  EXPECT_FALSE(dcb.fAbortOnError);
  EXPECT_EQ(dcb.fRtsControl, static_cast<DWORD>(RTS_CONTROL_ENABLE));

  ApplyToDcb({9600, EParity::Even, 7, EStopBits::Two}, dcb);
  EXPECT_EQ(dcb.Parity, EVENPARITY);
  EXPECT_TRUE(dcb.fParity);
  EXPECT_EQ(dcb.ByteSize, 7);
  EXPECT_EQ(dcb.StopBits, TWOSTOPBITS);
  for (const auto& [parity, expected] : {std::pair{EParity::Odd, ODDPARITY}, std::pair{EParity::Mark, MARKPARITY},
                                         std::pair{EParity::Space, SPACEPARITY}}) {
    ApplyToDcb({9600, parity, 8, EStopBits::One}, dcb);
    EXPECT_EQ(dcb.Parity, expected);
  }
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
