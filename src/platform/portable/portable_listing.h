#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

#include "platform/file_system.h"
#include "platform/portable/portable_code_page.h"

namespace setup {

/// Lists the entries of a host folder that a name pattern matches by name or
/// short name, as a snapshot in case-insensitive name order (ties by bytes),
/// with "." and ".." first below a drive root. With all_attributes false only
/// the kind bits are promised (see KindAt). Nothing, with `error` set, when
/// the folder cannot be opened or nothing matches. Names are given in the
/// code page (AnsiFromHostName with `conversion`).
std::unique_ptr<FolderListing> ListHostFolder(const std::filesystem::path& folder, std::string_view name_pattern,
                                              bool below_root, bool all_attributes, std::uint32_t& error,
                                              NameConversion conversion = NameConversion::kExact);

}  // namespace setup
