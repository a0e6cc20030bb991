#include "ui/picture_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace setup {
namespace {

void Put16(std::string& bytes, std::uint32_t value) {
  bytes += static_cast<char>(value & 0xFF);
  bytes += static_cast<char>(value >> 8 & 0xFF);
}

void Put32(std::string& bytes, std::uint32_t value) {
  Put16(bytes, value & 0xFFFF);
  Put16(bytes, value >> 16);
}

// A BITMAPINFOHEADER.
std::string InfoHeader(std::int32_t width, std::int32_t height, int bits, std::uint32_t compression = 0,
                       std::uint32_t image_size = 0, std::uint32_t colours_used = 0) {
  std::string header;
  for (std::uint32_t value : {40u, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)}) {
    Put32(header, value);
  }
  Put16(header, 1);
  Put16(header, static_cast<std::uint32_t>(bits));
  for (std::uint32_t value : {compression, image_size, 0u, 0u, colours_used, 0u}) Put32(header, value);
  return header;
}

// A .bmp file: the file header, then the rest as given.
std::string Bmp(const std::string& rest, std::uint32_t bits_offset) {
  std::string bytes = "BM";
  Put32(bytes, static_cast<std::uint32_t>(14 + rest.size()));
  Put32(bytes, 0);
  Put32(bytes, bits_offset);
  return bytes + rest;
}

TEST(PictureFormatTest, ExtensionNamesTheFormat) {
  struct Case {
    const char* path;
    PictureFormat format;
  } cases[] = {
      {"C:\\Package\\logo.bmp", PictureFormat::kBitmap},   {"LOGO.BMP", PictureFormat::kBitmap},
      {"C:\\My.Pictures\\a.Ico", PictureFormat::kIcon},   {"x.wmf", PictureFormat::kMetafile},
      {"y.EmF", PictureFormat::kEnhancedMetafile},
  };
  for (const Case& c : cases) EXPECT_EQ(PictureFormatOf(c.path), c.format) << c.path;

  struct Error {
    const char* path;
    const char* text;
  } errors[] = {
      {"C:\\P\\logo.gif", "Cannot load the picture \"C:\\P\\logo.gif\": unknown picture file extension (.gif)."},
      {"logo.bmp.TXT", "Cannot load the picture \"logo.bmp.TXT\": unknown picture file extension (.txt)."},
      {"logo.", "Cannot load the picture \"logo.\": unknown picture file extension (.)."},
      {"C:\\v1.bmp\\logo", "Cannot load the picture \"C:\\v1.bmp\\logo\": the file name has no picture extension."},
      {"C:\\P\\logo", "Cannot load the picture \"C:\\P\\logo\": the file name has no picture extension."},
  };
  for (const Error& e : errors) {
    try {
      PictureFormatOf(e.path);
      ADD_FAILURE() << e.path << " was taken";
    } catch (const ToolkitError& error) {
      EXPECT_STREQ(error.what(), e.text);
    }
  }
}

