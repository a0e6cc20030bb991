#include <cstring>

#include "wine/ui_harness.h"

// After windows.h, which the harness brings.
#include <winioctl.h>

namespace setup::ui {
namespace {

// Wine keeps its drive letters as links in the prefix, which only its mount
// manager makes (DefineDosDevice names a path that its file functions do not
// follow). This is the request its configuration tool sends; the layout is
// Wine's own.
struct UnixDriveRequest {
  ULONG size;
  ULONG type;  // a DRIVE_* value
  ULONG fs_type;
  DWORD serial;
  ULONGLONG unix_dev;
  WCHAR letter;
  USHORT mount_point_offset;  // of the Unix path after this header; 0 removes the drive
  USHORT device_offset;
  USHORT label_offset;
};
constexpr DWORD kDefineUnixDrive = CTL_CODE(0x6D, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

void DefineUnixDrive(char letter, const std::string& unix_path) {
  HANDLE manager = CreateFileA("\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (manager == INVALID_HANDLE_VALUE) throw HarnessError("cannot open Wine's mount manager");
  std::string request(sizeof(UnixDriveRequest), '\0');
  UnixDriveRequest header{};
  header.type = unix_path.empty() ? DRIVE_NO_ROOT_DIR : DRIVE_FIXED;
  header.letter = static_cast<WCHAR>(letter);
  if (!unix_path.empty()) {
    header.mount_point_offset = static_cast<USHORT>(request.size());
    request.append(unix_path).push_back('\0');
  }
  header.size = static_cast<ULONG>(request.size());
  std::memcpy(request.data(), &header, sizeof header);
  DWORD returned = 0;
  BOOL done = DeviceIoControl(manager, kDefineUnixDrive, request.data(), static_cast<DWORD>(request.size()), nullptr, 0,
                              &returned, nullptr);
  CloseHandle(manager);
  if (!done) throw HarnessError("Wine's mount manager refused drive " + std::string(1, letter) + ":");
}

}  // namespace

MappedDrive::MappedDrive(char letter, const std::string& folder) : letter_(letter) {
  DefineUnixDrive(letter_, UnixPathOf(folder));
  std::string root = std::string(1, letter_) + ":\\";
  if (GetDriveTypeA(root.c_str()) != DRIVE_FIXED) {
    DefineUnixDrive(letter_, "");
    throw HarnessError(root + " is not a fixed drive");
  }
}

MappedDrive::~MappedDrive() {
  try {
    DefineUnixDrive(letter_, "");
  } catch (const HarnessError&) {
  }
}

}  // namespace setup::ui
