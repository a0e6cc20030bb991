#include "wine/ui_harness.h"

#include <commctrl.h>
#include <winioctl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/reg_file.h"

namespace setup::ui {
namespace {

constexpr DWORD kPollMs = 25;
// Long enough for a program busy at start-up, short enough that a hung one
// fails the test instead of stalling the suite.
constexpr UINT kSendTimeoutMs = 5000;

std::string LastErrorText(const std::string& what) { return what + " (error " + std::to_string(GetLastError()) + ")"; }

// A message to another process's window that must not hang the test.
LRESULT SendTo(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wparam, lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
    throw HarnessError("window " + ClassOf(window) + " did not answer message " + std::to_string(message));
  return static_cast<LRESULT>(result);
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM found) {
  reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  return TRUE;
}

// ---- Files ----

std::string Parent(const std::string& path) {
  size_t at = path.find_last_of('\\');
  return at == std::string::npos ? std::string() : path.substr(0, at);
}

std::string PackageName(std::string name) {
  if (name.empty()) {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    name = test ? std::string(test->test_suite_name()) + "." + test->name() : "package";
  }
  for (char& c : name)
    if (std::strchr("\\/:*?\"<>|", c)) c = '_';
  return name;
}

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

// ---- Registry ----

HKEY RootHandle(RootKey root) { return root == RootKey::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }
REGSAM ViewFlag(View view) { return view == View::k32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY; }

// ---- Another process's memory ----

// A buffer in the process that owns a window, for messages whose lParam the
// program dereferences in its own address space.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, size_t size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (!process_) throw HarnessError(LastErrorText("cannot open process " + std::to_string(pid)));
    BOOL mine = FALSE;
    BOOL theirs = FALSE;
    IsWow64Process(GetCurrentProcess(), &mine);
    IsWow64Process(process_, &theirs);
    if (mine != theirs) {
      CloseHandle(process_);
      throw HarnessError("the harness and the program under test differ in bitness");
    }
    address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!address_) {
      CloseHandle(process_);
      throw HarnessError(LastErrorText("cannot allocate in process " + std::to_string(pid)));
    }
  }
  ~RemoteBuffer() {
    VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  char* address(size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
  LPARAM lparam(size_t offset = 0) const { return reinterpret_cast<LPARAM>(address(offset)); }

  void Write(const void* bytes, size_t size, size_t offset = 0) const {
    if (offset + size > size_ || !WriteProcessMemory(process_, address(offset), bytes, size, nullptr))
      throw HarnessError(LastErrorText("cannot write into the program's memory"));
  }
  void Read(void* bytes, size_t size, size_t offset = 0) const {
    if (offset + size > size_ || !ReadProcessMemory(process_, address(offset), bytes, size, nullptr))
      throw HarnessError(LastErrorText("cannot read the program's memory"));
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  size_t size_;
};

constexpr int kRemoteTextMax = 4096;

// ---- Screen ----

// A 32-bit top-down bitmap selected into a memory DC, to draw or copy into.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    screen_ = GetDC(nullptr);
    memory_ = CreateCompatibleDC(screen_);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap_ = CreateDIBSection(memory_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    if (bitmap_) old_ = SelectObject(memory_, bitmap_);
  }
  ~Canvas() {
    if (bitmap_) {
      SelectObject(memory_, old_);
      DeleteObject(bitmap_);
    }
    DeleteDC(memory_);
    ReleaseDC(nullptr, screen_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool ok() const { return bitmap_ != nullptr; }
  HDC dc() const { return memory_; }
  HDC screen() const { return screen_; }

  Image Pixels() const {
    GdiFlush();
    Image image;
    image.width = width_;
    image.height = height_;
    const auto* pixels = static_cast<const DWORD*>(bits_);
    image.pixels.assign(pixels, pixels + static_cast<size_t>(width_) * height_);
    for (DWORD& pixel : image.pixels) pixel &= 0xFFFFFF;
    return image;
  }

 private:
  int width_;
  int height_;
  HDC screen_ = nullptr;
  HDC memory_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
};

Image CaptureScreenRect(const RECT& rect) {
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) throw HarnessError("cannot capture an empty rectangle");
  Canvas canvas(width, height);
  if (!canvas.ok() || !BitBlt(canvas.dc(), 0, 0, width, height, canvas.screen(), rect.left, rect.top, SRCCOPY))
    throw HarnessError(LastErrorText("cannot capture the screen"));
  return canvas.Pixels();
}

// An icon drawn locally on a plain background, the way a static control draws it.
Image RenderIcon(HICON icon, int width, int height, COLORREF background) {
  Canvas canvas(width, height);
  if (!canvas.ok()) throw HarnessError(LastErrorText("cannot make a bitmap"));
  HBRUSH brush = CreateSolidBrush(background);
  RECT all = {0, 0, width, height};
  FillRect(canvas.dc(), &all, brush);
  DeleteObject(brush);
  DrawIconEx(canvas.dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
  return canvas.Pixels();
}

// Share of the icon's opaque pixels (those that look the same on black and
// on white) that the screen shows unchanged.
double IconMatch(const Image& shown, HICON icon) {
  Image on_black = RenderIcon(icon, shown.width, shown.height, RGB(0, 0, 0));
  Image on_white = RenderIcon(icon, shown.width, shown.height, RGB(255, 255, 255));
  size_t opaque = 0;
  size_t same = 0;
  for (size_t i = 0; i < shown.pixels.size(); ++i) {
    if (on_black.pixels[i] != on_white.pixels[i]) continue;
    ++opaque;
    if (on_black.pixels[i] == shown.pixels[i]) ++same;
  }
  return opaque == 0 ? 0.0 : static_cast<double>(same) / static_cast<double>(opaque);
}

// The program draws its icon from its own copy of the system icons, whose
// handles mean nothing here; what it shows on the screen is compared instead.
MessageIcon RecogniseIcon(HWND icon_control) {
  struct Candidate {
    MessageIcon icon;
    LPCSTR resource;
  };
  static const std::array<Candidate, 4> kCandidates = {{
      {MessageIcon::kError, IDI_ERROR},
      {MessageIcon::kWarning, IDI_WARNING},
      {MessageIcon::kInformation, IDI_INFORMATION},
      {MessageIcon::kQuestion, IDI_QUESTION},
  }};
  // A box without an icon keeps the control, empty.
  if (SendTo(icon_control, STM_GETICON, 0, 0) == 0) return MessageIcon::kNone;
  MessageIcon best = MessageIcon::kUnknown;
  WaitUntil(
      [&] {
        Image shown = CaptureWindow(icon_control);
        double best_match = 0.0;
        for (const Candidate& candidate : kCandidates) {
          double match = IconMatch(shown, LoadIconA(nullptr, candidate.resource));
          if (match > best_match) {
            best_match = match;
            best = candidate.icon;
          }
        }
        // The information and question icons share some 80% of their pixels.
        if (best_match < 0.97) best = MessageIcon::kUnknown;
        return best != MessageIcon::kUnknown;
      },
      2000);
  return best;
}

}  // namespace

// ---- Files ----

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
  while (ReadFile(file, block, sizeof block, &got, nullptr) && got > 0) content.append(block, got);
  CloseHandle(file);
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

// ---- Registry ----

std::string RegValue::Text() const {
  std::string text = data;
  while (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

DWORD RegValue::Dword() const {
  DWORD value = 0;
  if (data.size() == sizeof value) std::memcpy(&value, data.data(), sizeof value);
  return value;
}

void ImportReg(std::string_view reg_text, View view) {
  for (const RegOperation& op : ParseRegFile(reg_text)) {
    if (op.kind == RegOperation::Kind::kDeleteKey) {
      DeleteRegTree(RootHandle(op.root), op.path, view);
      continue;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExA(RootHandle(op.root), op.path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | ViewFlag(view), nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
      throw HarnessError("cannot create registry key " + op.path);
    LSTATUS status = ERROR_SUCCESS;
    if (op.kind == RegOperation::Kind::kSetValue)
      status = RegSetValueExA(key, op.name.c_str(), 0, op.type, reinterpret_cast<const BYTE*>(op.data.data()),
                              static_cast<DWORD>(op.data.size()));
    if (op.kind == RegOperation::Kind::kDeleteValue) RegDeleteValueA(key, op.name.c_str());
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) throw HarnessError("cannot set " + op.path + "\\" + op.name);
  }
}

std::optional<RegValue> ReadRegValue(HKEY root, const std::string& path, const std::string& name, View view) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | ViewFlag(view), &key) != ERROR_SUCCESS) return std::nullopt;
  RegValue value;
  DWORD size = 0;
  LSTATUS status = RegQueryValueExA(key, name.c_str(), nullptr, &value.type, nullptr, &size);
  if (status == ERROR_SUCCESS) {
    value.data.resize(size);
    status =
        RegQueryValueExA(key, name.c_str(), nullptr, &value.type, reinterpret_cast<BYTE*>(value.data.data()), &size);
    value.data.resize(size);
  }
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return std::nullopt;
  return value;
}

bool RegKeyExists(HKEY root, const std::string& path, View view) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | ViewFlag(view), &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void DeleteRegTree(HKEY root, const std::string& path, View view) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS | ViewFlag(view), &key) != ERROR_SUCCESS) return;
  RegDeleteTreeA(key, nullptr);
  RegCloseKey(key);
  RegDeleteKeyExA(root, path.c_str(), ViewFlag(view), 0);
}

