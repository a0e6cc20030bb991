#include "wine/ui_harness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "wine/ui_harness_internal.h"

namespace setup::ui {
namespace {

std::string PackageName(std::string name) {
  if (name.empty()) {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    name = test ? std::string(test->test_suite_name()) + "." + test->name() : "package";
  }
  for (char& c : name)
    if (std::strchr("\\/:*?\"<>|", c)) c = '_';
  return name;
}

// CreateProcessA, started again when Wine fails it with ERROR_INTERNAL_ERROR:
// now and then Wine cannot bring up a new process, before any of its code
// runs, and says no more than that. Any other failure, or that one three
// times over, is the caller's to report.
BOOL StartProcess(const std::string& exe_path, std::string& command, BOOL inherit, DWORD flags,
                  const std::string& working_folder, STARTUPINFOA& startup, PROCESS_INFORMATION& info) {
  for (int attempt = 1;; ++attempt) {
    if (CreateProcessA(exe_path.c_str(), command.data(), nullptr, nullptr, inherit, flags, nullptr,
                       working_folder.empty() ? nullptr : working_folder.c_str(), &startup, &info))
      return TRUE;
    if (GetLastError() != ERROR_INTERNAL_ERROR || attempt == 3) return FALSE;
    std::fprintf(stderr, "Wine could not start %s (error 1359): starting it again\n", command.c_str());
  }
}

}  // namespace

std::string TestFilesFolder() {
  char buffer[MAX_PATH] = {};
  DWORD length = GetEnvironmentVariableA("SETUP_UI_FILES", buffer, MAX_PATH);
  std::string folder;
  if (length > 0 && length < MAX_PATH) {
    folder = buffer;
  } else {
    length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    folder = Parent(std::string(buffer, length));
  }
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

std::string TestFile(std::string_view name) {
  std::string path = TestFilesFolder() + std::string(name);
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
    throw HarnessError(path + " is missing: the runner copies it beside the tests (SETUP_WINE_WITH)");
  return path;
}

std::string QuoteArgument(std::string_view argument) {
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string_view::npos) return std::string(argument);
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes double only before a quote, which is escaped itself.
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');
  return quoted + "\"";
}

Package::Package(std::string name) : folder_("C:\\pkg\\" + PackageName(std::move(name)) + "\\") {
  std::string bare = folder_.substr(0, folder_.size() - 1);
  if (!RemoveTree(bare)) throw HarnessError("cannot empty " + folder_ + " (is a program still running there?)");
  MakeFolders(bare);
}

std::string Package::Path(std::string_view relative) const { return folder_ + std::string(relative); }

void Package::Write(std::string_view relative, std::string_view bytes) const { WriteFileBytes(Path(relative), bytes); }

void Package::CopyIn(const std::string& source, std::string_view relative) const {
  std::string target = Path(relative);
  MakeFolders(Parent(target));
  if (!CopyFileA(source.c_str(), target.c_str(), FALSE))
    throw HarnessError(LastErrorText("cannot copy " + source + " to " + target));
}

void Package::AddSetup() const { CopyIn(TestFile("Setup.exe"), "Setup.exe"); }

std::optional<std::string> Package::Read(std::string_view relative) const { return ReadFileBytes(Path(relative)); }

RunningProgram::RunningProgram(const std::string& exe_path, const std::string& arguments,
                               const std::string& working_folder) {
  std::string command = QuoteArgument(exe_path) + (arguments.empty() ? "" : " " + arguments);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!StartProcess(exe_path, command, FALSE, 0, working_folder, startup, info))
    throw HarnessError(LastErrorText("cannot start " + command));
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  pid_ = info.dwProcessId;
}

RunningProgram::RunningProgram(const Package& package, const std::string& arguments)
    : RunningProgram(package.Path("Setup.exe"), arguments, package.folder()) {}

RunningProgram::~RunningProgram() {
  if (Running()) Kill();
  CloseHandle(process_);
}

std::optional<DWORD> RunningProgram::WaitExit(DWORD timeout_ms) {
  if (WaitForSingleObject(process_, timeout_ms) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

bool RunningProgram::Running() const { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

void RunningProgram::Kill() {
  TerminateProcess(process_, 9999);
  WaitForSingleObject(process_, kDefaultTimeoutMs);
}

ConsoleRun RunConsole(const std::string& exe_path, const std::string& arguments, const std::string& working_folder,
                      DWORD timeout_ms) {
  char folder[MAX_PATH], path[MAX_PATH];
  if (!GetTempPathA(MAX_PATH, folder) || !GetTempFileNameA(folder, "out", 0, path))
    throw HarnessError(LastErrorText("cannot make a file for the output"));
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE output =
      CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
  if (output == INVALID_HANDLE_VALUE) throw HarnessError(LastErrorText(std::string("cannot open ") + path));
  std::string command = QuoteArgument(exe_path) + (arguments.empty() ? "" : " " + arguments);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = output;
  startup.hStdError = output;
  PROCESS_INFORMATION info = {};
  BOOL started = StartProcess(exe_path, command, TRUE, CREATE_NO_WINDOW, working_folder, startup, info);
  CloseHandle(output);
  if (!started) {
    DeleteFileA(path);
    throw HarnessError(LastErrorText("cannot start " + command));
  }
  CloseHandle(info.hThread);
  DWORD waited = WaitForSingleObject(info.hProcess, timeout_ms);
  ConsoleRun run;
  if (waited == WAIT_OBJECT_0) GetExitCodeProcess(info.hProcess, &run.exit_code);
  if (waited != WAIT_OBJECT_0) {
    TerminateProcess(info.hProcess, 9999);
    WaitForSingleObject(info.hProcess, kDefaultTimeoutMs);
  }
  CloseHandle(info.hProcess);
  run.output = ReadFileBytes(path).value_or("");
  DeleteFileA(path);
  if (waited != WAIT_OBJECT_0) throw HarnessError(command + " did not end within the time");
  return run;
}

}  // namespace setup::ui
