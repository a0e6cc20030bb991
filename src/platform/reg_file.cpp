#include "platform/reg_file.h"

#include <optional>

#include "platform/ansi_text.h"

namespace setup {
namespace {

[[noreturn]] void Fail(int line, const std::string& what) {
  throw RegFileError("line " + std::to_string(line) + ": " + what);
}

// Lines are cut at LF, so a CR can only stand at the end.
constexpr bool IsLineBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
std::string_view Trim(std::string_view text) { return TrimmedView(text, IsLineBlank); }

std::optional<RootKey> RootNamed(std::string_view name) {
  if (name == "HKEY_CURRENT_USER" || name == "HKCU") return RootKey::kCurrentUser;
  if (name == "HKEY_LOCAL_MACHINE" || name == "HKLM") return RootKey::kLocalMachine;
  return std::nullopt;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A quoted text starting at text[0] == '"'; returns the text and moves past
// the closing quote. Backslash escapes only the backslash and the quote.
std::optional<std::string> TakeQuoted(std::string_view& text) {
  std::string result;
  std::size_t i = 1;
  while (i < text.size()) {
    char c = text[i];
    if (c == '"') {
      text.remove_prefix(i + 1);
      return result;
    }
    if (c == '\\' && i + 1 < text.size()) {
      result += text[i + 1];
      i += 2;
      continue;
    }
    result += c;
    ++i;
  }
  return std::nullopt;
}

std::optional<std::string> ParseHexBytes(std::string_view text) {
  std::string bytes;
  text = Trim(text);
  while (!text.empty()) {
    std::size_t comma = text.find(',');
    std::string_view item = Trim(text.substr(0, comma));
    if (item.size() != 2 || HexDigit(item[0]) < 0 || HexDigit(item[1]) < 0) return std::nullopt;
    bytes += static_cast<char>(HexDigit(item[0]) * 16 + HexDigit(item[1]));
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
    if (Trim(text).empty()) return std::nullopt;  // a trailing comma
  }
  return bytes;
}

// UTF-16LE to 8-bit: characters beyond one byte become '?', as the ANSI
// functions do for characters the code page lacks.
std::string NarrowUtf16(const std::string& bytes) {
  std::string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    unsigned code =
        static_cast<unsigned char>(bytes[i]) | static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 1])) << 8;
    text += code < 256 ? static_cast<char>(code) : '?';
  }
  return text;
}

struct Cursor {
  bool in_key = false;
  bool deleted_key = false;
  RootKey root = RootKey::kCurrentUser;
  std::string path;
};

void ParseKeyLine(std::string_view line, int number, Cursor& cursor, std::vector<RegOperation>& out) {
  if (line.back() != ']') Fail(number, "a key line must end in ']'");
  std::string_view inner = line.substr(1, line.size() - 2);
  bool deletion = !inner.empty() && inner.front() == '-';
  if (deletion) inner.remove_prefix(1);
  std::size_t slash = inner.find('\\');
  std::string_view root_name = inner.substr(0, slash);
  std::optional<RootKey> root = RootNamed(root_name);
  if (!root) Fail(number, "unknown root key '" + std::string(root_name) + "'");
  std::string path = slash == std::string_view::npos ? "" : std::string(inner.substr(slash + 1));
  while (!path.empty() && path.back() == '\\') path.pop_back();
  cursor = Cursor{true, deletion, *root, path};
  out.push_back({deletion ? RegOperation::Kind::kDeleteKey : RegOperation::Kind::kCreateKey, *root, path, "", 0, ""});
}

