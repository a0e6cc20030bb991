#pragma once

// What the picture file readers share: little-endian fields, bounds, and the
// device-independent bitmaps that .bmp, .ico and both metafile formats carry.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace setup::picture {

/// The 16-bit and 32-bit little-endian values at `offset`; the caller has
/// checked that they lie within the bytes.
std::uint16_t Word(std::string_view bytes, std::size_t offset);
std::uint32_t DoubleWord(std::string_view bytes, std::size_t offset);

/// True when [offset, offset + size) lies within the bytes, without overflow.
inline bool Fits(std::string_view bytes, std::uint64_t offset, std::uint64_t size) {
  return offset <= bytes.size() && size <= bytes.size() - offset;
}

/// How the system finds the parts of a bitmap, which decides where its
/// pixels start and how many there are.
enum class DibUse {
  kApart,   // header and pixels handed over apart: a .bmp file, a metafile blit
  kPacked,  // pixels right after the colours: a pattern brush
  kIcon,    // packed, and the height counts the colour image and the mask below it
};

/// What a bitmap's colour table holds, as the metafile records name it.
inline constexpr std::uint32_t kRgbColours = 0, kPaletteColours = 1, kNoColours = 2;

struct Dib {
  std::size_t info_size = 0;    // header, masks and colours
  std::uint64_t bits_size = 0;  // the pixels, and an icon's mask
  std::uint64_t stride = 0;     // bytes a row; 0 for run-length pixels
  std::uint64_t rows = 0;
  int bit_count = 0;
};

/// The parts of the bitmap whose header starts the bytes, where its header,
/// masks and colours lie within them and add up; nothing otherwise. Whether
/// the pixels are there is the caller's check, as only it knows where they lie.
std::optional<Dib> ReadDib(std::string_view bytes, DibUse use, std::uint32_t colours = kRgbColours);

}  // namespace setup::picture
