#include "bench/BenchWindow.h"

#include "res/Strings.h"

namespace tolvane {

std::string ReleaseQuestion(const CUnconfirmedClaim& claim) {
  return FormatString(LoadString(IDS_BENCH_RELEASE_QUESTION),
                      {claim.imei, claim.port, claim.usbSerial.empty() ? LoadString(IDS_BENCH_NONE) : claim.usbSerial});
}

}  // namespace tolvane
