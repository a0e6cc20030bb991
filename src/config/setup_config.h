#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace setup {

inline constexpr std::string_view kSetupFileName = "setup.ini";
/// The private-profile buffer of one value: 2047 characters and a zero.
inline constexpr std::size_t kSetupValueBufferSize = 2048;
/// The buffer of one section's key names, separators included.
inline constexpr std::size_t kSetupKeysBufferSize = 16 * 1024;
/// The buffer of one whole section, its "name=value" lines and separators.
inline constexpr std::size_t kSetupSectionBufferSize = 32 * 1024;

/// The folder of the running executable, always ending in a backslash.
std::string ProgramFolder(FileSystem& files);

/// Empty when the program's folder can be named in the code page; else why
/// the package in it cannot be used, for a message box or a log line.
std::string UnheldProgramFolderText(FileSystem& files);

/// The value of a key in a section of setup.ini, or the empty text. Opens
/// the file afresh on every call, so each read sees its content of the moment.
std::string ReadSetupValue(const Platform& platform, std::string_view section, std::string_view key);

/// The key names of a section of setup.ini in file order (up to 16 KiB of
/// names, without a last one the buffer may have cut short); empty when the
/// file or section is missing.
std::vector<std::string> ReadSetupKeys(const Platform& platform, std::string_view section);

/// A whole section of setup.ini in one read: its lines in file order as
/// ProfileReader::ReadSection gives them, up to 32 KiB; empty when the file
/// or section is missing.
std::vector<std::string> ReadSetupSection(const Platform& platform, std::string_view section);

/// [options] subdir, the install sub-folder kept for the whole run; empty
/// when it is a full path or climbs out of the folder it is made in.
std::string ReadInstallSubfolder(const Platform& platform);

/// A switch that turns something on: only the exact text "1" counts.
bool IsOnFlag(std::string_view text);
/// A switch that turns something off: only the exact text "0" counts.
bool IsOffFlag(std::string_view text);
/// The text as a whole decimal number (an optional sign and digits, within
/// the 32-bit range); anything else, the empty text included, gives the default.
int ParseWholeNumber(std::string_view text, int default_number);

}  // namespace setup
