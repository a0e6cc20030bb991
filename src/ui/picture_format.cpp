#include "ui/picture_format.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "platform/ansi_text.h"
#include "ui/picture_format_internal.h"

namespace setup {
namespace picture {

std::uint16_t Word(std::string_view bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[offset]) |
                                    static_cast<unsigned char>(bytes[offset + 1]) << 8);
}

std::uint32_t DoubleWord(std::string_view bytes, std::size_t offset) {
  return Word(bytes, offset) | static_cast<std::uint32_t>(Word(bytes, offset + 2)) << 16;
}

namespace {

constexpr std::uint32_t kCoreHeaderSize = 12;  // BITMAPCOREHEADER
constexpr std::uint32_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER
constexpr std::uint32_t kMasksEnd = 52;        // the three colour masks follow the BITMAPINFOHEADER fields
constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;
// No picture a setup window shows comes near a million pixels a side or 64
// million in all; the bounds also keep every size below, ours and the
// system's, far from overflowing 32 bits.
constexpr std::int64_t kMostSide = 1 << 20;
constexpr std::uint64_t kMostPixels = 1 << 26;

}  // namespace

std::optional<Dib> ReadDib(std::string_view bytes, DibUse use, std::uint32_t colours_kind) {
  if (!Fits(bytes, 0, 4) || colours_kind > kNoColours) return std::nullopt;
  std::uint32_t header_size = DoubleWord(bytes, 0);
  if ((header_size != kCoreHeaderSize && header_size < kInfoHeaderSize) || !Fits(bytes, 0, header_size))
    return std::nullopt;
  bool core = header_size == kCoreHeaderSize;
  std::int64_t width = core ? Word(bytes, 4) : static_cast<std::int32_t>(DoubleWord(bytes, 4));
  std::int64_t height = core ? Word(bytes, 6) : static_cast<std::int32_t>(DoubleWord(bytes, 8));
  std::uint16_t planes = Word(bytes, core ? 8 : 12);
  std::uint16_t bit_count = Word(bytes, core ? 10 : 14);
  std::uint32_t compression = core ? kRgb : DoubleWord(bytes, 16);
  std::uint32_t image_size = core ? 0 : DoubleWord(bytes, 20);
  std::uint32_t colours_used = core ? 0 : DoubleWord(bytes, 32);
  if (width <= 0 || width > kMostSide || height == 0 || std::llabs(height) > kMostSide || planes != 1)
    return std::nullopt;
  if (bit_count != 1 && bit_count != 4 && bit_count != 8 && bit_count != 16 && bit_count != 24 && bit_count != 32)
    return std::nullopt;
  bool run_lengths = (compression == kRle8 && bit_count == 8) || (compression == kRle4 && bit_count == 4);
  bool bit_fields = compression == kBitFields && (bit_count == 16 || bit_count == 32);
  if (compression != kRgb && !run_lengths && !bit_fields) return std::nullopt;
  // Run lengths are stored bottom-up with their length given, and only
  // where header and pixels are handed over apart.
  if (run_lengths && (use != DibUse::kApart || height < 0 || image_size == 0)) return std::nullopt;
  std::uint64_t rows = static_cast<std::uint64_t>(std::llabs(height));
  if (use == DibUse::kIcon) rows /= 2;
  if (rows == 0 || static_cast<std::uint64_t>(width) * rows > kMostPixels) return std::nullopt;

  // Where the pixels of a packed bitmap start, the system counts every colour
  // the header gives and puts the masks after the header; a header that
  // makes those readings differ from the plain one does not add up.
  bool packed = use != DibUse::kApart;
  std::uint64_t colours = 0;
  if (bit_count <= 8) {
    std::uint64_t most = std::uint64_t{1} << bit_count;
    if (packed && colours_used > most) return std::nullopt;
    colours = colours_used == 0 || colours_used > most ? most : colours_used;
  } else if (packed) {
    if (colours_used > 256) return std::nullopt;
    colours = colours_used;
  }
  std::uint64_t masks = 0;
  if (bit_fields) {
    if (packed && header_size != kInfoHeaderSize) return std::nullopt;
    masks = header_size < kMasksEnd ? kMasksEnd - header_size : 0;
  }
  std::uint64_t entry = colours_kind == kRgbColours ? (core ? 3 : 4) : colours_kind == kPaletteColours ? 2 : 0;
  std::uint64_t info_size = header_size + masks + colours * entry;
  if (!Fits(bytes, 0, info_size)) return std::nullopt;

  Dib dib;
  dib.info_size = static_cast<std::size_t>(info_size);
  dib.rows = rows;
  dib.bit_count = bit_count;
  if (run_lengths) {
    dib.bits_size = image_size;
  } else {
    dib.stride = (static_cast<std::uint64_t>(width) * bit_count + 31) / 32 * 4;
    dib.bits_size = dib.stride * rows;
    if (use == DibUse::kIcon) dib.bits_size += (static_cast<std::uint64_t>(width) + 31) / 32 * 4 * rows;
  }
  return dib;
}

}  // namespace picture

