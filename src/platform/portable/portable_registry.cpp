#include "platform/portable/portable_registry.h"

#include <algorithm>

#include "platform/ansi_text.h"

namespace setup {
namespace {

std::vector<std::string_view> SplitPath(std::string_view path) {
  std::vector<std::string_view> parts;
  while (!path.empty()) {
    std::size_t slash = path.find('\\');
    std::string_view part = path.substr(0, slash);
    if (!part.empty()) parts.push_back(part);
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  return parts;
}

}  // namespace

struct PortableRegistry::Key {
  std::string name;
  std::string full_path;
  std::vector<std::shared_ptr<Key>> children;  // creation order
  std::vector<Value> values;
  bool deny_delete = false;
  bool removed = false;  // deleted while a handle still pointed at it

  std::shared_ptr<Key> Child(std::string_view child_name) const {
    for (const auto& child : children)
      if (EqualIgnoringCase(child->name, child_name)) return child;
    return nullptr;
  }
  Value* FindValue(std::string_view value_name) {
    for (auto& value : values)
      if (EqualIgnoringCase(value.name, value_name)) return &value;
    return nullptr;
  }
};

namespace {

// Handles to a deleted key or to anything below it stop working.
template <typename KeyType>
void MarkRemovedTree(KeyType& key) {
  key.removed = true;
  for (auto& child : key.children) MarkRemovedTree(*child);
}

}  // namespace

void PortableRegistry::MarkRemoved(Key& key) { MarkRemovedTree(key); }

PortableRegistry::PortableRegistry()
    : current_user_(std::make_shared<Key>(Key{"HKEY_CURRENT_USER", "HKEY_CURRENT_USER", {}, {}, false, false})),
      local_machine_(std::make_shared<Key>(Key{"HKEY_LOCAL_MACHINE", "HKEY_LOCAL_MACHINE", {}, {}, false, false})),
      local_machine_64_(std::make_shared<Key>(Key{"HKEY_LOCAL_MACHINE", "HKEY_LOCAL_MACHINE", {}, {}, false, false})) {}

PortableRegistry::~PortableRegistry() = default;

std::pair<std::shared_ptr<PortableRegistry::Key>, std::string> PortableRegistry::TreeOf(RootKey root,
                                                                                        std::string_view path,
                                                                                        RegistryView view) const {
  if (root == RootKey::kCurrentUser) return {current_user_, std::string(path)};
  if (view == RegistryView::k32Bit) return {local_machine_, std::string(path)};
  // The 64-bit side names the 32-bit view's Software as Software\Wow6432Node.
  std::vector<std::string_view> parts = SplitPath(path);
  if (parts.size() >= 2 && EqualIgnoringCase(parts[0], "Software") && EqualIgnoringCase(parts[1], "Wow6432Node")) {
    std::string inner(parts[0]);
    for (std::size_t i = 2; i < parts.size(); ++i) inner += "\\" + std::string(parts[i]);
    return {local_machine_, inner};
  }
  return {local_machine_64_, std::string(path)};
}

std::shared_ptr<PortableRegistry::Key> PortableRegistry::Find(RootKey root, std::string_view path,
                                                              RegistryView view) const {
  auto [key, inner] = TreeOf(root, path, view);
  for (std::string_view part : SplitPath(inner)) {
    key = key->Child(part);
    if (!key) return nullptr;
  }
  return key;
}

std::shared_ptr<PortableRegistry::Key> PortableRegistry::FindOrCreate(RootKey root, std::string_view path,
                                                                      RegistryView view) {
  auto [key, inner] = TreeOf(root, path, view);
  for (std::string_view part : SplitPath(inner)) {
    std::shared_ptr<Key> child = key->Child(part);
    if (!child) {
      child = std::make_shared<Key>();
      child->name = std::string(part);
      child->full_path = key->full_path + "\\" + child->name;
      key->children.push_back(child);
    }
    key = child;
  }
  return key;
}

KeyHandle PortableRegistry::Register(std::shared_ptr<Key> key, bool writable) {
  if (!key) return 0;
  KeyHandle handle = next_handle_++;
  open_[handle] = OpenKey{std::move(key), writable};
  return handle;
}

const PortableRegistry::OpenKey* PortableRegistry::Lookup(KeyHandle key) const {
  auto it = open_.find(key);
  if (it == open_.end() || it->second.key->removed) return nullptr;
  return &it->second;
}

bool PortableRegistry::Unlink(RootKey root, std::string_view path, bool only_when_deletable, RegistryView view) {
  std::vector<std::string_view> parts = SplitPath(path);
  if (parts.empty()) return false;
  std::string parent_path;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) parent_path += std::string(parts[i]) + "\\";
  std::shared_ptr<Key> parent = Find(root, parent_path, view);
  if (!parent) return false;
  auto& children = parent->children;
  for (auto it = children.begin(); it != children.end(); ++it) {
    if (!EqualIgnoringCase((*it)->name, parts.back())) continue;
    if (only_when_deletable && ((*it)->deny_delete || !(*it)->children.empty())) return false;
    MarkRemoved(**it);
    deleted_keys_.push_back((*it)->full_path);
    children.erase(it);
    return true;
  }
  return false;
}

void PortableRegistry::Load(std::string_view reg_text, RegistryView view) { Apply(ParseRegFile(reg_text), view); }

void PortableRegistry::LoadExport(std::string_view reg_text) {
  std::vector<RegOperation> operations = ParseRegFile(reg_text);
  bool from_64_bit_editor = std::any_of(operations.begin(), operations.end(), [](const RegOperation& op) {
    std::vector<std::string_view> parts = SplitPath(op.path);
    return op.root == RootKey::kLocalMachine && parts.size() >= 2 && EqualIgnoringCase(parts[0], "Software") &&
           EqualIgnoringCase(parts[1], "Wow6432Node");
  });
  Apply(operations, from_64_bit_editor ? RegistryView::k64Bit : RegistryView::k32Bit);
}

void PortableRegistry::Apply(const std::vector<RegOperation>& operations, RegistryView view) {
  for (const RegOperation& op : operations) {
    switch (op.kind) {
      case RegOperation::Kind::kCreateKey: FindOrCreate(op.root, op.path, view); break;
      case RegOperation::Kind::kDeleteKey: Unlink(op.root, op.path, false, view); break;
      case RegOperation::Kind::kSetValue: {
        std::shared_ptr<Key> key = FindOrCreate(op.root, op.path, view);
        if (Value* value = key->FindValue(op.name)) {
          value->type = op.type;
          value->data = op.data;
        } else {
          key->values.push_back({op.name, op.type, op.data});
        }
        break;
      }
      case RegOperation::Kind::kDeleteValue: {
        std::shared_ptr<Key> key = Find(op.root, op.path, view);
        if (!key) break;
        std::erase_if(key->values, [&](const Value& v) { return EqualIgnoringCase(v.name, op.name); });
        break;
      }
    }
  }
}

void PortableRegistry::DenyDelete(RootKey root, std::string_view path) {
  if (std::shared_ptr<Key> key = Find(root, path)) key->deny_delete = true;
}

bool PortableRegistry::KeyExists(RootKey root, std::string_view path) const { return Find(root, path) != nullptr; }

KeyHandle PortableRegistry::OpenForReading(RootKey root, std::string_view path) {
  return Register(Find(root, path), false);
}

KeyHandle PortableRegistry::OpenForReadingInView(RootKey root, std::string_view path, RegistryView view) {
  return Register(Find(root, path, view), false);
}

KeyHandle PortableRegistry::OpenForWriting(RootKey root, std::string_view path) {
  if (deny_writes_) return 0;
  return Register(Find(root, path), true);
}

KeyHandle PortableRegistry::Create(RootKey root, std::string_view path) {
  if (deny_writes_) return 0;
  return Register(FindOrCreate(root, path), true);
}

std::optional<RegistryValue> PortableRegistry::ReadValue(KeyHandle key, std::string_view name) {
  const OpenKey* open = Lookup(key);
  if (!open) return std::nullopt;
  const Value* value = open->key->FindValue(name);
  if (!value) return std::nullopt;
  return RegistryValue{value->type, value->data};
}

bool PortableRegistry::SetString(KeyHandle key, std::string_view name, std::string_view text) {
  const OpenKey* open = Lookup(key);
  if (!open || !open->writable) return false;
  std::string data(text);
  data += '\0';
  if (Value* value = open->key->FindValue(name)) {
    value->type = kRegSz;
    value->data = std::move(data);
  } else {
    open->key->values.push_back({std::string(name), kRegSz, std::move(data)});
  }
  return true;
}

bool PortableRegistry::SetDword(KeyHandle key, std::string_view name, std::uint32_t number) {
  const OpenKey* open = Lookup(key);
  if (!open || !open->writable) return false;
  std::string data(4, '\0');
  for (int i = 0; i < 4; ++i) data[static_cast<std::size_t>(i)] = static_cast<char>((number >> (8 * i)) & 0xFF);
  if (Value* value = open->key->FindValue(name)) {
    value->type = kRegDword;
    value->data = std::move(data);
  } else {
    open->key->values.push_back({std::string(name), kRegDword, std::move(data)});
  }
  return true;
}

std::optional<std::uint32_t> PortableRegistry::CountSubKeys(KeyHandle key) {
  const OpenKey* open = Lookup(key);
  if (!open) return std::nullopt;
  return static_cast<std::uint32_t>(open->key->children.size());
}

std::optional<std::string> PortableRegistry::SubKeyName(KeyHandle key, std::uint32_t index) {
  const OpenKey* open = Lookup(key);
  if (!open || index >= open->key->children.size()) return std::nullopt;
  return open->key->children[index]->name;
}

bool PortableRegistry::DeleteKey(RootKey root, std::string_view path) {
  if (deny_writes_) return false;
  return Unlink(root, path, true);
}

void PortableRegistry::Close(KeyHandle key) { open_.erase(key); }

}  // namespace setup
