#include "wine/ui_harness.h"

#include <cstring>
#include <string>

#include "platform/reg_file.h"

namespace setup::ui {
namespace {

HKEY RootHandle(RootKey root) { return root == RootKey::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }
REGSAM ViewFlag(View view) { return view == View::k32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY; }

// Windows keeps the application-data folder twice; Wine writes "Shell
// Folders" afresh from "User Shell Folders" whenever a program asks for it.
constexpr const char* kFolderKeys[] = {"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                                       "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"};

}  // namespace

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

void WriteRegValue(HKEY root, const std::string& path, const std::string& name, DWORD type, std::string_view data,
                   View view) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE | ViewFlag(view), nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    throw HarnessError("cannot create registry key " + path);
  LSTATUS status = RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                  static_cast<DWORD>(data.size()));
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) throw HarnessError("cannot set " + path + "\\" + name);
}

void DeleteRegValue(HKEY root, const std::string& path, const std::string& name, View view) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_SET_VALUE | ViewFlag(view), &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, name.c_str());
  RegCloseKey(key);
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

AppDataFolder::AppDataFolder(const std::string& folder) {
  for (const char* key : kFolderKeys) {
    saved_.push_back(ReadRegValue(HKEY_CURRENT_USER, key, "AppData"));
    WriteRegValue(HKEY_CURRENT_USER, key, "AppData", REG_SZ, folder + '\0');
  }
}

AppDataFolder::~AppDataFolder() {
  for (std::size_t i = 0; i < saved_.size(); ++i) {
    if (saved_[i])
      WriteRegValue(HKEY_CURRENT_USER, kFolderKeys[i], "AppData", saved_[i]->type, saved_[i]->data);
    else
      DeleteRegValue(HKEY_CURRENT_USER, kFolderKeys[i], "AppData");
  }
}

}  // namespace setup::ui
