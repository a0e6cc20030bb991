#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/environment.h"
#include "platform/registry.h"

namespace setup {

/// Where detectors and the drive scan leave the folders they find, under
/// HKEY_CURRENT_USER.
inline constexpr std::string_view kScratchKeyPath = "Software\\Brisquell\\Temp";

/// A binary value is read into a buffer of this size with a zero after the
/// data, so at most one byte less of it is taken.
inline constexpr std::size_t kBinaryValueBufferSize = 260;

/// One registry value as text: a REG_SZ up to its first zero, a REG_BINARY's
/// first 259 bytes up to the first zero byte; empty for a missing key or
/// value and for every other type. Changes nothing, reports nothing.
std::string ReadRegistryText(Registry& registry, RootKey root, std::string_view key_path, std::string_view value_name);

/// A registry value in the given view as text: what ReadRegistryText reads,
/// and also a REG_EXPAND_SZ, its %NAME% replaced from the environment.
std::string ReadExpandedText(Registry& registry, Environment& environment, RegistryView view, RootKey root,
                             std::string_view key_path, std::string_view value_name);

/// ReadExpandedText as a folder: UsableFolder of it.
std::string ReadExpandedFolder(Registry& registry, Environment& environment, RegistryView view, RootKey root,
                               std::string_view key_path, std::string_view value_name);

/// A plug-in folder stored in a registry value: UsableFolder of what
/// ReadRegistryText reads.
std::string ReadHostFolder(Registry& registry, RootKey root, std::string_view key_path, std::string_view value_name);

/// A folder text as a host's folder: empty (not found) when it is longer
/// than any path the system can reach, or when it holds a character the code
/// page cannot hold (the folder could only be reached at a look-alike name).
std::string UsableFolder(std::string folder);

/// Stores a found folder as a REG_SZ value under the scratch key, creating
/// the key when missing. Silently does nothing when the key cannot be opened.
void StoreFoundFolder(Registry& registry, std::string_view name, std::string_view folder);

/// Deletes the scratch key with its values and any sub-keys; Software\Brisquell
/// stays. A missing key or a failed delete is ignored.
void DeleteScratchKey(Registry& registry);

}  // namespace setup
