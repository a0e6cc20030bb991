// Windows metafiles, plain and placeable: the system converts them by playing
// every record as it stands, so each is checked here first.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

#include "ui/picture_format.h"
#include "ui/picture_format_internal.h"

namespace setup {
namespace {

using picture::DoubleWord;
using picture::Fits;
using picture::Word;

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableHeaderSize = 22;
constexpr std::size_t kMetaHeaderSize = 18;   // METAHEADER as stored: nine 16-bit words
constexpr std::size_t kRecordHeaderSize = 6;  // rdSize in words, then rdFunction

enum Function : std::uint16_t {
  kEof = 0x0000,
  kSelectClipRegion = 0x012C,
  kInvertRegion = 0x012A,
  kPaintRegion = 0x012B,
  kSelectObject = 0x012D,
  kDeleteObject = 0x01F0,
  kSelectPalette = 0x0234,
  kFillRegion = 0x0228,
  kFrameRegion = 0x0429,
  kPolygon = 0x0324,
  kPolyline = 0x0325,
  kPolyPolygon = 0x0538,
  kTextOut = 0x0521,
  kExtTextOut = 0x0A32,
  kDibBitBlt = 0x0940,
  kDibStretchBlt = 0x0B41,
  kStretchDib = 0x0F43,
  kSetDibToDevice = 0x0D33,
  kDibCreatePatternBrush = 0x0142,
  kCreatePalette = 0x00F7,
  kSetPaletteEntries = 0x0037,
  kAnimatePalette = 0x0436,
  kEscape = 0x0626,
};

// The parameters (16-bit words after the record header) of the records the
// system reads a fixed number of; a shorter record would have them read from
// the next. The records not listed are checked below or need only their header.
struct FixedParameters {
  std::uint16_t function;
  std::uint16_t words;
};
constexpr FixedParameters kFixedParameters[] = {
    {0x0201, 2},  // META_SETBKCOLOR
    {0x0102, 1},  // META_SETBKMODE
    {0x0103, 1},  // META_SETMAPMODE
    {0x0104, 1},  // META_SETROP2
    {0x0106, 1},  // META_SETPOLYFILLMODE
    {0x0107, 1},  // META_SETSTRETCHBLTMODE
    {0x0108, 1},  // META_SETTEXTCHAREXTRA
    {0x0209, 2},  // META_SETTEXTCOLOR
    {0x020A, 2},  // META_SETTEXTJUSTIFICATION
    {0x020B, 2},  // META_SETWINDOWORG
    {0x020C, 2},  // META_SETWINDOWEXT
    {0x020D, 2},  // META_SETVIEWPORTORG
    {0x020E, 2},  // META_SETVIEWPORTEXT
    {0x020F, 2},  // META_OFFSETWINDOWORG
    {0x0410, 4},  // META_SCALEWINDOWEXT
    {0x0211, 2},  // META_OFFSETVIEWPORTORG
    {0x0412, 4},  // META_SCALEVIEWPORTEXT
    {0x0213, 2},  // META_LINETO
    {0x0214, 2},  // META_MOVETO
    {0x0415, 4},  // META_EXCLUDECLIPRECT
    {0x0416, 4},  // META_INTERSECTCLIPRECT
    {0x0817, 8},  // META_ARC
    {0x0418, 4},  // META_ELLIPSE
    {0x081A, 8},  // META_PIE
    {0x041B, 4},  // META_RECTANGLE
    {0x061C, 6},  // META_ROUNDRECT
    {0x061D, 6},  // META_PATBLT
    {0x041F, 4},  // META_SETPIXEL
    {0x0220, 2},  // META_OFFSETCLIPRGN
    {0x0830, 8},  // META_CHORD
    {0x0231, 2},  // META_SETMAPPERFLAGS
    {0x0127, 1},  // META_RESTOREDC
    {0x012E, 1},  // META_SETTEXTALIGN
    {0x0548, 5},  // META_EXTFLOODFILL
    {0x0139, 1},  // META_RESIZEPALETTE
    {0x02FA, 5},  // META_CREATEPENINDIRECT: LOGPEN16
    {0x02FC, 4},  // META_CREATEBRUSHINDIRECT: LOGBRUSH16
    {0x02FB, 9},  // META_CREATEFONTINDIRECT: LOGFONT16 before its face name
    {kSelectClipRegion, 1},
    {kInvertRegion, 1},
    {kPaintRegion, 1},
    {kSelectObject, 1},
    {kDeleteObject, 1},
    {kSelectPalette, 1},
    {kFillRegion, 2},
    {kFrameRegion, 4},
    {kPolygon, 1},
    {kPolyline, 1},
    {kPolyPolygon, 1},
    {kTextOut, 1},
    {kExtTextOut, 4},
    {kDibBitBlt, 9},
    {kDibStretchBlt, 10},
    {kStretchDib, 11},
    {kSetDibToDevice, 9},
    {kDibCreatePatternBrush, 2},
    {kCreatePalette, 2},
    {kSetPaletteEntries, 2},
    {kAnimatePalette, 2},
    {kEscape, 2},
};
static_assert(std::size(kFixedParameters) == 60);

std::uint16_t FixedParametersOf(std::uint16_t function) {
  for (const FixedParameters& fixed : kFixedParameters) {
    if (fixed.function == function) return fixed.words;
  }
  return 0;
}

// One record: its parameters are the 16-bit words after its header.
struct Record {
  std::string_view bytes;
  std::uint64_t parameters() const { return (bytes.size() - kRecordHeaderSize) / 2; }
  std::uint16_t operator[](std::size_t i) const { return Word(bytes, kRecordHeaderSize + i * 2); }
};

// The bitmap that fills the record from parameter `first` on: the player finds
// its pixels right after its colours, and draws `scans` rows of them.
bool BitmapFits(Record record, std::size_t first, std::uint32_t colours, std::uint64_t scans = ~0ull) {
  std::string_view dib_bytes = record.bytes.substr(kRecordHeaderSize + first * 2);
  std::optional<picture::Dib> dib = picture::ReadDib(dib_bytes, picture::DibUse::kPacked, colours);
  if (!dib) return false;
  std::uint64_t needed = dib->stride != 0 ? dib->stride * std::min(scans, dib->rows) : dib->bits_size;
  return Fits(dib_bytes, dib->info_size, needed);
}

// Words a string of `bytes` characters takes: padded to a whole word.
std::uint64_t StringWords(std::uint64_t bytes) { return (bytes + 1) / 2; }

// The checks of the records whose counts or object indices the system trusts;
// the record has its fixed parameters.
bool RecordAddsUp(Record record, std::uint16_t function, std::uint32_t objects) {
  std::uint64_t parameters = record.parameters();
  switch (function) {
    case kPolygon:
    case kPolyline: return 1 + std::uint64_t{record[0]} * 2 <= parameters;
    case kPolyPolygon: {
      std::uint64_t polygons = record[0];
      if (1 + polygons > parameters) return false;
      std::uint64_t points = 0;
      for (std::size_t i = 1; i <= polygons; ++i) {
        // Players read the counts as signed.
        if (record[i] > 0x7FFF) return false;
        points += record[i];
      }
      return 1 + polygons + points * 2 <= parameters;
    }
    case kTextOut:  // the string, then where it starts
      return 1 + StringWords(record[0]) + 2 <= parameters;
    case kExtTextOut: {
      constexpr std::uint16_t kRectangle = 0x0006;  // ETO_OPAQUE | ETO_CLIPPED
      std::uint64_t characters = record[2];
      std::uint64_t words = 4 + ((record[3] & kRectangle) ? 4 : 0) + StringWords(characters);
      // Whatever follows the string is taken for its advances.
      return words == parameters || words + characters <= parameters;
    }
    case kDibBitBlt:  // nine parameters and no bitmap draw a pattern
      return parameters == 9 || BitmapFits(record, 8, picture::kRgbColours);
    case kDibStretchBlt: return BitmapFits(record, 10, picture::kRgbColours);
    case kStretchDib: return BitmapFits(record, 11, record[2]);
    case kSetDibToDevice: return BitmapFits(record, 9, record[0], record[1]);
    case kDibCreatePatternBrush: return BitmapFits(record, 2, record[1]);
    case kCreatePalette:
    case kSetPaletteEntries:
    case kAnimatePalette: return 2 + std::uint64_t{record[1]} * 2 <= parameters;
    case kEscape: return 2 + StringWords(record[1]) <= parameters;
    case kSelectClipRegion:
    case kInvertRegion:
    case kPaintRegion:
    case kSelectObject:
    case kDeleteObject:
    case kSelectPalette: return record[0] < objects;
    case kFillRegion:
    case kFrameRegion: return record[0] < objects && record[1] < objects;
    default: return true;
  }
}

// Every record from the header on: whole, no larger than the header says the
// largest is, and the last the META_EOF that ends the metafile.
bool RecordsAddUp(std::string_view metafile) {
  std::uint32_t objects = Word(metafile, 10);
  std::uint32_t largest = DoubleWord(metafile, 12);
  std::size_t offset = kMetaHeaderSize;
  while (Fits(metafile, offset, kRecordHeaderSize)) {
    std::uint64_t size = std::uint64_t{DoubleWord(metafile, offset)} * 2;
    std::uint16_t function = Word(metafile, offset + 4);
    if (size < kRecordHeaderSize || size / 2 > largest || !Fits(metafile, offset, size)) return false;
    Record record{metafile.substr(offset, static_cast<std::size_t>(size))};
    if (function == kEof) return size == kRecordHeaderSize && offset + size == metafile.size();
    if (record.parameters() < FixedParametersOf(function) || !RecordAddsUp(record, function, objects)) return false;
    offset += static_cast<std::size_t>(size);
  }
  return false;
}

}  // namespace

std::optional<MetafileLayout> ReadMetafileLayout(std::string_view bytes) {
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
      size < kMetaHeaderSize || !Fits(bytes, layout.offset, size) ||
      !RecordsAddUp(bytes.substr(layout.offset, static_cast<std::size_t>(size)))) {
    return std::nullopt;
  }
  layout.size = static_cast<std::size_t>(size);
  return layout;
}

}  // namespace setup
