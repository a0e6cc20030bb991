#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/win32/win32_wide_text.h"

namespace setup {
namespace {

HKEY RootHandle(RootKey root) { return root == RootKey::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

HKEY AsHkey(KeyHandle key) { return reinterpret_cast<HKEY>(key); }
KeyHandle AsHandle(HKEY key) { return reinterpret_cast<KeyHandle>(key); }

KeyHandle Open(RootKey root, std::string_view path, REGSAM access, REGSAM view = KEY_WOW64_32KEY) {
  HKEY key = nullptr;
  std::string path_text(path);
  if (RegOpenKeyExA(RootHandle(root), path_text.c_str(), 0, access | view, &key) != ERROR_SUCCESS) return 0;
  return AsHandle(key);
}

}  // namespace

KeyHandle Win32Registry::OpenForReading(RootKey root, std::string_view path) { return Open(root, path, KEY_READ); }

KeyHandle Win32Registry::OpenForReadingInView(RootKey root, std::string_view path, RegistryView view) {
  return Open(root, path, KEY_READ, view == RegistryView::k64Bit ? KEY_WOW64_64KEY : KEY_WOW64_32KEY);
}

KeyHandle Win32Registry::OpenForWriting(RootKey root, std::string_view path) {
  return Open(root, path, KEY_ALL_ACCESS);
}

KeyHandle Win32Registry::Create(RootKey root, std::string_view path) {
  HKEY key = nullptr;
  std::string path_text(path);
  if (RegCreateKeyExA(RootHandle(root), path_text.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return 0;
  return AsHandle(key);
}

std::optional<RegistryValue> Win32Registry::ReadValue(KeyHandle key, std::string_view name) {
  if (key == 0) return std::nullopt;
  // Read in the wide form: the ANSI call would turn a character of a text
  // value that the code page cannot hold into a look-alike, and a folder
  // read that way names another folder.
  std::vector<wchar_t> wide_name = Widened(name);
  // One call for type and data when they fit a folder's worth of room;
  // else the size it asks for, until it fits (the value can grow meanwhile).
  std::string data(2 * (MAX_PATH + 1), '\0');
  for (int attempt = 0; attempt < 8; ++attempt) {
    DWORD got = static_cast<DWORD>(data.size() - 2);
    DWORD type = REG_NONE;
    LONG result =
        RegQueryValueExW(AsHkey(key), wide_name.data(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got);
    if (result == ERROR_SUCCESS) {
      data.resize(got <= data.size() ? got : data.size());
      if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ) return RegistryValue{type, std::move(data)};
      std::vector<wchar_t> wide(data.size() / sizeof(wchar_t));
      if (!wide.empty()) std::memcpy(wide.data(), data.data(), wide.size() * sizeof(wchar_t));
      return RegistryValue{type, NarrowExactly(std::wstring_view(wide.data(), wide.size()))};
    }
    if (result != ERROR_MORE_DATA) return std::nullopt;
    data.assign(std::max<std::size_t>(got, data.size() * 2) + 2, '\0');
  }
  return std::nullopt;
}

bool Win32Registry::SetString(KeyHandle key, std::string_view name, std::string_view text) {
  if (key == 0) return false;
  std::string name_text(name);
  std::string data(text);
  return RegSetValueExA(AsHkey(key), name_text.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

bool Win32Registry::SetDword(KeyHandle key, std::string_view name, std::uint32_t number) {
  if (key == 0) return false;
  std::string name_text(name);
  DWORD data = number;
  return RegSetValueExA(AsHkey(key), name_text.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                        sizeof data) == ERROR_SUCCESS;
}

std::optional<std::uint32_t> Win32Registry::CountSubKeys(KeyHandle key) {
  if (key == 0) return std::nullopt;
  DWORD count = 0;
  if (RegQueryInfoKeyA(AsHkey(key), nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS)
    return std::nullopt;
  return count;
}

std::optional<std::string> Win32Registry::SubKeyName(KeyHandle key, std::uint32_t index) {
  if (key == 0) return std::nullopt;
  wchar_t name[256];  // key names are at most 255 characters
  DWORD length = 256;
  if (RegEnumKeyExW(AsHkey(key), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return std::nullopt;
  return NarrowExactly(std::wstring_view(name, length));
}

bool Win32Registry::DeleteKey(RootKey root, std::string_view path) {
  std::string path_text(path);
  return RegDeleteKeyExA(RootHandle(root), path_text.c_str(), KEY_WOW64_32KEY, 0) == ERROR_SUCCESS;
}

void Win32Registry::Close(KeyHandle key) {
  if (key != 0) RegCloseKey(AsHkey(key));
}

}  // namespace setup
