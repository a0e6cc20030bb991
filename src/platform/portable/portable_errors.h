#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace setup {

/// The Windows error code a failed host call on `host` stands for. A missing
/// entry is "file not found" when its folder exists, else "path not found";
/// whatever has no closer code is "access denied".
std::uint32_t ErrorFromErrno(int error, const std::filesystem::path& host);

/// The texts Wine gives for the codes the portable back end produces; nothing
/// for other codes.
std::optional<std::string> PortableErrorText(std::uint32_t code);

}  // namespace setup
