#include "wine/ui_harness.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "wine/ui_harness_internal.h"

namespace setup::ui {
namespace {

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

}  // namespace

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
  // SB_GETTEXTA takes no buffer size, and the program may change the text
  // between the two messages (a hint follows the pointer): the buffer has
  // room to spare, and the length that counts is the one the copy reports.
  auto length = static_cast<size_t>(LOWORD(SendTo(status_bar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(part), 0)));
  size_t size = std::max<size_t>(length + 1, kRemoteTextMax);
  RemoteBuffer remote(status_bar, size);
  LRESULT copy = SendTo(status_bar, SB_GETTEXTA, static_cast<WPARAM>(part), remote.lparam());
  auto copied = static_cast<size_t>(LOWORD(copy));
  std::string text(std::min(copied, size - 1), '\0');
  remote.Read(text.data(), text.size());
  return text;
}

}  // namespace setup::ui