// ---- Processes ----

RunningProgram::RunningProgram(const std::string& exe_path, const std::string& arguments,
                               const std::string& working_folder) {
  std::string command = QuoteArgument(exe_path) + (arguments.empty() ? "" : " " + arguments);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(exe_path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      working_folder.empty() ? nullptr : working_folder.c_str(), &startup, &info))
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

// ---- Windows ----

bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms) {
  DWORD start = GetTickCount();
  while (true) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeout_ms) return false;
    Sleep(kPollMs);
  }
}

std::vector<HWND> TopWindows(DWORD pid, std::string_view class_name) {
  std::vector<HWND> all;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
  std::vector<HWND> found;
  for (HWND window : all) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == pid && IsWindowVisible(window) && (class_name.empty() || ClassOf(window) == class_name))
      found.push_back(window);
  }
  return found;
}

HWND FindTopWindow(DWORD pid, std::string_view class_name) {
  std::vector<HWND> found = TopWindows(pid, class_name);
  return found.empty() ? nullptr : found.front();
}

HWND WaitForWindow(DWORD pid, std::string_view class_name, DWORD timeout_ms) {
  HWND found = nullptr;
  if (!WaitUntil([&] { return (found = FindTopWindow(pid, class_name)) != nullptr; }, timeout_ms)) {
    std::string shown;
    for (HWND window : TopWindows(pid))
      shown.append(" ").append(ClassOf(window)).append(" \"").append(TextOf(window)).append("\"");
    throw HarnessError("no " + std::string(class_name) + " window of process " + std::to_string(pid) + " within " +
                       std::to_string(timeout_ms) + " ms; it shows:" + (shown.empty() ? " nothing" : shown));
  }
  return found;
}