TEST(PictureFormatTest, BitmapPartsMustLieInTheFile) {
  auto layout = [](const std::string& bytes) -> std::vector<std::size_t> {
    std::optional<BitmapLayout> read = ReadBitmapLayout(bytes);
    if (!read) return {};
    return {read->info_offset, read->info_size, read->bits_offset, read->bits_size};
  };
  std::string core;  // BITMAPCOREHEADER: 8 x 2, one plane, 1 bit
  Put32(core, 12);
  for (std::uint32_t value : {8u, 2u, 1u, 1u}) Put16(core, value);
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::size_t> parts;  // empty: refused
  } cases[] = {
      {"24 bits", Bmp(InfoHeader(2, 2, 24) + std::string(16, 'p'), 54), {14, 40, 54, 16}},
      {"top-down", Bmp(InfoHeader(2, -2, 24) + std::string(16, 'p'), 54), {14, 40, 54, 16}},
      {"two of 256 colours, pixels after them", Bmp(InfoHeader(3, 1, 8, 0, 0, 2) + std::string(12, 'p'), 0),
       {14, 48, 62, 4}},
      {"core header, three-byte colours", Bmp(core + std::string(6, 'c') + std::string(8, 'p'), 0), {14, 18, 32, 8}},
      {"colour masks", Bmp(InfoHeader(1, 1, 16, 3) + std::string(16, 'm'), 66), {14, 52, 66, 4}},
      {"run lengths", Bmp(InfoHeader(9, 9, 8, 1, 10, 1) + std::string(14, 'r'), 58), {14, 44, 58, 10}},
      {"pixels cut short", Bmp(InfoHeader(2, 2, 24) + std::string(15, 'p'), 54), {}},
      {"pixels beyond the end", Bmp(InfoHeader(2, 2, 24) + std::string(16, 'p'), 55), {}},
      {"colours cut short", Bmp(InfoHeader(1, 1, 8) + std::string(100, 'c'), 0), {}},
      {"run lengths of unknown length", Bmp(InfoHeader(9, 9, 8, 1, 0, 1) + std::string(14, 'r'), 58), {}},
      {"seven bits", Bmp(InfoHeader(1, 1, 7) + std::string(4, 'p'), 54), {}},
      {"no width", Bmp(InfoHeader(0, 1, 24) + std::string(4, 'p'), 54), {}},
      {"no height", Bmp(InfoHeader(1, 0, 24) + std::string(4, 'p'), 54), {}},
      {"vast", Bmp(InfoHeader(0x7FFFFFFF, 0x7FFFFFFF, 32) + std::string(4, 'p'), 54), {}},
      {"header cut short", Bmp(InfoHeader(1, 1, 24).substr(0, 30), 54), {}},
      {"no bitmap", "GIF89a" + InfoHeader(1, 1, 24) + std::string(4, 'p'), {}},
  };
  for (const Case& c : cases) EXPECT_EQ(layout(c.bytes), c.parts) << c.what;
}

// An icon image: header of the doubled height, colours, colour pixels and mask.
std::string IconBitmap(int size, int bits) {
  std::string image = InfoHeader(size, size * 2, bits);
  if (bits <= 8) image += std::string(4u << bits, 'c');
  image += std::string(static_cast<std::size_t>((size * bits + 31) / 32 * 4 * size), 'x');
  image += std::string(static_cast<std::size_t>((size + 31) / 32 * 4 * size), 'm');
  return image;
}

struct IconEntry {
  int width;  // 256 is stored as 0
  int bits;
  std::string image;
};

std::string Icon(const std::vector<IconEntry>& entries) {
  std::string bytes;
  for (std::uint32_t value : {0u, 1u, static_cast<std::uint32_t>(entries.size())}) Put16(bytes, value);
  std::size_t offset = 6 + 16 * entries.size();
  for (const IconEntry& entry : entries) {
    bytes += static_cast<char>(entry.width & 0xFF);
    bytes += static_cast<char>(entry.width & 0xFF);
    bytes += std::string(2, '\0');
    Put16(bytes, 1);
    Put16(bytes, static_cast<std::uint32_t>(entry.bits));
    Put32(bytes, static_cast<std::uint32_t>(entry.image.size()));
    Put32(bytes, static_cast<std::uint32_t>(offset));
    offset += entry.image.size();
  }
  for (const IconEntry& entry : entries) bytes += entry.image;
  return bytes;
}

TEST(PictureFormatTest, IconTakesItsWidestImageWithTheMostColours) {
  std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + "rest of a png";
  std::string cut_short = Icon({{16, 32, IconBitmap(16, 32)}});
  cut_short.pop_back();
  struct Case {
    const char* what;
    std::string bytes;
    int width;          // of the image taken; 0: refused
    std::string taken;  // its bytes
  } cases[] = {
      {"widest", Icon({{16, 32, IconBitmap(16, 32)}, {32, 4, IconBitmap(32, 4)}, {24, 8, IconBitmap(24, 8)}}), 32,
       IconBitmap(32, 4)},
      {"256 is stored as 0", Icon({{256, 1, IconBitmap(256, 1)}, {32, 32, IconBitmap(32, 32)}}), 256,
       IconBitmap(256, 1)},
      {"most colours among equals",
       Icon({{16, 4, IconBitmap(16, 4)}, {16, 32, IconBitmap(16, 32)}, {16, 8, IconBitmap(16, 8)}}), 16,
       IconBitmap(16, 32)},
      {"a PNG image", Icon({{48, 32, png}, {16, 32, IconBitmap(16, 32)}}), 48, png},
      {"mask cut short", Icon({{16, 32, IconBitmap(16, 32).substr(0, 1127)}}), 0, ""},
      {"image beyond the end", cut_short, 0, ""},
      {"no images", Icon({}), 0, ""},
      {"a cursor", std::string("\0\0\2\0", 4) + Icon({{16, 32, IconBitmap(16, 32)}}).substr(4), 0, ""},
  };
  for (const Case& c : cases) {
    std::optional<IconImage> image = LargestIconImage(c.bytes);
    ASSERT_EQ(image.has_value(), c.width > 0) << c.what;
    if (!image) continue;
    EXPECT_EQ(image->width, c.width) << c.what;
    EXPECT_EQ(image->height, c.width) << c.what;
    EXPECT_EQ(c.bytes.substr(image->offset, image->size), c.taken) << c.what;
  }
}

