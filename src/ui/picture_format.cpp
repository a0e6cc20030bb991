#include "ui/picture_format.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/ansi_text.h"

namespace setup {
namespace {

std::uint16_t Word(std::string_view bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[offset]) |
                                    static_cast<unsigned char>(bytes[offset + 1]) << 8);
}

std::uint32_t DoubleWord(std::string_view bytes, std::size_t offset) {
  return Word(bytes, offset) | static_cast<std::uint32_t>(Word(bytes, offset + 2)) << 16;
}

// True when [offset, offset + size) lies within the bytes, without overflow.
bool Fits(std::string_view bytes, std::size_t offset, std::uint64_t size) {
  return offset <= bytes.size() && size <= bytes.size() - offset;
}

constexpr std::size_t kFileHeaderSize = 14;      // BITMAPFILEHEADER
constexpr std::size_t kCoreHeaderSize = 12;      // BITMAPCOREHEADER
constexpr std::size_t kInfoHeaderSize = 40;      // BITMAPINFOHEADER
constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

// The parts of a device-independent bitmap that starts at `offset` with its
// header. `halves` is 2 for an icon image, whose height counts the colour
// image and the mask below it.
struct Dib {
  std::size_t info_size = 0;       // header, masks and colours
  std::uint64_t bits_size = 0;     // the pixels, and an icon's mask
};

std::optional<Dib> ReadDib(std::string_view bytes, std::size_t offset, int halves) {
  if (!Fits(bytes, offset, 4)) return std::nullopt;
  std::uint32_t header_size = DoubleWord(bytes, offset);
  if ((header_size != kCoreHeaderSize && header_size < kInfoHeaderSize) || !Fits(bytes, offset, header_size))
    return std::nullopt;
  bool core = header_size == kCoreHeaderSize;
  std::int64_t width = core ? Word(bytes, offset + 4) : static_cast<std::int32_t>(DoubleWord(bytes, offset + 4));
  std::int64_t height = core ? Word(bytes, offset + 6) : static_cast<std::int32_t>(DoubleWord(bytes, offset + 8));
  std::uint16_t planes = Word(bytes, offset + (core ? 8 : 12));
  std::uint16_t bit_count = Word(bytes, offset + (core ? 10 : 14));
  std::uint32_t compression = core ? kRgb : DoubleWord(bytes, offset + 16);
  std::uint32_t image_size = core ? 0 : DoubleWord(bytes, offset + 20);
  std::uint32_t colours_used = core ? 0 : DoubleWord(bytes, offset + 32);
  // No picture a setup window shows comes near a million pixels a side; the
  // bound also keeps the sizes below from overflowing.
  constexpr std::int64_t kMostPixels = 1 << 20;
  if (width <= 0 || width > kMostPixels || height == 0 || std::llabs(height) > kMostPixels || planes != 1)
    return std::nullopt;
  if (bit_count != 1 && bit_count != 4 && bit_count != 8 && bit_count != 16 && bit_count != 24 && bit_count != 32)
    return std::nullopt;
  bool known = compression == kRgb || (compression == kRle8 && bit_count == 8) ||
               (compression == kRle4 && bit_count == 4) ||
               (compression == kBitFields && (bit_count == 16 || bit_count == 32));
  if (!known) return std::nullopt;

  Dib dib;
  std::uint64_t colours = 0;
  if (bit_count <= 8) {
    std::uint64_t most = std::uint64_t{1} << bit_count;
    colours = colours_used == 0 || colours_used > most ? most : colours_used;
  }
  std::uint64_t masks = compression == kBitFields && header_size == kInfoHeaderSize ? 12 : 0;
  std::uint64_t info_size = header_size + masks + colours * (core ? 3 : 4);
  if (!Fits(bytes, offset, info_size)) return std::nullopt;
  dib.info_size = static_cast<std::size_t>(info_size);
  std::uint64_t rows = static_cast<std::uint64_t>(std::llabs(height));
  if (compression == kRle8 || compression == kRle4) {
    // Run-length pixels: only their stored length is known.
    if (image_size == 0 || halves != 1) return std::nullopt;
    dib.bits_size = image_size;
  } else {
    std::uint64_t stride = (static_cast<std::uint64_t>(width) * bit_count + 31) / 32 * 4;
    dib.bits_size = stride * rows;
    if (halves == 2) {
      std::uint64_t mask_stride = (static_cast<std::uint64_t>(width) + 31) / 32 * 4;
      dib.bits_size = (stride + mask_stride) * (rows / 2);
    }
  }
  return dib;
}

}  // namespace

ToolkitError PictureError(const std::string& path, std::string_view reason) {
  return ToolkitError("Cannot load the picture \"" + path + "\": " + std::string(reason) + ".");
}

PictureFormat PictureFormatOf(const std::string& path) {
  std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || path.find_first_of("\\/", dot) != std::string::npos)
    throw PictureError(path, "the file name has no picture extension");
  std::string extension = LowerCased(std::string_view(path).substr(dot));
  if (extension == ".bmp") return PictureFormat::kBitmap;
  if (extension == ".ico") return PictureFormat::kIcon;
  if (extension == ".wmf") return PictureFormat::kMetafile;
  if (extension == ".emf") return PictureFormat::kEnhancedMetafile;
  throw PictureError(path, "unknown picture file extension (" + extension + ")");
}

