#include "platform/portable/portable_code_page.h"

#include <vector>

#include "platform/ansi_text.h"

namespace setup {
namespace {

// Windows-1252 differs from Latin-1 in 0x80 to 0x9F; 0x81, 0x8D, 0x8F, 0x90
// and 0x9D stand for the control characters of the same number.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

struct BestFit {
  char32_t character;
  char byte;
};

// A sample of the system's best-fit table: enough to show the look-alike
// that makes a second name of an existing one.
constexpr BestFit kBestFits[] = {
    {0x0391, 'A'}, {0x0392, 'B'}, {0x0395, 'E'}, {0x0397, 'H'}, {0x0399, 'I'}, {0x039A, 'K'}, {0x039C, 'M'},
    {0x039D, 'N'}, {0x039F, 'O'}, {0x03A1, 'P'}, {0x03A4, 'T'}, {0x03A7, 'X'}, {0x03A9, 'O'}, {0x03B1, 'a'},
    {0x03C9, 'w'}, {0x0410, 'A'}, {0x0430, 'a'}, {0x041E, 'O'}, {0x043E, 'o'}, {0x0104, 'A'}, {0x0105, 'a'},
    {0x0141, 'L'}, {0x0142, 'l'}, {0x015A, 'S'}, {0x015B, 's'}, {0x0179, 'Z'}, {0x017A, 'z'}, {0x0106, 'C'},
    {0x0107, 'c'}, {0x0143, 'N'}, {0x0144, 'n'},
};

// The code points of a UTF-8 text; nothing when it is no valid UTF-8.
std::optional<std::vector<char32_t>> Decoded(std::string_view text) {
  std::vector<char32_t> characters;
  for (std::size_t i = 0; i < text.size();) {
    auto byte = static_cast<unsigned char>(text[i]);
    int extra = byte < 0x80             ? 0
                : (byte & 0xE0) == 0xC0 ? 1
                : (byte & 0xF0) == 0xE0 ? 2
                : (byte & 0xF8) == 0xF0 ? 3
                                        : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= text.size()) return std::nullopt;
    char32_t character = extra == 0 ? byte : byte & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      character = (character << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and what lies beyond Unicode are no UTF-8.
    constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (character < kLeast[extra] || (character >= 0xD800 && character <= 0xDFFF) || character > 0x10FFFF)
      return std::nullopt;
    characters.push_back(character);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return characters;
}

}  // namespace

std::optional<unsigned char> WesternByteOf(char32_t character) {
  if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) return static_cast<unsigned char>(character);
  for (unsigned char n = 0; n < 32; ++n)
    if (kHighControls[n] == character) return static_cast<unsigned char>(0x80 + n);
  return std::nullopt;
}

std::optional<unsigned char> BestFitByteOf(char32_t character) {
  for (const BestFit& fit : kBestFits)
    if (fit.character == character) return static_cast<unsigned char>(fit.byte);
  return std::nullopt;
}

std::string AnsiFromHostName(std::string_view utf8, NameConversion conversion) {
  std::optional<std::vector<char32_t>> characters = Decoded(utf8);
  if (!characters) return std::string(utf8);
  std::string name;
  for (char32_t character : *characters) {
    std::optional<unsigned char> byte = WesternByteOf(character);
    if (!byte && conversion == NameConversion::kBestFit) byte = BestFitByteOf(character);
    // With neither, the system puts its default character; the exact
    // conversion puts the mark that no name can hold.
    if (!byte) byte = conversion == NameConversion::kBestFit ? '?' : kUnheldCharacter;
    name += static_cast<char>(*byte);
  }
  return name;
}

}  // namespace setup
