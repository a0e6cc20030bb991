#include "platform/win32/win32_environment.h"

#include <windows.h>

#include <vector>

#include "platform/win32/win32_wide_text.h"

namespace setup {

std::optional<std::string> Win32Environment::Variable(std::string_view name) {
  // Read in the wide form: a folder such as TEMP may hold a character the
  // code page cannot hold, which the ANSI call would give as a look-alike.
  std::vector<wchar_t> wide_name = Widened(name);
  // The first call asks for the size with the terminator; a value that grows
  // before the read is asked for again.
  DWORD size = GetEnvironmentVariableW(wide_name.data(), nullptr, 0);
  for (int attempt = 0; attempt < 4 && size > 0; ++attempt) {
    std::vector<wchar_t> value(size, L'\0');
    DWORD got = GetEnvironmentVariableW(wide_name.data(), value.data(), size);
    if (got < size) return NarrowExactly(std::wstring_view(value.data(), got));
    size = got;
  }
  return std::nullopt;
}

bool Win32Environment::RunsAsLocalSystem() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  // A TOKEN_USER with room for the largest SID.
  alignas(TOKEN_USER) unsigned char buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
  DWORD size = 0;
  bool system = GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size) &&
                IsWellKnownSid(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, WinLocalSystemSid);
  CloseHandle(token);
  return system;
}

std::optional<std::uint32_t> Win32Environment::RunAndWait(const std::string& program, const std::string& command_line,
                                                          std::string_view name, std::string_view value) {
  std::string folder = program.substr(0, program.find_last_of('\\') + 1);
  // The started program inherits the variable; this one only waits.
  if (!SetEnvironmentVariableA(std::string(name).c_str(), std::string(value).c_str())) return std::nullopt;
  SetCurrentDirectoryA(folder.c_str());
  std::vector<char> line(command_line.begin(), command_line.end());
  line.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &started))
    return std::nullopt;
  CloseHandle(started.hThread);
  DWORD code = 0;
  bool ended =
      WaitForSingleObject(started.hProcess, INFINITE) == WAIT_OBJECT_0 && GetExitCodeProcess(started.hProcess, &code);
  CloseHandle(started.hProcess);
  if (!ended) return std::nullopt;
  return static_cast<std::uint32_t>(code);
}

}  // namespace setup
