#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"
#include "platform/text_error.h"

namespace setup {

/// One change that a .reg file asks for, in file order.
struct RegOperation {
  enum class Kind { kCreateKey, kDeleteKey, kSetValue, kDeleteValue };
  Kind kind;
  RootKey root;
  std::string path;        // below the root, without a leading backslash
  std::string name;        // value name; empty for the default value
  std::uint32_t type = 0;  // RegistryType of kSetValue
  std::string data;        // data bytes as the ANSI functions see them
};

/// A .reg text that cannot be read; what() names the line.
class RegFileError : public TextError {
 public:
  using TextError::TextError;
};

/// Reads "REGEDIT4" and "Windows Registry Editor Version 5.00" text: key
/// sections, [-Key] deletions, "name"="text", @=, "name"=-, dword:, hex:,
/// hex(n): and line continuations. Text data of hex(1), hex(2) and hex(7) is
/// UTF-16 in version 5 files and is turned into 8-bit text. Throws
/// RegFileError for a malformed line.
std::vector<RegOperation> ParseRegFile(std::string_view text);

}  // namespace setup
