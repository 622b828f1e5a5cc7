// The window contract for the windows without widgets: the core's own, and the tests' subclass.
#include <chrono>
#include <map>
#include <memory>
#include <thread>
#include <type_traits>

#include "HeadlessWindow.h"
#include "WindowContract.h"
#include "ui/MemoryWindow.h"

namespace tolvane::contract {
namespace {

// Nobody else pumps an in-memory window: the driver runs its posted tasks and moves its clock
// straight to the next expiry, so timers cost no real time.
template <typename MemoryWindow>
class CInMemoryDriver {
 public:
  CInMemoryDriver() {
    m_window->SetTimerHandler([this](int id) { ++m_expiries[id]; });
  }

  IWindow& Window() { return *m_window; }

  bool PumpUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      if (m_window->RunPosted() > 0) continue;
      const long long untilNext = m_window->UntilNextTimer();
      if (untilNext >= 0)
        m_window->AdvanceClock(untilNext);
      else
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }

  void Drain() {
    if (m_window) m_window->RunPosted();
  }

  int Expiries(int id) const {
    const auto found = m_expiries.find(id);
    return found == m_expiries.end() ? 0 : found->second;
  }

  void AnswerBoxes(std::function<void(const CShownBox&)> whileOpen) {
    // Nothing else can reach the window while its hook runs.
    m_window->SetMessageBoxHook([whileOpen](const std::string& text) { whileOpen(CShownBox{{}, text, true}); });
  }

  // Neither has an About box to show; the tests' window keeps a menu that can be read.
  static constexpr bool kShowsAboutBox = false;
  std::string SystemMenuEntry(int commandId) const {
    if constexpr (std::is_base_of_v<tolvane::testing::CHeadlessWindow, MemoryWindow>)
      for (const auto& [id, text] : m_window->systemMenu)
        if (id == commandId) return text;
    return {};
  }

  IWindow* EndWindow() {
    m_window.reset();
    return nullptr;
  }

 private:
  std::unique_ptr<MemoryWindow> m_window = std::make_unique<MemoryWindow>();
  std::map<int, int> m_expiries;
};

// Named Threaded*: the hop's cases run a worker, so the sanitizer presets pick the suite up.
INSTANTIATE_TYPED_TEST_SUITE_P(ThreadedMemoryWindow, WindowContract, CInMemoryDriver<CMemoryWindow>);
INSTANTIATE_TYPED_TEST_SUITE_P(ThreadedHeadlessWindow, WindowContract,
                               CInMemoryDriver<tolvane::testing::CHeadlessWindow>);

}  // namespace
}  // namespace tolvane::contract
