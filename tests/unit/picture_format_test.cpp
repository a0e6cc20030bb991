#include "ui/picture_format.h"

#include <gtest/gtest.h>

#include <algorithm>
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
      {"C:\\Package\\logo.bmp", PictureFormat::kBitmap}, {"LOGO.BMP", PictureFormat::kBitmap},
      {"C:\\My.Pictures\\a.Ico", PictureFormat::kIcon},  {"x.wmf", PictureFormat::kMetafile},
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
      {"two of 256 colours, pixels after them",
       Bmp(InfoHeader(3, 1, 8, 0, 0, 2) + std::string(12, 'p'), 0),
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
      {"run lengths of more pixels than a picture has",
       Bmp(InfoHeader(1 << 20, 1 << 10, 8, 1, 10, 1) + std::string(14, 'r'), 58),
       {}},
      {"run lengths top-down", Bmp(InfoHeader(9, -9, 8, 1, 10, 1) + std::string(14, 'r'), 58), {}},
      {"the first 100 bytes of a larger one", Bmp(InfoHeader(8, 8, 24) + std::string(192, 'p'), 54).substr(0, 100), {}},
      {"pixels far past the end", Bmp(InfoHeader(2, 2, 24) + std::string(16, 'p'), 0x7FFFFFF0), {}},
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

// The start of a PNG file: its signature and header chunk.
std::string Png(std::uint32_t width, std::uint32_t height) {
  std::string bytes("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
  for (std::uint32_t value : {width, height}) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>(value >> shift & 0xFF);
  }
  return bytes + std::string("\x08\x06\0\0\0", 5) + "crc." + "rest of a png";
}

TEST(PictureFormatTest, IconTakesItsWidestImageWithTheMostColours) {
  std::string png = Png(48, 48);
  // One bit, but 256 colours counted: where the pixels start depends on the reader.
  std::string colours_beyond_depth = InfoHeader(16, 32, 1, 0, 0, 256) + std::string(1024 + 64 + 64, 'c');
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
      {"image header claiming 0x7FFFFFFF a side",
       Icon({{16, 32, InfoHeader(0x7FFFFFFF, 0x7FFFFFFF, 32) + std::string(2048, 'x')}}), 0, ""},
      {"PNG claiming 0x7FFFFFFF a side", Icon({{48, 32, Png(0x7FFFFFFF, 0x7FFFFFFF)}}), 0, ""},
      {"PNG with no header chunk", Icon({{48, 32, std::string("\x89PNG\r\n\x1a\n", 8) + "rest of a png"}}), 0, ""},
      {"more colours than its depth holds", Icon({{16, 1, colours_beyond_depth}}), 0, ""},
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

// A Windows metafile record: its function, parameters, and the bytes after them (of even length).
std::string WmfRecord(std::uint16_t function, const std::vector<std::uint16_t>& parameters,
                      const std::string& tail = "") {
  std::string bytes;
  Put32(bytes, static_cast<std::uint32_t>(3 + parameters.size() + tail.size() / 2));
  Put16(bytes, function);
  for (std::uint16_t parameter : parameters) Put16(bytes, parameter);
  return bytes + tail;
}

// A plain metafile of the records given and META_EOF, its header counting them.
std::string Wmf(const std::vector<std::string>& records, std::uint32_t objects = 1, std::uint32_t version = 0x300) {
  std::string body;
  std::uint32_t largest = 3;
  for (const std::string& record : records) {
    body += record;
    largest = std::max(largest, static_cast<std::uint32_t>(record.size() / 2));
  }
  body += WmfRecord(0, {});
  std::string bytes;
  for (std::uint32_t value : {1u, 9u, version}) Put16(bytes, value);
  Put32(bytes, static_cast<std::uint32_t>(9 + body.size() / 2));
  Put16(bytes, objects);
  Put32(bytes, largest);
  Put16(bytes, 0);
  return bytes + body;
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

std::string Patched32(std::string bytes, std::size_t offset, std::uint32_t value) {
  std::string field;
  Put32(field, value);
  return bytes.replace(offset, 4, field);
}

TEST(PictureFormatTest, MetafilesAreCheckedAndPlaceableOnesFramed) {
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<int> layout;  // offset, size, placeable, frame width, frame height; empty: refused
  } cases[] = {
      {"plain", Wmf({}), {0, 24, 0, 0, 0}},
      {"plain, version 1", Wmf({}, 1, 0x100) + "trailing", {0, 24, 0, 0, 0}},
      {"placeable", Placeable(1000, 500, 1000) + Wmf({}), {22, 24, 1, 2540, 1270}},
      {"frame rounded to the nearest", Placeable(1, 2, 3) + Wmf({}), {22, 24, 1, 847, 1693}},
      {"wrong checksum", Placeable(1000, 500, 1000, 1) + Wmf({}), {}},
      {"no units", Placeable(1000, 500, 0) + Wmf({}), {}},
      {"longer than the file", Wmf({}).substr(0, 23), {}},
      {"unknown version", Wmf({}, 1, 0x200), {}},
      {"shorter than its header", Patched32(Wmf({}), 6, 8), {}},
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
}

// Little-endian 16-bit words of the bytes given, padded to a whole word.
std::vector<std::uint16_t> Words(std::string bytes) {
  if (bytes.size() % 2) bytes += '\0';
  std::vector<std::uint16_t> words;
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    words.push_back(static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[i]) |
                                               static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return words;
}

std::vector<std::uint16_t> Joined(std::vector<std::uint16_t> a, const std::vector<std::uint16_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<std::uint32_t> Joined32(std::vector<std::uint32_t> a, const std::vector<std::uint32_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(PictureFormatTest, MetafileRecordsMustAddUp) {
  std::string pixel = InfoHeader(1, 1, 24) + "rgb.";
  std::string brush = InfoHeader(8, 8, 1) + std::string(8 + 32, 'p');
  std::uint16_t rop[] = {0x0020, 0x00CC};  // SRCCOPY
  std::vector<std::uint16_t> stretch = {rop[0], rop[1], 1, 1, 0, 0, 10, 10, 0, 0};
  std::vector<std::string> valid = {
      WmfRecord(0x020C, {100, 100}),                                                      // META_SETWINDOWEXT
      WmfRecord(0x02FC, {0, 0xFF, 0, 0}),                                                 // META_CREATEBRUSHINDIRECT
      WmfRecord(0x012D, {0}),                                                             // META_SELECTOBJECT
      WmfRecord(0x0324, {3, 0, 0, 10, 0, 0, 10}),                                         // META_POLYGON
      WmfRecord(0x0538, {2, 3, 2, 0, 0, 9, 0, 0, 9, 1, 1, 5, 5}),                         // META_POLYPOLYGON
      WmfRecord(0x0521, Joined({3}, Joined(Words("abc"), {5, 5}))),                       // META_TEXTOUT
      WmfRecord(0x0A32, Joined({5, 5, 2, 0}, Joined(Words("ab"), {7, 7}))),               // META_EXTTEXTOUT, advances
      WmfRecord(0x0A32, Joined({5, 5, 1, 2, 0, 0, 9, 9}, Words("a"))),                    // opaque, no advances
      WmfRecord(0x0B41, stretch, pixel),                                                  // META_DIBSTRETCHBLT
      WmfRecord(0x0940, {rop[0], rop[1], 0, 0, 0, 10, 10, 0, 0}),                         // META_DIBBITBLT, no bitmap
      WmfRecord(0x0F43, Joined({rop[0], rop[1], 0}, {1, 1, 0, 0, 10, 10, 0, 0}), pixel),  // META_STRETCHDIB
      WmfRecord(0x0D33, {0, 1, 0, 0, 0, 2, 1, 0, 0}, InfoHeader(1, 2, 24) + "rgb."),      // META_SETDIBTODEV, 1 scan
      WmfRecord(0x0142, {5, 0}, brush),                                                   // META_DIBCREATEPATTERNBRUSH
      WmfRecord(0x00F7, {0x300, 1, 0, 0}),                                                // META_CREATEPALETTE
      WmfRecord(0x0626, Joined({15, 3}, Words("abc"))),                                   // META_ESCAPE
      WmfRecord(0x01F0, {0}),                                                             // META_DELETEOBJECT
  };
  struct Case {
    const char* what;
    std::string bytes;
    bool taken;
  } cases[] = {
      {"every kind checked", Wmf(valid), true},
      {"polygon of more points than it holds", Wmf({WmfRecord(0x0324, {4, 0, 0, 10, 0, 0, 10})}), false},
      {"polygons counting more points than there are",
       Wmf({WmfRecord(0x0538, {2, 3, 3, 0, 0, 9, 0, 0, 9, 1, 1, 5, 5})}), false},
      {"polygon count read as negative",
       Wmf({WmfRecord(0x0538, Joined({1, 0x8000}, std::vector<std::uint16_t>(0x10000)))}), false},
      {"text longer than its record", Wmf({WmfRecord(0x0521, Joined({9}, Joined(Words("abc"), {5, 5})))}), false},
      {"advances cut short", Wmf({WmfRecord(0x0A32, Joined({5, 5, 2, 0}, Joined(Words("ab"), {7})))}), false},
      {"bitmap rows beyond its pixels", Wmf({WmfRecord(0x0B41, stretch, InfoHeader(1, 2, 24) + "rgb.")}), false},
      {"bitmap header beyond the record", Wmf({WmfRecord(0x0B41, stretch, pixel.substr(0, 20))}), false},
      {"stretch without a bitmap", Wmf({WmfRecord(0x0B41, Joined(stretch, {0}))}), false},
      {"scans beyond the pixels", Wmf({WmfRecord(0x0D33, {0, 2, 0, 0, 0, 2, 1, 0, 0}, InfoHeader(1, 2, 24) + "rgb.")}),
       false},
      {"palette longer than its record", Wmf({WmfRecord(0x00F7, {0x300, 2, 0, 0})}), false},
      {"escape longer than its record", Wmf({WmfRecord(0x0626, Joined({15, 9}, Words("abc")))}), false},
      {"object beyond the table", Wmf({WmfRecord(0x012D, {1})}), false},
      {"deleting beyond the table", Wmf({WmfRecord(0x01F0, {5})}), false},
      {"record missing its parameters", Wmf({WmfRecord(0x020C, {100})}), false},
      {"record of no size", Wmf({Patched32(WmfRecord(0x020C, {100, 100}), 0, 0)}), false},
      {"record beyond the metafile", Wmf({Patched32(WmfRecord(0x020C, {100, 100}), 0, 1000)}), false},
      {"record after the end", Wmf({WmfRecord(0, {}), WmfRecord(0x020C, {100, 100})}), false},
      {"end record with parameters", Patched32(Patched32(Wmf({}).substr(0, 18), 6, 13), 12, 4) + WmfRecord(0, {0}),
       false},
      {"largest record understated", Patched32(Wmf(valid), 12, 6), false},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadMetafileLayout(c.bytes).has_value(), c.taken) << c.what;
}

// An enhanced metafile record: its type, 32-bit fields, and the bytes after them, padded to whole 32-bit words.
std::string EmfRecord(std::uint32_t type, const std::vector<std::uint32_t>& fields, std::string tail = "") {
  tail.resize((tail.size() + 3) / 4 * 4, '\0');
  std::string bytes;
  Put32(bytes, type);
  Put32(bytes, static_cast<std::uint32_t>(8 + fields.size() * 4 + tail.size()));
  for (std::uint32_t field : fields) Put32(bytes, field);
  return bytes + tail;
}

// An enhanced metafile: an 88-byte header, the records given and EMR_EOF.
std::string Emf(const std::vector<std::string>& records, std::uint32_t handles = 2) {
  std::string body;
  for (const std::string& record : records) body += record;
  body += EmfRecord(14, {0, 16, 20});
  std::uint32_t total = static_cast<std::uint32_t>(88 + body.size());
  std::uint32_t count = static_cast<std::uint32_t>(records.size() + 2);
  return EmfRecord(1, {0,     0,     0,       0, 0, 0, 1000, 1000, 0x464D4520, 0x10000,
                       total, count, handles, 0, 0, 0, 1024, 768,  320,        240}) +
         body;
}

TEST(PictureFormatTest, EnhancedMetafileRecordsMustAddUp) {
  std::vector<std::uint32_t> bounds(4);
  auto with_bounds = [&](std::vector<std::uint32_t> fields) { return Joined32(bounds, fields); };
  // EMR_EXTTEXTOUTW: bounds, graphics mode, scales, then EMRTEXT with its string at 76 and advances at 80.
  auto text = [&](std::uint32_t characters, std::uint32_t advances_at) {
    return EmfRecord(84, with_bounds({1, 0, 0, 5, 5, characters, 76, 0, 0, 0, 9, 9, advances_at}),
                     std::string("a\0b\0", 4) + std::string(8, '\1'));
  };
  // EMR_STRETCHDIBITS: its header at 80 and pixels after it.
  auto stretch = [&](const std::string& header, std::uint32_t header_at, std::uint32_t pixels) {
    return EmfRecord(81,
                     with_bounds({0, 0, 0, 0, 1, 1, header_at, static_cast<std::uint32_t>(header.size()),
                                  static_cast<std::uint32_t>(80 + header.size()), pixels, 0, 0x00CC0020, 10, 10}),
                     header + std::string(pixels, 'p'));
  };
  std::string pen = EmfRecord(95, {1, 0, 0, 0, 0, 0x10007, 1, 0, 0, 0, 2, 3, 1});  // PS_USERSTYLE, two entries
  std::vector<std::string> valid = {
      EmfRecord(9, {100, 100}),                                                   // EMR_SETWINDOWEXTEX
      EmfRecord(39, {1, 0, 0xFF, 0}),                                             // EMR_CREATEBRUSHINDIRECT
      EmfRecord(37, {1}),                                                         // EMR_SELECTOBJECT
      EmfRecord(37, {0x80000005}),                                                // ... a stock object
      EmfRecord(4, with_bounds({2, 0, 0, 10, 10})),                               // EMR_POLYLINE
      EmfRecord(87, with_bounds({2, 0, 0x000A000A})),                             // EMR_POLYLINE16
      EmfRecord(91, with_bounds({2, 5, 3, 2, 0, 9, 0x00090000, 0, 0x00050005})),  // EMR_POLYPOLYGON16
      EmfRecord(92, with_bounds({2, 0, 0x000A000A}), "\6\2"),                     // EMR_POLYDRAW16
      text(2, 80),
      text(2, 0),
      stretch(InfoHeader(1, 1, 24), 80, 4),
      EmfRecord(70, {4}, "abcd"),  // EMR_GDICOMMENT
      EmfRecord(40, {1}),          // EMR_DELETEOBJECT
      pen,
  };
  std::string good = Emf(valid);
  std::size_t end = good.size() - 20;
  struct Case {
    const char* what;
    std::string bytes;
    bool taken;
  } cases[] = {
      {"every kind checked", good, true},
      {"polyline of 0x40000000 points", Emf({EmfRecord(4, with_bounds({0x40000000, 0, 0, 10, 10}))}), false},
      {"record of size 0", Emf({Patched32(EmfRecord(9, {100, 100}), 4, 0)}), false},
      {"record size not whole 32-bit words", Emf({Patched32(EmfRecord(70, {6}, "abcdef"), 4, 18).substr(0, 18)}),
       false},
      {"record beyond the metafile", Emf({Patched32(EmfRecord(9, {100, 100}), 4, 0x1000)}), false},
      {"record shorter than its fields", Emf({EmfRecord(9, {})}), false},
      {"unknown record type", Emf({EmfRecord(123, {})}), false},
      {"record type 0", Emf({EmfRecord(0, {})}), false},
      {"second header", Emf({EmfRecord(1, std::vector<std::uint32_t>(20))}), false},
      {"record after the end", Emf({EmfRecord(14, {0, 16, 20}), EmfRecord(9, {100, 100})}), false},
      {"no end record", Patched32(good.substr(0, end), 48, static_cast<std::uint32_t>(end)), false},
      {"end record's closing size wrong", Patched32(good, good.size() - 4, 16), false},
      {"longer than the file", good.substr(0, good.size() - 4), false},
      {"record count wrong", Patched32(good, 52, static_cast<std::uint32_t>(valid.size() + 3)), false},
      {"no object table", Emf({}, 0), false},
      {"description beyond the header", Patched32(Patched32(good, 60, 4), 64, 88), false},
      {"polygons counting more points than there are",
       Emf({EmfRecord(91, with_bounds({2, 4, 3, 2, 0, 9, 0x00090000, 0}))}), false},
      {"point types missing", Emf({EmfRecord(92, with_bounds({2, 0, 0x000A000A}))}), false},
      {"text beyond the record", Emf({text(9, 80)}), false},
      {"advances beyond the record", Emf({text(2, 84)}), false},
      {"bitmap header beyond the record", Emf({stretch(InfoHeader(1, 1, 24), 88, 4)}), false},
      {"bitmap rows beyond its pixels", Emf({stretch(InfoHeader(1, 3, 24), 80, 4)}), false},
      {"stretch without a bitmap", Emf({stretch("", 0, 4)}), false},
      {"object beyond the table", Emf({EmfRecord(37, {2})}), false},
      {"deleting a stock object", Emf({EmfRecord(40, {0x80000005})}), false},
      {"comment longer than its record", Emf({EmfRecord(70, {8}, "abcd")}), false},
      {"pen style beyond the record", Emf({Patched32(pen, 48, 3)}), false},
      {"monochrome brush of 8 bits",
       Emf({EmfRecord(93, {1, 0, 32, 44, 76, 4}, InfoHeader(1, 1, 8, 0, 0, 1) + "c...p...")}), false},
  };
  for (const Case& c : cases) EXPECT_EQ(EnhancedMetafileSize(c.bytes).has_value(), c.taken) << c.what;
  EXPECT_EQ(EnhancedMetafileSize(good + "trailing"), good.size());
}

}  // namespace
}  // namespace setup
