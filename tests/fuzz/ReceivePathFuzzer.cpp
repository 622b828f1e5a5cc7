// libFuzzer target for the receive path. Arbitrary bytes, cut into pieces as a port delivers them,
// go through the port's framing, the receiver's cutting and the dispatcher, on the headless window.
// The dispatcher runs on this thread, as every hop would run it on the window's thread.
//
// Input: the first byte chooses how the rest is cut into pieces; the rest is what the line carries.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "FakePort.h"
#include "HeadlessWindow.h"
#include "link/Framing.h"
#include "ui/MirlSettingsDlg.h"

namespace {

using namespace tolvane;

// Boxes are only counted: ten million inputs would otherwise keep every text.
class CFuzzWindow : public testing::CHeadlessWindow {
 public:
  void MessageBox(const std::string&) override { ++m_nBoxes; }

 private:
  long m_nBoxes = 0;
};

// One dialog for the whole run, brought to the same state before every input so that a finding
// replays on its own.
class CHarness {
 public:
  CHarness() : m_ports({"COM1 (ttyS0)"}), m_dialog(m_window, m_port, m_ports) {
    // The workers park until the link closes: this thread plays both the window and the receiver.
    m_dialog.SetSleeper([this](std::chrono::milliseconds) {
      while (m_dialog.IsRunning()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    m_dialog.OnInitDialog();
  }

  void StartInput() {
    if (m_dialog.IsRunning()) {
      for (const char* message : {"WiFi:close", "BT:close", "GPS:close"}) m_dialog.HandleDeviceMessage(message);
      m_dialog.ResetDeviceState();
    } else {
      m_dialog.OnConnect();
    }
    m_port.ClearWrites();
    m_dialog.HandleDeviceMessage("COM:open");
  }

  CMirlSettingsDlg& Dialog() { return m_dialog; }
  const CFuzzWindow& Window() const { return m_window; }

 private:
  CFuzzWindow m_window;
  testing::CFakePort m_port;
  testing::CFakePortList m_ports;
  CMirlSettingsDlg m_dialog;
};

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "receive path: %s\n", what);
  std::abort();
}

// Piece lengths from 1 to a maximum that the seed also picks, so both byte-at-a-time reads and
// long bursts occur.
std::vector<std::string_view> CutIntoPieces(std::string_view bytes, std::uint8_t seed) {
  std::vector<std::string_view> pieces;
  std::uint32_t state = 0x9E3779B9u ^ seed;
  const std::uint32_t longest = 1u + (seed % 64u);
  while (!bytes.empty()) {
    state = state * 1664525u + 1013904223u;
    const std::size_t length = std::min<std::size_t>(bytes.size(), 1u + (state >> 16) % longest);
    pieces.push_back(bytes.substr(0, length));
    bytes.remove_prefix(length);
  }
  return pieces;
}

struct CCutMessages {
  std::vector<std::string> messages;
  std::vector<std::size_t> completeAfterPiece;  // how many messages were whole after each piece
};

// Frames and cuts the pieces as the port and the receiver do, checking the bounds on the way.
CCutMessages CutMessages(const std::vector<std::string_view>& pieces) {
  CByteFramer framer;
  CMessageCutter cutter;
  CCutMessages cut;
  for (const std::string_view piece : pieces) {
    cutter.Append(framer.Feed(piece));
    if (framer.PendingBytes() > kMaxPendingTail) Fail("the port's pending bytes passed their cap");
    std::string message;
    while (cutter.Next(message)) cut.messages.push_back(message);
    if (cutter.Pending().size() > kMaxPendingTail) Fail("the receiver's pending text passed its cap");
    cut.completeAfterPiece.push_back(cut.messages.size());
  }
  return cut;
}

void CheckWindow(const CFuzzWindow& window, std::size_t longestGpsRaw) {
  const auto gpsUnits = static_cast<std::size_t>(window.GetWindowTextLength(IDC_GPS_RAW));
  // The box is emptied once it holds GPS_RAW_MAX characters; one message may then go past.
  if (gpsUnits > CMirlSettingsDlg::GPS_RAW_MAX - 1 + longestGpsRaw) Fail("the GPS box grew past its bound");
  std::set<std::string> addresses;
  for (const auto& row : window.At(IDC_BT_LIST).rows) {
    const std::string address = row.cells.size() > 1 ? row.cells[1] : std::string();
    if (!addresses.insert(address).second) Fail("the Bluetooth list holds two rows with one address");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static CHarness& harness = *new CHarness;  // its workers stay parked for the whole run
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  const CCutMessages cut = CutMessages(CutIntoPieces(bytes, data[0]));
  // Past the cap, noise is dropped where the pieces happen to reach it; below it, how the line
  // was cut must not matter.
  if (bytes.size() <= kMaxPendingTail && cut.messages != CutMessages({bytes}).messages)
    Fail("cutting the same bytes differently gave different messages");

  harness.StartInput();
  CMirlSettingsDlg& dialog = harness.Dialog();
  std::size_t longestGpsRaw = 0;
  std::size_t next = 0;
  for (const std::size_t pieceEnd : cut.completeAfterPiece) {
    for (; next < pieceEnd; ++next) {
      const std::string& message = cut.messages[next];
      if (message.rfind("GPS_R:", 0) == 0)
        longestGpsRaw = std::max(longestGpsRaw, static_cast<std::size_t>(Utf16Length(message.substr(6))));
      dialog.HandleDeviceMessage(message);
      CheckWindow(harness.Window(), longestGpsRaw);
    }
    // As the receiver: a piece whose message closed the link is the last one this link handles.
    if (!dialog.IsRunning()) break;
  }
  return 0;
}