bool WaitGone(HWND window, DWORD timeout_ms) {
  return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeout_ms);
}

std::string ClassOf(HWND window) {
  char name[256] = {};
  int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length)) {
    // A hung program: what the system keeps of the text is all there is.
    char text[1024] = {};
    int got = GetWindowTextA(window, text, sizeof text);
    return std::string(text, got > 0 ? static_cast<size_t>(got) : 0);
  }
  std::string text(length + 1, '\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                      kSendTimeoutMs, &got);
  text.resize(std::min<size_t>(got, length));
  return text;
}

void SetText(HWND window, std::string_view text) {
  std::string copy(text);
  SendTo(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
}

std::vector<HWND> Children(HWND parent, std::string_view class_name) {
  std::vector<HWND> all;
  EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&all));
  std::vector<HWND> found;
  for (HWND child : all)
    if (class_name.empty() || ClassOf(child) == class_name) found.push_back(child);
  return found;
}

HWND FindChild(HWND parent, const std::function<bool(HWND)>& predicate) {
  for (HWND child : Children(parent))
    if (predicate(child)) return child;
  return nullptr;
}

HWND FindChild(HWND parent, std::string_view class_name, std::string_view text) {
  return FindChild(parent, [&](HWND child) {
    return (class_name.empty() || ClassOf(child) == class_name) && (text.empty() || TextOf(child) == text);
  });
}

HWND Child(HWND parent, std::string_view class_name, std::string_view text) {
  HWND found = FindChild(parent, class_name, text);
  if (!found)
    throw HarnessError("no " + std::string(class_name.empty() ? "control" : class_name) +
                       (text.empty() ? "" : " \"" + std::string(text) + "\"") + " in " + ClassOf(parent) + " \"" +
                       TextOf(parent) + "\"");
  return found;
}

RECT WindowRect(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return rect;
}