std::optional<BitmapLayout> ReadBitmapLayout(std::string_view bytes) {
  if (bytes.size() < kFileHeaderSize || bytes.substr(0, 2) != "BM") return std::nullopt;
  std::optional<Dib> dib = ReadDib(bytes, kFileHeaderSize, 1);
  if (!dib) return std::nullopt;
  BitmapLayout layout{kFileHeaderSize, dib->info_size, DoubleWord(bytes, 10), 0};
  // An offset of zero, or one into the header, means the pixels follow the colours.
  if (layout.bits_offset < kFileHeaderSize + layout.info_size) layout.bits_offset = kFileHeaderSize + layout.info_size;
  if (!Fits(bytes, layout.bits_offset, dib->bits_size)) return std::nullopt;
  layout.bits_size = static_cast<std::size_t>(dib->bits_size);
  return layout;
}

std::optional<IconImage> LargestIconImage(std::string_view bytes) {
  constexpr std::size_t kDirectorySize = 6, kEntrySize = 16;
  if (bytes.size() < kDirectorySize || Word(bytes, 0) != 0 || Word(bytes, 2) != 1) return std::nullopt;
  std::size_t count = Word(bytes, 4);
  if (count == 0 || !Fits(bytes, kDirectorySize, count * kEntrySize)) return std::nullopt;
  std::optional<IconImage> best;
  int best_bits = -1;
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t entry = kDirectorySize + i * kEntrySize;
    int width = static_cast<unsigned char>(bytes[entry]);
    int height = static_cast<unsigned char>(bytes[entry + 1]);
    IconImage image{DoubleWord(bytes, entry + 12), DoubleWord(bytes, entry + 8), width == 0 ? 256 : width,
                    height == 0 ? 256 : height};
    int bits = Word(bytes, entry + 6);
    if (!best || image.width > best->width || (image.width == best->width && bits > best_bits)) {
      best = image;
      best_bits = bits;
    }
  }
  if (!Fits(bytes, best->offset, best->size)) return std::nullopt;
  // A PNG image is checked by the system; a bitmap image must hold what its header says.
  std::string_view image = bytes.substr(best->offset, best->size);
  if (image.substr(0, 8) != "\x89PNG\r\n\x1a\n") {
    std::optional<Dib> dib = ReadDib(image, 0, 2);
    if (!dib || !Fits(image, dib->info_size, dib->bits_size)) return std::nullopt;
  }
  return best;
}

std::optional<MetafileLayout> ReadMetafileLayout(std::string_view bytes) {
  constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
  constexpr std::size_t kPlaceableHeaderSize = 22;
  constexpr std::size_t kMetaHeaderSize = 18;  // METAHEADER as stored: nine 16-bit words
  MetafileLayout layout;
  if (bytes.size() >= kPlaceableHeaderSize && DoubleWord(bytes, 0) == kPlaceableKey) {
    std::uint16_t checksum = 0;
    for (std::size_t i = 0; i < 10; ++i) checksum ^= Word(bytes, i * 2);
    if (checksum != Word(bytes, 20)) return std::nullopt;
    int left = static_cast<std::int16_t>(Word(bytes, 6));
    int top = static_cast<std::int16_t>(Word(bytes, 8));
    int right = static_cast<std::int16_t>(Word(bytes, 10));
    int bottom = static_cast<std::int16_t>(Word(bytes, 12));
    int units_per_inch = Word(bytes, 14);
    if (units_per_inch == 0 || right == left || bottom == top) return std::nullopt;
    // An inch is 2540 hundredths of a millimetre; rounded to the nearest.
    auto hundredths = [units_per_inch](int units) {
      return static_cast<int>((static_cast<std::int64_t>(std::abs(units)) * 2540 + units_per_inch / 2) /
                              units_per_inch);
    };
    layout.placeable = true;
    layout.frame_width = hundredths(right - left);
    layout.frame_height = hundredths(bottom - top);
    layout.offset = kPlaceableHeaderSize;
  }
  if (!Fits(bytes, layout.offset, kMetaHeaderSize)) return std::nullopt;
  std::uint16_t type = Word(bytes, layout.offset);
  std::uint16_t header_words = Word(bytes, layout.offset + 2);
  std::uint16_t version = Word(bytes, layout.offset + 4);
  std::uint64_t size = static_cast<std::uint64_t>(DoubleWord(bytes, layout.offset + 6)) * 2;
  if ((type != 1 && type != 2) || header_words != kMetaHeaderSize / 2 || (version != 0x100 && version != 0x300) ||
      size < kMetaHeaderSize || !Fits(bytes, layout.offset, size)) {
    return std::nullopt;
  }
  layout.size = static_cast<std::size_t>(size);
  return layout;
}

std::optional<std::size_t> EnhancedMetafileSize(std::string_view bytes) {
  constexpr std::uint32_t kHeaderRecord = 1;           // EMR_HEADER
  constexpr std::uint32_t kSignature = 0x464D4520;     // " EMF"
  constexpr std::size_t kHeaderSize = 80;              // ENHMETAHEADER without its extensions
  if (bytes.size() < kHeaderSize || DoubleWord(bytes, 0) != kHeaderRecord || DoubleWord(bytes, 40) != kSignature)
    return std::nullopt;
  std::uint32_t header_size = DoubleWord(bytes, 4);
  std::uint32_t total = DoubleWord(bytes, 48);
  if (header_size < kHeaderSize || total < header_size || total > bytes.size()) return std::nullopt;
  return total;
}

}  // namespace setup