// A plain metafile of `words` 16-bit words: its header and zeros.
std::string PlainMetafile(std::uint32_t words, std::uint32_t version = 0x300) {
  std::string bytes;
  for (std::uint32_t value : {1u, 9u, version}) Put16(bytes, value);
  Put32(bytes, words);
  bytes.resize(words * 2, '\0');
  return bytes;
}

// The 22-byte header of a placeable metafile with a frame of (0, 0) to (right, bottom).
std::string Placeable(int right, int bottom, int units_per_inch, int checksum_change = 0) {
  std::string bytes;
  Put32(bytes, 0x9AC6CDD7);
  for (int value : {0, 0, 0, right, bottom, units_per_inch, 0, 0}) Put16(bytes, static_cast<std::uint32_t>(value));
  std::uint32_t checksum = 0;
  for (std::size_t i = 0; i < 20; i += 2) {
    checksum ^= static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8;
  }
  Put16(bytes, checksum ^ static_cast<std::uint32_t>(checksum_change));
  return bytes;
}

TEST(PictureFormatTest, MetafilesAreCheckedAndPlaceableOnesFramed) {
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<int> layout;  // offset, size, placeable, frame width, frame height; empty: refused
  } cases[] = {
      {"plain", PlainMetafile(12), {0, 24, 0, 0, 0}},
      {"plain, version 1", PlainMetafile(12, 0x100) + "trailing", {0, 24, 0, 0, 0}},
      {"placeable", Placeable(1000, 500, 1000) + PlainMetafile(12), {22, 24, 1, 2540, 1270}},
      {"frame rounded to the nearest", Placeable(1, 2, 3) + PlainMetafile(12), {22, 24, 1, 847, 1693}},
      {"wrong checksum", Placeable(1000, 500, 1000, 1) + PlainMetafile(12), {}},
      {"no units", Placeable(1000, 500, 0) + PlainMetafile(12), {}},
      {"longer than the file", PlainMetafile(12).substr(0, 23), {}},
      {"unknown version", PlainMetafile(12, 0x200), {}},
      {"shorter than its header", PlainMetafile(8), {}},
  };
  for (const Case& c : cases) {
    std::optional<MetafileLayout> read = ReadMetafileLayout(c.bytes);
    std::vector<int> layout;
    if (read) {
      layout = {static_cast<int>(read->offset), static_cast<int>(read->size), read->placeable, read->frame_width,
                read->frame_height};
    }
    EXPECT_EQ(layout, c.layout) << c.what;
  }

  auto emf = [](std::uint32_t record, std::uint32_t header_size, std::uint32_t signature, std::uint32_t total) {
    std::string bytes;
    Put32(bytes, record);
    Put32(bytes, header_size);
    bytes.resize(40, '\0');
    Put32(bytes, signature);
    Put32(bytes, 0x10000);
    Put32(bytes, total);
    bytes.resize(100, '\0');
    return bytes;
  };
  EXPECT_EQ(EnhancedMetafileSize(emf(1, 88, 0x464D4520, 100)), 100u);
  EXPECT_EQ(EnhancedMetafileSize(emf(1, 88, 0x464D4520, 96)), 96u);
  EXPECT_FALSE(EnhancedMetafileSize(emf(1, 88, 0x464D4520, 101)));  // longer than the file
  EXPECT_FALSE(EnhancedMetafileSize(emf(1, 88, 0x464D4521, 100)));  // no " EMF" signature
  EXPECT_FALSE(EnhancedMetafileSize(emf(2, 88, 0x464D4520, 100)));  // not a header record
  EXPECT_FALSE(EnhancedMetafileSize(emf(1, 40, 0x464D4520, 100)));  // header too short
}

}  // namespace
}  // namespace setup