bool CentredOnScreen(HWND window) {
  RECT work;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
    work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT frame = WindowRect(window);
  auto centred = [](LONG low, LONG high, LONG area_low, LONG area_high) {
    return std::abs((low - area_low) - (area_high - high)) <= 1;
  };
  return centred(frame.left, frame.right, work.left, work.right) &&
         centred(frame.top, frame.bottom, work.top, work.bottom);
}

RECT ClientRect(HWND window) {
  RECT rect = {};
  GetClientRect(window, &rect);
  return rect;
}

bool Enabled(HWND window) { return IsWindowEnabled(window) != FALSE; }
bool Visible(HWND window) { return IsWindowVisible(window) != FALSE; }

int CheckState(HWND button) { return static_cast<int>(SendTo(button, BM_GETCHECK, 0, 0)); }

void Click(HWND button) {
  if (!PostMessageA(button, BM_CLICK, 0, 0)) throw HarnessError(LastErrorText("cannot click " + TextOf(button)));
}

HWND FocusedControl(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

void PostKey(HWND target, WORD virtual_key) {
  auto scan = static_cast<LPARAM>(MapVirtualKeyA(virtual_key, MAPVK_VK_TO_VSC));
  LPARAM down = 1 | scan << 16;
  LPARAM up = down | LPARAM{1} << 30 | LPARAM{1} << 31;
  if (!PostMessageA(target, WM_KEYDOWN, virtual_key, down) || !PostMessageA(target, WM_KEYUP, virtual_key, up))
    throw HarnessError(LastErrorText("cannot post a key to " + ClassOf(target)));
}

void PressKeyInFocus(HWND window, WORD virtual_key) {
  HWND focus = nullptr;
  if (!WaitUntil([&] { return (focus = FocusedControl(window)) != nullptr; }, 2000))
    throw HarnessError("no control has the focus in " + ClassOf(window) + " \"" + TextOf(window) + "\"");
  PostKey(focus, virtual_key);
}

void Close(HWND window) {
  if (!PostMessageA(window, WM_CLOSE, 0, 0)) throw HarnessError(LastErrorText("cannot close " + ClassOf(window)));
}

void MovePointerTo(HWND window, POINT client_point) {
  POINT screen = client_point;
  ClientToScreen(window, &screen);
  if (!SetCursorPos(screen.x, screen.y)) throw HarnessError(LastErrorText("cannot move the pointer"));
}

// ---- Message boxes ----

const char* IconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kNone:
      return "none";
    case MessageIcon::kError:
      return "error";
    case MessageIcon::kWarning:
      return "warning";
    case MessageIcon::kInformation:
      return "information";
    case MessageIcon::kQuestion:
      return "question";
    case MessageIcon::kUnknown:
      break;
  }
  return "unknown";
}

MessageBoxSeen ReadMessageBox(HWND box) {
  MessageBoxSeen seen;
  seen.window = box;
  seen.caption = TextOf(box);
  std::vector<std::pair<LONG, std::string>> buttons;
  HWND icon_control = nullptr;
  bool message_found = false;
  for (HWND child : Children(box)) {
    if (!IsWindowVisible(child)) continue;
    std::string class_name = ClassOf(child);
    if (class_name == "Button") {
      buttons.emplace_back(WindowRect(child).left, TextOf(child));
    } else if (class_name == "Static") {
      auto style = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE));
      if ((style & SS_TYPEMASK) == SS_ICON) {
        icon_control = child;
      } else {
        // The message is the static with id 0xFFFF, in Wine as in Windows;
        // a box made otherwise shows its longest static text.
        std::string text = TextOf(child);
        bool is_message = GetDlgCtrlID(child) == 0xFFFF;
        if (is_message || (!message_found && text.size() > seen.text.size())) seen.text = text;
        message_found = message_found || is_message;
      }
    }
  }
  std::stable_sort(buttons.begin(), buttons.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& button : buttons) seen.buttons.push_back(std::move(button.second));
  // The box keeps "\r\n" as Windows writes it; tests compare lines with "\n".
  for (size_t at = seen.text.find("\r\n"); at != std::string::npos; at = seen.text.find("\r\n", at))
    seen.text.erase(at, 1);
  if (icon_control) seen.icon = RecogniseIcon(icon_control);
  return seen;
}

MessageBoxSeen WaitForMessageBox(DWORD pid, DWORD timeout_ms) {
  return ReadMessageBox(WaitForWindow(pid, "#32770", timeout_ms));
}

