#include <windows.h>

#include <stdexcept>
#include <string>

#include "contract/contract_world.h"
#include "platform/reg_file.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_profile_reader.h"
#include "platform/win32/win32_registry.h"

namespace setup {
namespace {

HKEY RootHandle(RootKey root) { return root == RootKey::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

void DeleteTreeInView(RootKey root, const std::string& path, REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(RootHandle(root), path.c_str(), 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS) return;
  RegDeleteTreeA(key, nullptr);
  RegCloseKey(key);
  RegDeleteKeyExA(RootHandle(root), path.c_str(), view, 0);
}

void MakeFolders(const std::string& path) {
  for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
  CreateDirectoryA(path.c_str(), nullptr);
}

// A test's text in its wide form; test code, so std::wstring is fine here.
std::wstring Wide(const std::string& text, UINT code_page) {
  int size = MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

class Win32World : public ContractWorld {
 public:
  Win32World() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    root_ = std::string(temp) + "contract" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(GetTickCount()) + "\\";
    MakeFolders(root_);
  }
  // A current folder is held open: give it back, so the test folders can go.
  ~Win32World() override {
    if (!started_in_.empty()) SetCurrentDirectoryA(started_in_.c_str());
  }

  Registry& registry() override { return registry_; }
  ProfileReader& profile() override { return profile_; }
  FileSystem& files() override { return files_; }
  Environment& environment() override { return environment_; }

  void SetVariable(const std::string& name, const std::string& value) override {
    SetEnvironmentVariableA(name.c_str(), value.c_str());
  }

  void LoadRegistry(std::string_view reg_text, bool sixty_four_bit_view) override {
    REGSAM view = sixty_four_bit_view ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
    for (const RegOperation& op : ParseRegFile(reg_text)) {
      switch (op.kind) {
        case RegOperation::Kind::kDeleteKey: DeleteTreeInView(op.root, op.path, view); break;
        case RegOperation::Kind::kDeleteValue:
        case RegOperation::Kind::kCreateKey:
        case RegOperation::Kind::kSetValue: {
          HKEY key = nullptr;
          if (RegCreateKeyExA(RootHandle(op.root), op.path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key,
                              nullptr) != ERROR_SUCCESS)
            throw std::runtime_error("cannot create " + op.path);
          if (op.kind == RegOperation::Kind::kSetValue)
            RegSetValueExA(key, op.name.c_str(), 0, op.type, reinterpret_cast<const BYTE*>(op.data.data()),
                           static_cast<DWORD>(op.data.size()));
          if (op.kind == RegOperation::Kind::kDeleteValue) RegDeleteValueA(key, op.name.c_str());
          RegCloseKey(key);
          break;
        }
      }
    }
  }

  void RemoveRegistryTree(RootKey root, const std::string& path) override {
    DeleteTreeInView(root, path, KEY_WOW64_32KEY);
    DeleteTreeInView(root, path, KEY_WOW64_64KEY);
  }

  std::string Folder() override {
    std::string folder = root_ + "t" + std::to_string(folders_++) + "\\";
    MakeFolders(folder);
    return folder;
  }

  void WriteFile(const std::string& path, std::string_view bytes) override {
    MakeFolders(path.substr(0, path.find_last_of('\\')));
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + path);
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != bytes.size()) throw std::runtime_error("cannot write " + path);
  }

  void MakeFolder(const std::string& path) override { MakeFolders(path); }
  void SetCurrentFolder(const std::string& path) override {
    if (started_in_.empty()) {
      char folder[MAX_PATH];
      DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
      started_in_.assign(folder, length < MAX_PATH ? length : 0);
    }
    if (!SetCurrentDirectoryA(path.c_str())) throw std::runtime_error("cannot make current " + path);
  }

  void WriteFileNamedInUtf8(const std::string& folder, const std::string& utf8_name, std::string_view bytes) override {
    std::wstring path = Wide(folder, CP_ACP) + Wide(utf8_name, CP_UTF8);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + utf8_name);
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok) throw std::runtime_error("cannot write " + utf8_name);
  }

  void SetUtf8Texts(const std::string& path, const std::string& utf8_value, const std::string& utf8_subkey,
                    const std::string& variable) override {
    std::wstring value = Wide(utf8_value, CP_UTF8);
    std::wstring key_path = Wide(path, CP_ACP);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
      throw std::runtime_error("cannot create " + path);
    RegSetValueExW(key, L"Folder", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    HKEY sub = nullptr;
    if (RegCreateKeyExW(key, Wide(utf8_subkey, CP_UTF8).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY,
                        nullptr, &sub, nullptr) == ERROR_SUCCESS)
      RegCloseKey(sub);
    RegCloseKey(key);
    SetEnvironmentVariableW(Wide(variable, CP_ACP).c_str(), value.c_str());
  }

  void SetAttributes(const std::string& path, std::uint32_t attributes) override {
    DWORD current = GetFileAttributesA(path.c_str());
    DWORD kept = current & FILE_ATTRIBUTE_DIRECTORY;
    if (!SetFileAttributesA(path.c_str(), kept | attributes | (kept ? 0 : FILE_ATTRIBUTE_ARCHIVE)))
      throw std::runtime_error("cannot set attributes of " + path);
  }

  std::string ReadFile(const std::string& path) override {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string content;
    char block[4096];
    DWORD got = 0;
    while (::ReadFile(file, block, sizeof block, &got, nullptr) && got > 0) content.append(block, got);
    CloseHandle(file);
    return content;
  }

  std::shared_ptr<void> HoldOpen(const std::string& path) override {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot hold " + path);
    return std::shared_ptr<void>(file, [](void* handle) { CloseHandle(handle); });
  }

 private:
  std::string root_;
  std::string started_in_;  // the current folder before SetCurrentFolder, given back at the end
  int folders_ = 0;
  Win32Registry registry_;
  Win32FileSystem files_;
  Win32ProfileReader profile_;
  Win32Environment environment_;
};

}  // namespace

std::unique_ptr<ContractWorld> MakeContractWorld() { return std::make_unique<Win32World>(); }

}  // namespace setup
