#include "win32/bench/ReleaseBox.h"

#include "res/Strings.h"
#include "win32/Utf16.h"

namespace tolvane::win32 {

namespace {

constexpr int kReleaseId = 1001;
constexpr int kKeepId = 1002;

}  // namespace

bool AskRelease(HWND owner, const std::string& question) {
  const std::wstring release = Widen(LoadString(IDS_BENCH_RELEASE));
  const std::wstring keep = Widen(LoadString(IDS_BENCH_KEEP));
  const std::wstring text = Widen(question);
  const TASKDIALOG_BUTTON buttons[] = {{kReleaseId, release.c_str()}, {kKeepId, keep.c_str()}};
  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof config;
  config.hwndParent = owner;
  config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
  config.pszWindowTitle = release.c_str();
  config.pszMainIcon = TD_WARNING_ICON;
  config.pszContent = text.c_str();
  config.cButtons = 2;
  config.pButtons = buttons;
  // Keep is what Enter does: releasing an IMEI a unit holds gives it to a second unit.
  config.nDefaultButton = kKeepId;
  int answer = 0;
  if (FAILED(::TaskDialogIndirect(&config, &answer, nullptr, nullptr))) return false;
  return answer == kReleaseId;
}

}  // namespace tolvane::win32
