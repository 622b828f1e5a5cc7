// TolvaneBench.exe: the production line in a window, a tile per slot, until it is closed.
#include <filesystem>

#include "bench/BenchCommandLine.h"
#include "bench/BenchSession.h"
#include "engine/ProvisionReport.h"
#include "engine/ProvisionStart.h"
#include "res/Strings.h"
#include "win32/ProcessArguments.h"
#include "win32/Utf16.h"
#include "win32/WinApi.h"
#include "win32/bench/Win32BenchWindow.h"
#include "win32/provision/Win32ProvisionPlatform.h"
#ifdef TOLVANE_WITH_POOL
#include "pool/ImeiPoolSource.h"
#if __has_include("pool/BenchPoolOverImeiPool.h")
#include "pool/BenchPoolOverImeiPool.h"
#define TOLVANE_WITH_BENCH_POOL
#endif
#endif

namespace tolvane::win32 {

namespace {

constexpr char kProgram[] = "TolvaneBench";

// A window program has no console to print to: the help and the refusals come in a box.
int Say(const std::string& text, int status) {
  ::MessageBoxW(nullptr, Widen(text).c_str(), Widen(LoadString(IDS_BENCH_TITLE)).c_str(),
                status == kExitOk ? MB_ICONINFORMATION | MB_OK : MB_ICONERROR | MB_OK);
  return status;
}

#ifndef TOLVANE_WITH_POOL
std::unique_ptr<IImeiSource> NoPool(const CProvisionOptions&, std::string& error, int& status) {
  error = "this TolvaneBench.exe was built without the IMEI pool";
  status = kExitUsage;
  return nullptr;
}
#endif

int RunBench() {
  // The units' report lines read as tolvane-provision prints them, in English; the window itself
  // speaks the language asked for.
  SetProcessTextLanguage(TextLanguage::English);
  const CBenchCommandLine line = ParseBenchCommandLine(ProcessArguments(), ComputerName(), kProgram);
  if (line.action != CProvisionCommandLine::EAction::Run) return Say(line.text, line.exitStatus);
  SetThreadTextLanguage(line.language);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&controls);

  CWin32ProvisionPlatform platform;
  std::string error;
  int status = kExitOk;
#ifdef TOLVANE_WITH_POOL
  std::optional<CProvisionStart> run =
      PrepareProvision(line.options, platform.Files(), OpenImeiPoolSource, error, status);
#else
  std::optional<CProvisionStart> run = PrepareProvision(line.options, platform.Files(), NoPool, error, status);
#endif
  if (!run) return Say(error, status);
  CBenchStart start;
#ifdef TOLVANE_WITH_BENCH_POOL
  if (!line.options.poolAddress.empty()) {
    start.pool = OpenBenchPool(line.options.poolAddress, line.options.station, error);
    if (!start.pool) return Say(error, kExitPool);
  }
#endif
  start.options = line.options;
  start.run = std::move(*run);
  start.profileName = std::filesystem::path(line.options.profilePath).filename().string();
  start.labels = line.labels;

  CWin32BenchWindow window(static_cast<int>(line.options.comNumbers.size()), line.labels, start.pool != nullptr);
  if (!window.Handle()) return Say("the bench window could not be made", kExitFailed);
  int exitStatus = kExitOk;
  window.onClosed = [&exitStatus](int finished) {
    // Closing the window is how a bench ends, not an interruption.
    exitStatus = finished == kExitInterrupted ? kExitOk : finished;
    ::PostQuitMessage(0);
  };
  CBenchSession session(platform, std::move(start), window,
                        [&window](std::function<void()> task) { window.Post(std::move(task)); });
  window.Attach(session);
  ::ShowWindow(window.Handle(), SW_SHOW);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    HWND bench = window.Handle();
    if (bench && ::IsDialogMessageW(bench, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return exitStatus;
}

}  // namespace

}  // namespace tolvane::win32

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return tolvane::win32::RunBench(); }
