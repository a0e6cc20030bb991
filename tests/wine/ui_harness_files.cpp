#include "wine/ui_harness.h"

#include <winioctl.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "wine/ui_harness_internal.h"

namespace setup::ui {
namespace {

// Starts a host program (Wine runs Unix programs named through \\?\unix\).
// Wine hands back no usable handles for it (the fields hold leftovers, and
// closing them could close a handle of ours), so the caller waits for the
// program's effect instead.
void StartHostProgram(const char* program, const std::string& arguments) {
  std::string command = std::string(program) + " " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION ignored{};
  std::string application = std::string("\\\\?\\unix") + program;
  std::replace(application.begin(), application.end(), '/', '\\');
  if (!CreateProcessA(application.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &ignored))
    throw HarnessError(LastErrorText("cannot start " + command));
}

// A junction from link to target, as Windows makes one; false when the
// system cannot make it.
bool MakeJunction(const std::string& link, const std::string& target) {
  if (!CreateDirectoryA(link.c_str(), nullptr)) return false;
  HANDLE handle = CreateFileA(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  bool made = false;
  if (handle != INVALID_HANDLE_VALUE) {
    std::wstring substitute = L"\\??\\" + std::wstring(target.begin(), target.end());
    std::wstring print(target.begin(), target.end());
    // The mount-point reparse buffer: a header, then both names, each ending in a zero.
    struct MountPointHeader {
      DWORD tag;
      WORD data_length;  // from substitute_offset to the end
      WORD reserved;
      WORD substitute_offset, substitute_length, print_offset, print_length;
    };
    std::string buffer(sizeof(MountPointHeader) + (substitute.size() + print.size() + 2) * sizeof(wchar_t), '\0');
    MountPointHeader header{};
    header.tag = IO_REPARSE_TAG_MOUNT_POINT;
    header.substitute_length = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
    header.print_offset = static_cast<WORD>(header.substitute_length + sizeof(wchar_t));
    header.print_length = static_cast<WORD>(print.size() * sizeof(wchar_t));
    header.data_length = static_cast<WORD>(buffer.size() - 8);
    std::memcpy(buffer.data(), &header, sizeof header);
    char* names = buffer.data() + sizeof header;
    std::memcpy(names, substitute.data(), header.substitute_length);
    std::memcpy(names + header.print_offset, print.data(), header.print_length);
    DWORD returned = 0;
    made = DeviceIoControl(handle, FSCTL_SET_REPARSE_POINT, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr,
                           0, &returned, nullptr) != 0;
    CloseHandle(handle);
  }
  if (!made) RemoveDirectoryA(link.c_str());
  return made && IsFolderLink(link);
}

}  // namespace

std::string Parent(const std::string& path) {
  size_t at = path.find_last_of('\\');
  return at == std::string::npos ? std::string() : path.substr(0, at);
}

void MakeFolders(const std::string& path) {
  for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
  CreateDirectoryA(path.c_str(), nullptr);
}

void WriteFileBytes(const std::string& path, std::string_view bytes) {
  MakeFolders(Parent(path));
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw HarnessError(LastErrorText("cannot write " + path));
  DWORD written = 0;
  BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  if (!ok || written != bytes.size()) throw HarnessError("cannot write " + path);
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string content;
  char block[4096];
  DWORD got = 0;
  BOOL read = TRUE;
  while ((read = ReadFile(file, block, sizeof block, &got, nullptr)) && got > 0) content.append(block, got);
  CloseHandle(file);
  // A read that fails part way (a locked range, say) is no content at all.
  if (!read) return std::nullopt;
  return content;
}

bool RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string child = path + "\\" + name;
      bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      if (folder && (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        try {
          RemoveFolderLink(child);
        } catch (const HarnessError&) {
          // Left in place; the folder then stays and the result says so.
        }
        continue;
      }
      SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);  // read-only files too
      if (folder)
        RemoveTree(child);
      else
        DeleteFileA(child.c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
  return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

std::string UnixPathOf(const std::string& windows_path) {
  // Exported by Wine's kernel32, though no import library names it.
  using UnixFileName = char*(CDECL*)(const WCHAR*);
  auto unix_file_name = reinterpret_cast<UnixFileName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!unix_file_name) throw HarnessError("not running under Wine");
  std::wstring wide(windows_path.begin(), windows_path.end());
  char* unix_path = unix_file_name(wide.c_str());
  if (!unix_path) throw HarnessError("no Unix path for " + windows_path);
  std::string result(unix_path);
  HeapFree(GetProcessHeap(), 0, unix_path);
  return result;
}

bool IsFolderLink(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

void MakeFolderLink(const std::string& link, const std::string& target) {
  if (MakeJunction(link, target)) return;
  StartHostProgram("/bin/ln", "-s " + QuoteArgument(UnixPathOf(target)) + " " + QuoteArgument(UnixPathOf(link)));
  if (!WaitUntil([&] { return IsFolderLink(link); })) throw HarnessError("cannot make the folder link " + link);
}

void RemoveFolderLink(const std::string& link) {
  if (!IsFolderLink(link) || RemoveDirectoryA(link.c_str())) return;
  // Wine 8 removes a host symbolic link neither as a folder nor as a file.
  StartHostProgram("/bin/rm", "-f " + QuoteArgument(UnixPathOf(link)));
  if (!WaitUntil([&] { return GetFileAttributesA(link.c_str()) == INVALID_FILE_ATTRIBUTES; }))
    throw HarnessError("cannot remove the folder link " + link);
}

}  // namespace setup::ui
