#include "win32/CommSettings.h"

namespace tolvane::win32 {
namespace {

BYTE ParityOf(EParity parity) {
  switch (parity) {
    case EParity::Odd: return ODDPARITY;
    case EParity::Even: return EVENPARITY;
    case EParity::Mark: return MARKPARITY;
    case EParity::Space: return SPACEPARITY;
    case EParity::None: break;
  }
  return NOPARITY;
}

}  // namespace

void ApplyToDcb(const CLineSettings& settings, DCB& dcb) {
  dcb.DCBlength = sizeof(DCB);
  dcb.BaudRate = static_cast<DWORD>(settings.baudRate);
  dcb.ByteSize = static_cast<BYTE>(settings.dataBits);
  dcb.Parity = ParityOf(settings.parity);
  dcb.StopBits = settings.stopBits == EStopBits::Two ? TWOSTOPBITS : ONESTOPBIT;
  dcb.fBinary = TRUE;
  dcb.fParity = settings.parity != EParity::None ? TRUE : FALSE;
  dcb.fOutxCtsFlow = FALSE;
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fDsrSensitivity = FALSE;
  dcb.fOutX = FALSE;
  dcb.fInX = FALSE;
  dcb.fErrorChar = FALSE;
  dcb.fNull = FALSE;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
  dcb.fAbortOnError = FALSE;
}

}  // namespace tolvane::win32