void Answer(const MessageBoxSeen& box, int button_id) {
  HWND button = GetDlgItem(box.window, button_id);
  if (!button) throw HarnessError("message box \"" + box.caption + "\" has no button " + std::to_string(button_id));
  Click(button);
  if (!WaitGone(box.window))
    throw HarnessError("message box \"" + box.caption + "\" stayed after button " + std::to_string(button_id));
}

// ---- Common controls ----

int ListItemCount(HWND list) { return static_cast<int>(SendTo(list, LVM_GETITEMCOUNT, 0, 0)); }

std::string ListItemText(HWND list, int item, int sub_item) {
  RemoteBuffer remote(list, sizeof(LVITEMA) + kRemoteTextMax);
  LVITEMA request = {};
  request.iSubItem = sub_item;
  request.pszText = remote.address(sizeof(LVITEMA));
  request.cchTextMax = kRemoteTextMax;
  remote.Write(&request, sizeof request);
  auto length = static_cast<size_t>(SendTo(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), remote.lparam()));
  std::string text(std::min<size_t>(length, kRemoteTextMax - 1), '\0');
  remote.Read(text.data(), text.size(), sizeof(LVITEMA));
  return text;
}

std::vector<std::string> ListItemTexts(HWND list) {
  std::vector<std::string> texts;
  for (int i = 0, count = ListItemCount(list); i < count; ++i) texts.push_back(ListItemText(list, i));
  return texts;
}

bool ListItemChecked(HWND list, int item) {
  auto state = static_cast<UINT>(SendTo(list, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_STATEIMAGEMASK));
  // State image 1 is the empty box, 2 the ticked one.
  return (state >> 12) == 2;
}

std::vector<bool> ListChecks(HWND list) {
  std::vector<bool> checks;
  for (int i = 0, count = ListItemCount(list); i < count; ++i) checks.push_back(ListItemChecked(list, i));
  return checks;
}

void SetListItemChecked(HWND list, int item, bool checked) {
  RemoteBuffer remote(list, sizeof(LVITEMA));
  LVITEMA request = {};
  request.stateMask = LVIS_STATEIMAGEMASK;
  request.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  remote.Write(&request, sizeof request);
  if (!SendTo(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), remote.lparam()))
    throw HarnessError("cannot set the check of item " + std::to_string(item));
}

RECT ListItemRect(HWND list, int item) {
  RemoteBuffer remote(list, sizeof(RECT));
  RECT rect = {};
  rect.left = LVIR_BOUNDS;
  remote.Write(&rect, sizeof rect);
  if (!SendTo(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), remote.lparam()))
    throw HarnessError("list has no item " + std::to_string(item));
  remote.Read(&rect, sizeof rect);
  return rect;
}

std::string StatusText(HWND status_bar, int part) {
  auto length = static_cast<size_t>(LOWORD(SendTo(status_bar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(part), 0)));
  RemoteBuffer remote(status_bar, length + 1);
  SendTo(status_bar, SB_GETTEXTA, static_cast<WPARAM>(part), remote.lparam());
  std::string text(length, '\0');
  remote.Read(text.data(), length);
  return text;
}

// ---- Screenshots ----

Image CaptureWindow(HWND window) {
  // Let the program finish what it was asked to draw: Wine hands a window's
  // pixels to the X server a little after the program painted them.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
  Sleep(100);
  return CaptureScreenRect(WindowRect(window));
}

void SaveBmp(const Image& image, const std::string& path) {
  const size_t row_size = (static_cast<size_t>(image.width) * 3 + 3) & ~size_t{3};
  const size_t pixel_bytes = row_size * image.height;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixel_bytes);
  info.biSize = sizeof info;
  info.biWidth = image.width;
  info.biHeight = image.height;  // bottom row first
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(pixel_bytes);
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  std::string row(row_size, '\0');
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      DWORD pixel = image.At(x, y);
      row[x * 3 + 0] = static_cast<char>(pixel & 0xFF);
      row[x * 3 + 1] = static_cast<char>(pixel >> 8 & 0xFF);
      row[x * 3 + 2] = static_cast<char>(pixel >> 16 & 0xFF);
    }
    bytes += row;
  }
  WriteFileBytes(path, bytes);
}

void SaveWindowBmp(HWND window, const std::string& path) { SaveBmp(CaptureWindow(window), path); }

}  // namespace setup::ui
