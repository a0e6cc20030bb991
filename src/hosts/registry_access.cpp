#include "hosts/registry_access.h"

#include <algorithm>
#include <initializer_list>
#include <optional>

#include "config/text.h"
#include "platform/ansi_text.h"

namespace setup {
namespace {

// The registry allows no deeper nesting; a key link that leads back up its
// own tree would otherwise recurse until the stack gives out.
constexpr int kMaxKeyDepth = 512;

std::string UpToFirstZero(std::string_view bytes) { return std::string(bytes.substr(0, bytes.find('\0'))); }

void DeleteKeyTree(Registry& registry, const std::string& path, int depth) {
  if (depth > kMaxKeyDepth) return;
  ScopedKey key(registry, registry.OpenForWriting(RootKey::kCurrentUser, path));
  if (key) {
    // Counted once and walked downwards, so a sub-key that cannot be deleted
    // is passed over instead of being met again and again.
    std::uint32_t count = registry.CountSubKeys(key.get()).value_or(0);
    for (std::uint32_t index = count; index-- > 0;) {
      if (std::optional<std::string> name = registry.SubKeyName(key.get(), index))
        DeleteKeyTree(registry, path + "\\" + *name, depth + 1);
    }
  }
  registry.DeleteKey(RootKey::kCurrentUser, path);
}

// The text of a value of an open key when its type is one of `types`, and
// that type.
struct TypedText {
  std::uint32_t type;
  std::string text;
};
std::optional<TypedText> ReadValueText(Registry& registry, KeyHandle key, std::string_view value_name,
                                       std::initializer_list<std::uint32_t> types) {
  std::optional<RegistryValue> value = registry.ReadValue(key, value_name);
  if (!value || std::find(types.begin(), types.end(), value->type) == types.end()) return std::nullopt;
  if (value->type == kRegBinary)
    return TypedText{value->type, UpToFirstZero(std::string_view(value->data).substr(0, kBinaryValueBufferSize - 1))};
  return TypedText{value->type, UpToFirstZero(value->data)};
}

}  // namespace

std::string ReadRegistryText(Registry& registry, RootKey root, std::string_view key_path, std::string_view value_name) {
  ScopedKey key(registry, registry.OpenForReading(root, key_path));
  if (!key) return {};
  std::optional<TypedText> value = ReadValueText(registry, key.get(), value_name, {kRegSz, kRegBinary});
  return value ? value->text : std::string();
}

std::string ReadExpandedText(Registry& registry, Environment& environment, RegistryView view, RootKey root,
                             std::string_view key_path, std::string_view value_name) {
  ScopedKey key(registry, registry.OpenForReadingInView(root, key_path, view));
  if (!key) return {};
  std::optional<TypedText> value = ReadValueText(registry, key.get(), value_name, {kRegSz, kRegExpandSz, kRegBinary});
  if (!value) return {};
  return value->type == kRegExpandSz ? ExpandVariables(value->text, environment) : value->text;
}

std::string ReadExpandedFolder(Registry& registry, Environment& environment, RegistryView view, RootKey root,
                               std::string_view key_path, std::string_view value_name) {
  return UsableFolder(ReadExpandedText(registry, environment, view, root, key_path, value_name));
}

std::string ReadHostFolder(Registry& registry, RootKey root, std::string_view key_path, std::string_view value_name) {
  return UsableFolder(ReadRegistryText(registry, root, key_path, value_name));
}

std::string UsableFolder(std::string folder) {
  // A name the code page cannot hold would be written to at its look-alike.
  if (folder.size() > kMaxPathLength || !HeldExactly(folder)) return {};
  return folder;
}

void StoreFoundFolder(Registry& registry, std::string_view name, std::string_view folder) {
  ScopedKey key(registry, registry.Create(RootKey::kCurrentUser, kScratchKeyPath));
  if (!key) return;
  registry.SetString(key.get(), name, folder);
}

void DeleteScratchKey(Registry& registry) { DeleteKeyTree(registry, std::string(kScratchKeyPath), 0); }

}  // namespace setup
