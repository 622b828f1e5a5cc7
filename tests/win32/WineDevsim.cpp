#include "WineDevsim.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "win32/Utf16.h"
#include "win32/WinApi.h"

namespace tolvane::win32::testing {
namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::wstring Quoted(const std::string& argument) { return L"\"" + Widen(argument) + L"\""; }

}  // namespace

CWineTestEnvironment CWineTestEnvironment::FromEnvironment() {
  CWineTestEnvironment environment;
  environment.devsim = Variable("TOLVANE_DEVSIM");
  environment.wrapper = Variable("TOLVANE_DEVSIM_WRAPPER");
  environment.comLink = Variable("TOLVANE_WINE_COM_LINK");
  environment.scratch = Variable("TOLVANE_WINE_SCRATCH");
  environment.comNumber = std::atoi(Variable("TOLVANE_WINE_COM").c_str());
  return environment;
}

std::string DosPathOf(const std::string& linuxPath) {
  std::string path = "Z:" + linuxPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

bool RunLinuxProgram(const std::vector<std::string>& arguments) {
  std::wstring commandLine;
  for (const std::string& argument : arguments) commandLine += (commandLine.empty() ? L"" : L" ") + Quoted(argument);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  // Wine hands out no handles for a Linux process; close whatever came back.
  if (process.hThread) ::CloseHandle(process.hThread);
  if (process.hProcess) ::CloseHandle(process.hProcess);
  return true;
}

CWineDevsim::CWineDevsim(const CWineTestEnvironment& environment, std::vector<std::string> arguments)
    : m_environment(environment), m_arguments(std::move(arguments)) {
  static int s_nextDevice = 0;
  // Wine hands out the same process ids run after run; the clock keeps the names apart.
  m_strLog = environment.scratch + "/devsim-" + std::to_string(::GetTickCount64()) + "-" +
             std::to_string(++s_nextDevice) + ".log";
}

CWineDevsim::~CWineDevsim() { Stop(); }

bool CWineDevsim::Start() {
  std::vector<std::string> command{"/bin/sh", m_environment.wrapper, m_environment.devsim, m_environment.comLink,
                                   m_strLog};
  command.insert(command.end(), m_arguments.begin(), m_arguments.end());
  if (!RunLinuxProgram(command)) return false;
  m_bStarted = true;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < deadline) {
    if (!ReadFile(m_strLog + ".linked").empty()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

std::string CWineDevsim::Output() const { return ReadFile(m_strLog); }

void CWineDevsim::Stop() {
  if (!m_bStarted) return;
  m_bStarted = false;
  // One that ended by itself (a pulled cable) has said so; its id may belong to another process now.
  const std::string output = Output();
  if (output.find("tolvane-devsim: unplugged") != std::string::npos ||
      output.find("tolvane-devsim: stopped") != std::string::npos)
    return;
  std::string pid = ReadFile(m_strLog + ".pid");
  while (!pid.empty() && (pid.back() == '\n' || pid.back() == '\r')) pid.pop_back();
  if (!pid.empty()) RunLinuxProgram({"/bin/kill", pid});
}

std::string CWineDevsim::ReadFile(const std::string& linuxPath) const {
  std::ifstream file(DosPathOf(linuxPath), std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace tolvane::win32::testing
