#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/win32_wide_text.h"

namespace setup {
namespace {

// Listed through the wide functions: the ANSI ones would hand out a name
// the code page cannot hold as a look-alike that names another file.
class Win32Listing : public FolderListing {
 public:
  Win32Listing(HANDLE handle, const WIN32_FIND_DATAW& first) : handle_(handle), data_(first) {}
  ~Win32Listing() override { FindClose(handle_); }
  Win32Listing(const Win32Listing&) = delete;
  Win32Listing& operator=(const Win32Listing&) = delete;

  std::optional<FoundEntry> Next() override {
    if (!pending_) {
      if (!FindNextFileW(handle_, &data_)) return std::nullopt;
    }
    pending_ = false;
    return FoundEntry{NarrowExactly(data_.cFileName), data_.dwFileAttributes};
  }

 private:
  HANDLE handle_;
  WIN32_FIND_DATAW data_;
  bool pending_ = true;  // the entry FindFirstFileExA gave has not been handed out yet
};

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

// The parent folder of a path, or empty at a root.
std::string ParentOf(const std::string& path) {
  std::size_t end = path.find_last_not_of('\\');
  if (end == std::string::npos) return {};
  std::size_t slash = path.find_last_of('\\', end);
  if (slash == std::string::npos) return {};
  std::string parent = path.substr(0, slash);
  if (parent.size() == 2 && parent[1] == ':') parent += '\\';
  return parent;
}

}  // namespace

std::string Win32FileSystem::ExecutablePath() {
  std::vector<wchar_t> wide(MAX_PATH);
  DWORD length = 0;
  for (;;) {
    length = GetModuleFileNameW(nullptr, wide.data(), static_cast<DWORD>(wide.size()));
    if (length == 0) return {};
    if (length < wide.size()) break;
    wide.resize(wide.size() * 2);
  }
  return NarrowExactly(std::wstring_view(wide.data(), length));
}

std::string Win32FileSystem::ExecutableFolder() {
  std::string path = ExecutablePath();
  return path.substr(0, path.find_last_of('\\') + 1);
}

std::unique_ptr<FolderListing> Win32FileSystem::List(const std::string& pattern) {
  WIN32_FIND_DATAW data;
  // The basic information level and large fetch give the same entries in the
  // same order with less work per folder.
  HANDLE handle = FindFirstFileExW(Widened(pattern).data(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32Listing>(handle, data);
}

bool Win32FileSystem::FolderExists(const std::string& path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32FileSystem::FileExists(const std::string& path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::string> Win32FileSystem::ReadWholeFile(const std::string& path, std::size_t limit) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string content;
  LARGE_INTEGER size{};
  bool ok = true;
  DWORD error = ERROR_SUCCESS;
  // Only files on a disk: a device name (COM1, CON, ...) opens too, and a
  // read from it may wait for ever.
  if (GetFileType(file) != FILE_TYPE_DISK) {
    ok = false;
    error = ERROR_ACCESS_DENIED;
  }
  // The size asked first refuses a large file before a byte is read; the
  // count while reading covers what has no size or grows meanwhile.
  if (ok && GetFileSizeEx(file, &size) && static_cast<unsigned long long>(size.QuadPart) > limit) {
    ok = false;
    error = ERROR_FILE_TOO_LARGE;
  }
  char block[64 * 1024];
  DWORD got = 0;
  while (ok && (ok = ReadFile(file, block, sizeof block, &got, nullptr) != 0) && got > 0) {
    if (got > limit - content.size()) {
      ok = false;
      error = ERROR_FILE_TOO_LARGE;
      break;
    }
    content.append(block, got);
  }
  if (!ok && error == ERROR_SUCCESS) error = GetLastError();
  CloseHandle(file);
  if (!ok) {
    SetLastError(error);
    return std::nullopt;
  }
  return content;
}

bool Win32FileSystem::CreateFolder(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

bool Win32FileSystem::CreateFolderTree(const std::string& path) {
  std::string folder = path;
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  if (folder.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
  }
  // Nothing longer can be made with these calls; refused before any level
  // is made, and the levels are walked in a loop, not one call deeper each.
  if (folder.size() >= MAX_PATH) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  std::vector<std::string> missing;  // deepest first
  for (std::string level = folder; !level.empty() && !FolderExists(level);) {
    missing.push_back(level);
    std::string parent = ParentOf(level);
    if (parent == level) break;
    level = std::move(parent);
  }
  for (auto level = missing.rbegin(); level != missing.rend(); ++level) {
    if (CreateDirectoryA(level->c_str(), nullptr)) continue;
    // Someone else may have made it in between; what counts is that it exists.
    DWORD error = GetLastError();
    if (FolderExists(*level)) continue;
    SetLastError(error);
    return false;
  }
  return true;
}

bool Win32FileSystem::CopyReplacing(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

namespace {

// Writes all bytes to an open file; false with the last error set.
bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// Closes a handle and keeps the error of what went before.
bool CloseKeepingError(HANDLE file, bool ok) {
  DWORD error = GetLastError();
  if (!CloseHandle(file) && ok) return false;
  SetLastError(error);
  return ok;
}

}  // namespace

bool Win32FileSystem::AppendToFile(const std::string& path, std::string_view bytes) {
  // Asked before opening as well: Wine follows a link even when opened with
  // FILE_FLAG_OPEN_REPARSE_POINT, and shows a folder link only to this.
  if (IsLink(path)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  // Append access alone: every write lands at the end, also when another
  // writer appends meanwhile. A link at the path is opened itself, never
  // followed, and then refused.
  HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION information{};
  bool link = GetFileInformationByHandle(file, &information) &&
              (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  if (link || GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return CloseKeepingError(file, WriteAll(file, bytes));
}

bool Win32FileSystem::WriteWholeFile(const std::string& path, std::string_view bytes) {
  // Written beside it first and moved over it, so a run that stops half-way
  // leaves the old file whole.
  if (IsLink(path)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  // A stale or planted ".new" goes first (a link itself, not its target),
  // and the fresh file must be new: nothing is written through a name that
  // was there. The move then replaces the name, never what it leads to.
  std::string fresh = path + ".new";
  DeleteFileA(fresh.c_str());
  HANDLE file = CreateFileA(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = WriteAll(file, bytes) && FlushFileBuffers(file);
  if (!CloseKeepingError(file, ok) ||
      !MoveFileExA(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DWORD error = GetLastError();
    DeleteFileA(fresh.c_str());
    SetLastError(error);
    return false;
  }
  return true;
}

bool Win32FileSystem::RemoveFile(const std::string& path) {
  DWORD attributes = Attributes(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  // DeleteFileA refuses a read-only file.
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesA(path.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
  return DeleteFileA(path.c_str()) != 0;
}

bool Win32FileSystem::RemoveFolder(const std::string& path) { return RemoveDirectoryA(path.c_str()) != 0; }

bool Win32FileSystem::IsLink(const std::string& path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool Win32FileSystem::CanWriteIn(const std::string& folder) {
  std::string probe = folder;
  if (probe.empty() || probe.back() != '\\') probe += '\\';
  probe += "~setup-probe-" + std::to_string(GetCurrentProcessId()) + ".tmp";
  HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

bool Win32FileSystem::ReplaceAtRestart(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING) != 0;
}

bool Win32FileSystem::RemoveAtRestart(const std::string& path) {
  return MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}

bool Win32FileSystem::MayUseRestartList() {
  // The system keeps the list in a value of this key, which only
  // administrators and the system account may write: opening it for
  // writing tells without adding anything to it.
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0, KEY_SET_VALUE,
                    &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

namespace {

// A folder the shell names by its CSIDL number, without a trailing
// backslash; empty when it names none.
std::string ShellFolder(int csidl) {
  // shell32 is loaded by its full system path: nothing beside the program
  // may stand in for it, and an import would be looked for there first.
  char system[MAX_PATH] = "";
  UINT length = GetSystemDirectoryA(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  HMODULE shell32 = LoadLibraryA((std::string(system, length) + "\\shell32.dll").c_str());
  if (!shell32) return {};
  using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
  auto get_folder_path =
      reinterpret_cast<GetFolderPath>(reinterpret_cast<void*>(GetProcAddress(shell32, "SHGetFolderPathW")));
  wchar_t folder[MAX_PATH] = L"";
  bool found = get_folder_path && get_folder_path(nullptr, csidl, nullptr, 0, folder) == S_OK;
  FreeLibrary(shell32);
  std::string result = found ? NarrowExactly(folder) : "";
  while (result.size() > 3 && result.back() == '\\') result.pop_back();
  return result;
}

}  // namespace

std::string Win32FileSystem::ProgramFilesFolder() {
  constexpr int kProgramFilesX86 = 0x002a;  // CSIDL_PROGRAM_FILESX86
  constexpr int kProgramFiles = 0x0026;     // CSIDL_PROGRAM_FILES
  std::string folder = ShellFolder(kProgramFilesX86);
  return folder.empty() ? ShellFolder(kProgramFiles) : folder;
}

std::string Win32FileSystem::LocalDataFolder() {
  constexpr int kLocalAppData = 0x001c;  // CSIDL_LOCAL_APPDATA
  return ShellFolder(kLocalAppData);
}

std::string Win32FileSystem::WindowsFolder() {
  char folder[MAX_PATH] = "";
  UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::string result(folder, length);
  while (result.size() > 3 && result.back() == '\\') result.pop_back();
  return result;
}

std::string Win32FileSystem::CommonDataFolder() {
  constexpr int kCommonAppData = 0x0023;  // CSIDL_COMMON_APPDATA
  return ShellFolder(kCommonAppData);
}

std::uint32_t Win32FileSystem::LastError() { return GetLastError(); }

std::optional<std::string> Win32FileSystem::ErrorText(std::uint32_t code) {
  char* text = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
      MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0, nullptr);
  if (length == 0 || text == nullptr) return std::nullopt;
  std::string result(text, length);
  LocalFree(text);
  return result;
}

std::uint32_t Win32FileSystem::DriveTypeOf(const std::string& root) { return GetDriveTypeA(root.c_str()); }

}  // namespace setup
