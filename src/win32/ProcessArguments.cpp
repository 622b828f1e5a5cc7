#include "win32/ProcessArguments.h"

#include "win32/Utf16.h"
#include "win32/WinApi.h"
// After windows.h, which it builds on.
#include <shellapi.h>

namespace tolvane::win32 {

std::vector<std::string> ProcessArguments() {
  std::vector<std::string> arguments;
  int count = 0;
  wchar_t** list = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!list) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Narrow(list[i]));
  ::LocalFree(list);
  return arguments;
}

}  // namespace tolvane::win32