void ParseValueLine(std::string_view line, int number, bool unicode, const Cursor& cursor,
                    std::vector<RegOperation>& out) {
  if (!cursor.in_key) Fail(number, "a value before the first key");
  std::string name;
  if (line.front() == '@') {
    line.remove_prefix(1);
  } else {
    std::optional<std::string> quoted = TakeQuoted(line);
    if (!quoted) Fail(number, "the value name has no closing quote");
    name = *quoted;
  }
  line = Trim(line);
  if (line.empty() || line.front() != '=') Fail(number, "'=' expected after the value name");
  line = Trim(line.substr(1));
  if (cursor.deleted_key) return;  // values of a deleted key are ignored, as regedit does

  RegOperation op{RegOperation::Kind::kSetValue, cursor.root, cursor.path, name, kRegSz, ""};
  if (line == "-") {
    op.kind = RegOperation::Kind::kDeleteValue;
  } else if (!line.empty() && line.front() == '"') {
    std::optional<std::string> text = TakeQuoted(line);
    if (!text || !Trim(line).empty()) Fail(number, "malformed string data");
    op.data = *text + '\0';
  } else if (StartsWith(line, "dword:")) {
    std::string_view digits = line.substr(6);
    if (digits.empty() || digits.size() > 8) Fail(number, "malformed dword data");
    std::uint32_t value = 0;
    for (char c : digits) {
      if (HexDigit(c) < 0) Fail(number, "malformed dword data");
      value = value * 16 + static_cast<std::uint32_t>(HexDigit(c));
    }
    op.type = kRegDword;
    for (int i = 0; i < 4; ++i) op.data += static_cast<char>((value >> (8 * i)) & 0xFF);
  } else if (StartsWith(line, "hex")) {
    std::string_view rest = line.substr(3);
    op.type = kRegBinary;
    if (!rest.empty() && rest.front() == '(') {
      std::size_t close = rest.find(')');
      if (close == std::string_view::npos || close == 1 || close > 9) Fail(number, "malformed hex type");
      std::uint32_t type = 0;
      for (char c : rest.substr(1, close - 1)) {
        if (HexDigit(c) < 0) Fail(number, "malformed hex type");
        type = type * 16 + static_cast<std::uint32_t>(HexDigit(c));
      }
      op.type = type;
      rest.remove_prefix(close + 1);
    }
    if (rest.empty() || rest.front() != ':') Fail(number, "':' expected after hex");
    std::optional<std::string> bytes = ParseHexBytes(rest.substr(1));
    if (!bytes) Fail(number, "malformed hex data");
    bool text_type = op.type == kRegSz || op.type == kRegExpandSz || op.type == kRegMultiSz;
    op.data = unicode && text_type ? NarrowUtf16(*bytes) : *bytes;
  } else {
    Fail(number, "unknown value data");
  }
  out.push_back(std::move(op));
}

}  // namespace

std::vector<RegOperation> ParseRegFile(std::string_view text) {
  if (StartsWith(text, "\xEF\xBB\xBF")) text.remove_prefix(3);

  // Physical lines, with their numbers, joined where a line ends in a backslash.
  std::vector<std::pair<int, std::string>> lines;
  int number = 0;
  bool continuing = false;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view raw = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++number;
    std::string_view line = Trim(raw);
    if (continuing) {
      lines.back().second += line;
    } else {
      lines.emplace_back(number, std::string(line));
    }
    continuing = !line.empty() && line.back() == '\\' && lines.back().second.front() != '[';
    if (continuing) lines.back().second.pop_back();
  }

  std::vector<RegOperation> out;
  bool unicode = false;
  bool header_seen = false;
  Cursor cursor;
  for (const auto& [line_number, line_text] : lines) {
    std::string_view line = line_text;
    if (!header_seen) {
      if (line.empty()) continue;
      if (line == "REGEDIT4") {
        unicode = false;
      } else if (line == "Windows Registry Editor Version 5.00") {
        unicode = true;
      } else {
        Fail(line_number, "not a registry file (REGEDIT4 or Windows Registry Editor Version 5.00 expected)");
      }
      header_seen = true;
      continue;
    }
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      ParseKeyLine(line, line_number, cursor, out);
    } else if (line.front() == '"' || line.front() == '@') {
      ParseValueLine(line, line_number, unicode, cursor, out);
    } else {
      Fail(line_number, "neither a key nor a value");
    }
  }
  if (!header_seen) Fail(1, "empty registry file");
  return out;
}

}  // namespace setup
