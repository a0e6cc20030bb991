#include "platform/overlay_registry.h"

#include "platform/ansi_text.h"

namespace setup {
namespace {

std::string KeyPathOf(std::string_view path) {
  // The system takes "A\\B\" as "A\B": empty parts name nothing.
  std::string normal;
  for (std::size_t at = 0; at <= path.size();) {
    std::size_t end = path.find('\\', at);
    if (end == std::string_view::npos) end = path.size();
    if (end > at) {
      if (!normal.empty()) normal += '\\';
      normal += UpperCased(path.substr(at, end - at));
    }
    at = end + 1;
  }
  return normal;
}

}  // namespace

OverlayRegistry::~OverlayRegistry() {
  for (auto& [handle, key] : open_) below_.Close(key.below);
}

KeyHandle OverlayRegistry::Open(RootKey root, std::string_view path, bool create) {
  std::string normal = KeyPathOf(path);
  KeyHandle below = below_.OpenForReading(root, path);
  bool here = created_.count({root, normal}) != 0;
  if (!below && !here) {
    if (!create) return 0;
    for (std::size_t at = normal.find('\\'); at != std::string::npos; at = normal.find('\\', at + 1))
      created_.insert({root, normal.substr(0, at)});
    created_.insert({root, normal});
  }
  KeyHandle handle = next_handle_++;
  open_[handle] = {root, normal, below, false};
  return handle;
}

KeyHandle OverlayRegistry::OpenForReading(RootKey root, std::string_view path) { return Open(root, path, false); }

KeyHandle OverlayRegistry::OpenForReadingInView(RootKey root, std::string_view path, RegistryView view) {
  if (view == RegistryView::k32Bit) return OpenForReading(root, path);
  KeyHandle below = below_.OpenForReadingInView(root, path, view);
  if (!below) return 0;
  KeyHandle handle = next_handle_++;
  open_[handle] = {root, KeyPathOf(path), below, true};
  return handle;
}

KeyHandle OverlayRegistry::OpenForWriting(RootKey root, std::string_view path) { return Open(root, path, false); }

KeyHandle OverlayRegistry::Create(RootKey root, std::string_view path) { return Open(root, path, true); }

const OverlayRegistry::OpenKey* OverlayRegistry::Lookup(KeyHandle key) const {
  auto found = open_.find(key);
  return found == open_.end() ? nullptr : &found->second;
}

const std::string* OverlayRegistry::Written(const OpenKey& key, std::string_view name) const {
  if (key.other_view) return nullptr;
  auto found = values_.find({key.root, key.path, UpperCased(name)});
  return found == values_.end() ? nullptr : &found->second;
}

std::optional<RegistryValue> OverlayRegistry::ReadValue(KeyHandle key, std::string_view name) {
  const OpenKey* open = Lookup(key);
  if (!open) return std::nullopt;
  if (const std::string* text = Written(*open, name)) return RegistryValue{kRegSz, *text + '\0'};
  return below_.ReadValue(open->below, name);
}

bool OverlayRegistry::SetString(KeyHandle key, std::string_view name, std::string_view text) {
  const OpenKey* open = Lookup(key);
  if (!open || open->other_view) return false;
  values_[{open->root, open->path, UpperCased(name)}] = std::string(text);
  writes_.push_back({open->root, open->path, std::string(name), std::string(text)});
  return true;
}

std::optional<std::uint32_t> OverlayRegistry::CountSubKeys(KeyHandle key) {
  const OpenKey* open = Lookup(key);
  if (!open) return std::nullopt;
  return open->below ? below_.CountSubKeys(open->below) : std::optional<std::uint32_t>(0);
}

std::optional<std::string> OverlayRegistry::SubKeyName(KeyHandle key, std::uint32_t index) {
  const OpenKey* open = Lookup(key);
  if (!open || !open->below) return std::nullopt;
  return below_.SubKeyName(open->below, index);
}

bool OverlayRegistry::DeleteKey(RootKey, std::string_view) { return false; }

void OverlayRegistry::Close(KeyHandle key) {
  auto found = open_.find(key);
  if (found == open_.end()) return;
  below_.Close(found->second.below);
  open_.erase(found);
}

}  // namespace setup