namespace {

using picture::DibUse;
using picture::DoubleWord;
using picture::Fits;
using picture::Word;

constexpr std::size_t kFileHeaderSize = 14;  // BITMAPFILEHEADER

std::uint32_t BigEndian(std::string_view bytes, std::size_t offset) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset])) << 24 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + 1])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + 2])) << 8 |
         static_cast<unsigned char>(bytes[offset + 3]);
}

// A PNG icon image is decoded by the system; its size must be one a bitmap
// could have, as the system makes a bitmap of it.
bool PngSizeIsSound(std::string_view image) {
  constexpr std::size_t kHeaderChunkEnd = 8 + 8 + 13 + 4;  // signature; IHDR length, type, fields, check
  if (image.size() < kHeaderChunkEnd || BigEndian(image, 8) != 13 || image.substr(12, 4) != "IHDR") return false;
  std::uint64_t width = BigEndian(image, 16), height = BigEndian(image, 20);
  return width > 0 && height > 0 && width * height <= picture::kMostPixels;
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

std::string ReadPictureFile(const std::string& path, FileSystem& files) {
  std::optional<std::string> bytes = files.ReadWholeFile(path, kPictureFileLimit);
  if (!bytes) {
    throw PictureError(path, files.LastError() == kErrorFileTooLarge ? "the file is too large for a picture"
                                                                     : "the file cannot be read");
  }
  return *std::move(bytes);
}

bool PictureIsSound(PictureFormat format, std::string_view bytes) {
  switch (format) {
    case PictureFormat::kBitmap: return ReadBitmapLayout(bytes).has_value();
    case PictureFormat::kIcon: return LargestIconImage(bytes).has_value();
    case PictureFormat::kMetafile: return ReadMetafileLayout(bytes).has_value();
    case PictureFormat::kEnhancedMetafile: return EnhancedMetafileSize(bytes).has_value();
  }
  return false;
}

std::optional<BitmapLayout> ReadBitmapLayout(std::string_view bytes) {
  if (bytes.size() < kFileHeaderSize || bytes.substr(0, 2) != "BM") return std::nullopt;
  std::optional<picture::Dib> dib = picture::ReadDib(bytes.substr(kFileHeaderSize), DibUse::kApart);
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
  // A bitmap image must hold what its header says.
  std::string_view image = bytes.substr(best->offset, best->size);
  if (image.substr(0, 8) == "\x89PNG\r\n\x1a\n") return PngSizeIsSound(image) ? best : std::nullopt;
  std::optional<picture::Dib> dib = picture::ReadDib(image, DibUse::kIcon);
  if (!dib || !Fits(image, dib->info_size, dib->bits_size)) return std::nullopt;
  return best;
}

}  // namespace setup
