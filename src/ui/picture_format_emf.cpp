// Enhanced metafiles: the system plays every record as it stands, trusting
// its sizes, counts and offsets, so each is checked here first.

#include <algorithm>
#include <array>
#include <cstdint>

#include "ui/picture_format.h"
#include "ui/picture_format_internal.h"

namespace setup {
namespace {

using picture::DibUse;
using picture::DoubleWord;
using picture::Fits;

constexpr std::uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kHeaderSize = 88;         // ENHMETAHEADER up to szlMillimeters
constexpr std::uint32_t kPixelFormatEnd = 100;    // ... with cbPixelFormat, offPixelFormat, bOpenGL
constexpr std::uint32_t kLastRecordType = 122;    // EMR_CREATECOLORSPACEW
constexpr std::uint32_t kStockObject = 0x80000000;

enum Record : std::uint32_t {
  kHeader = 1,
  kPolyBezier = 2,
  kPolygon = 3,
  kPolyline = 4,
  kPolyBezierTo = 5,
  kPolylineTo = 6,
  kPolyPolyline = 7,
  kPolyPolygon = 8,
  kEof = 14,
  kSelectObject = 37,
  kCreatePen = 38,
  kCreateBrushIndirect = 39,
  kDeleteObject = 40,
  kSelectPalette = 48,
  kCreatePalette = 49,
  kSetPaletteEntries = 50,
  kResizePalette = 51,
  kPolyDraw = 56,
  kGdiComment = 70,
  kFillRgn = 71,
  kFrameRgn = 72,
  kInvertRgn = 73,
  kPaintRgn = 74,
  kExtSelectClipRgn = 75,
  kBitBlt = 76,
  kStretchBlt = 77,
  kMaskBlt = 78,
  kPlgBlt = 79,
  kSetDiBitsToDevice = 80,
  kStretchDiBits = 81,
  kExtCreateFontIndirectW = 82,
  kExtTextOutA = 83,
  kExtTextOutW = 84,
  kPolyBezier16 = 85,
  kPolygon16 = 86,
  kPolyline16 = 87,
  kPolyBezierTo16 = 88,
  kPolylineTo16 = 89,
  kPolyPolyline16 = 90,
  kPolyPolygon16 = 91,
  kPolyDraw16 = 92,
  kCreateMonoBrush = 93,
  kCreateDibPatternBrushPt = 94,
  kExtCreatePen = 95,
  kPolyTextOutA = 96,
  kPolyTextOutW = 97,
  kCreateColorSpace = 99,
  kSetColorSpace = 100,
  kDeleteColorSpace = 101,
  kAlphaBlend = 114,
  kTransparentBlt = 116,
  kGradientFill = 118,
  kCreateColorSpaceW = 122,
};

// The fixed part of the records the system reads fields of: a record shorter
// than that would have them read from the next. Records not listed need only
// their own type and size.
struct FixedSize {
  std::uint32_t type;
  std::uint32_t size;
};
constexpr FixedSize kFixedSizes[] = {
    {kHeader, kHeaderSize},
    {kPolyBezier, 28},  // EMRPOLYLINE with no points; the same for the next four
    {kPolygon, 28},
    {kPolyline, 28},
    {kPolyBezierTo, 28},
    {kPolylineTo, 28},
    {kPolyPolyline, 32},  // EMRPOLYPOLYLINE with no polygons
    {kPolyPolygon, 32},
    {9, 16},   // EMR_SETWINDOWEXTEX
    {10, 16},  // EMR_SETWINDOWORGEX
    {11, 16},  // EMR_SETVIEWPORTEXTEX
    {12, 16},  // EMR_SETVIEWPORTORGEX
    {13, 16},  // EMR_SETBRUSHORGEX
    {kEof, 20},
    {15, 20},  // EMR_SETPIXELV
    {16, 12},  // EMR_SETMAPPERFLAGS
    {17, 12},  // EMR_SETMAPMODE
    {18, 12},  // EMR_SETBKMODE
    {19, 12},  // EMR_SETPOLYFILLMODE
    {20, 12},  // EMR_SETROP2
    {21, 12},  // EMR_SETSTRETCHBLTMODE
    {22, 12},  // EMR_SETTEXTALIGN
    {23, 32},  // EMR_SETCOLORADJUSTMENT
    {24, 12},  // EMR_SETTEXTCOLOR
    {25, 12},  // EMR_SETBKCOLOR
    {26, 16},  // EMR_OFFSETCLIPRGN
    {27, 16},  // EMR_MOVETOEX
    {29, 24},  // EMR_EXCLUDECLIPRECT
    {30, 24},  // EMR_INTERSECTCLIPRECT
    {31, 24},  // EMR_SCALEVIEWPORTEXTEX
    {32, 24},  // EMR_SCALEWINDOWEXTEX
    {34, 12},  // EMR_RESTOREDC
    {35, 32},  // EMR_SETWORLDTRANSFORM
    {36, 36},  // EMR_MODIFYWORLDTRANSFORM
    {kSelectObject, 12},
    {kCreatePen, 28},
    {kCreateBrushIndirect, 24},
    {kDeleteObject, 12},
    {41, 28},  // EMR_ANGLEARC
    {42, 24},  // EMR_ELLIPSE
    {43, 24},  // EMR_RECTANGLE
    {44, 32},  // EMR_ROUNDRECT
    {45, 40},  // EMR_ARC
    {46, 40},  // EMR_CHORD
    {47, 40},  // EMR_PIE
    {kSelectPalette, 12},
    {kCreatePalette, 16},
    {kSetPaletteEntries, 20},
    {kResizePalette, 16},
    {53, 24},  // EMR_EXTFLOODFILL
    {54, 16},  // EMR_LINETO
    {55, 40},  // EMR_ARCTO
    {kPolyDraw, 28},
    {57, 12},  // EMR_SETARCDIRECTION
    {58, 12},  // EMR_SETMITERLIMIT
    {62, 24},  // EMR_FILLPATH
    {63, 24},  // EMR_STROKEANDFILLPATH
    {64, 24},  // EMR_STROKEPATH
    {67, 12},  // EMR_SELECTCLIPPATH
    {kGdiComment, 12},
    {kFillRgn, 32},
    {kFrameRgn, 40},
    {kInvertRgn, 28},
    {kPaintRgn, 28},
    {kExtSelectClipRgn, 16},
    {kBitBlt, 100},
    {kStretchBlt, 108},
    {kMaskBlt, 128},
    {kPlgBlt, 140},
    {kSetDiBitsToDevice, 76},
    {kStretchDiBits, 80},
    {kExtCreateFontIndirectW, 104},  // the index and a LOGFONTW
    {kExtTextOutA, 76},
    {kExtTextOutW, 76},
    {kPolyBezier16, 28},
    {kPolygon16, 28},
    {kPolyline16, 28},
    {kPolyBezierTo16, 28},
    {kPolylineTo16, 28},
    {kPolyPolyline16, 32},
    {kPolyPolygon16, 32},
    {kPolyDraw16, 28},
    {kCreateMonoBrush, 32},
    {kCreateDibPatternBrushPt, 32},
    {kExtCreatePen, 52},  // the bitmap fields and an EXTLOGPEN with no style entries
    {kPolyTextOutA, 40},
    {kPolyTextOutW, 40},
    {98, 12},                  // EMR_SETICMMODE
    {kCreateColorSpace, 340},  // the index and a LOGCOLORSPACEA
    {kSetColorSpace, 12},
    {kDeleteColorSpace, 12},
    {kAlphaBlend, 108},
    {115, 12},  // EMR_SETLAYOUT
    {kTransparentBlt, 108},
    {kGradientFill, 36},
    {kCreateColorSpaceW, 608},  // the index, a LOGCOLORSPACEW, dwFlags and cbData
};
static_assert(std::size(kFixedSizes) == 96);

constexpr std::array<std::uint32_t, kLastRecordType + 1> kFixedSizeOf = [] {
  std::array<std::uint32_t, kLastRecordType + 1> sizes{};
  sizes.fill(8);
  for (const FixedSize& fixed : kFixedSizes) sizes[fixed.type] = fixed.size;
  return sizes;
}();

// An object index into the table of `handles` the header gives; index 0
// stands for the metafile itself. Only selecting may name a stock object.
enum class Index { kCreated, kUsed, kSelected };
bool IndexFits(std::uint32_t index, std::uint32_t handles, Index kind) {
  if (kind == Index::kSelected && (index & kStockObject)) return true;
  return index >= 1 && index < handles;
}

// A run of points with `count` at `count_at` and the points from `points_at`.
bool PointsFit(std::string_view record, std::size_t count_at, std::size_t points_at, std::uint64_t point_size) {
  return Fits(record, points_at, DoubleWord(record, count_at) * point_size);
}

// EMRPOLYPOLYLINE and its kin: polygon counts, then the points they share out.
bool PolyPolygonsFit(std::string_view record, std::uint64_t point_size) {
  std::uint64_t polygons = DoubleWord(record, 24), points = DoubleWord(record, 28);
  if (!Fits(record, 32, polygons * 4 + points * point_size)) return false;
  std::uint64_t counted = 0;
  for (std::uint64_t i = 0; i < polygons; ++i) counted += DoubleWord(record, 32 + static_cast<std::size_t>(i) * 4);
  return counted <= points;
}

// An EMRTEXT at `at`: its characters and, where given, their advances.
bool TextFits(std::string_view record, std::size_t at, bool wide, bool advances_always) {
  constexpr std::uint32_t kGlyphIndices = 0x0010, kVerticalAdvances = 0x2000;  // ETO_GLYPH_INDEX, ETO_PDY
  if (!Fits(record, at, 40)) return false;
  std::uint64_t characters = DoubleWord(record, at + 8);
  std::uint32_t string_at = DoubleWord(record, at + 12), options = DoubleWord(record, at + 16);
  std::uint32_t advances_at = DoubleWord(record, at + 36);
  // Glyph indices are 16 bits even in the 8-bit record.
  std::uint64_t unit = wide || (options & kGlyphIndices) ? 2 : 1;
  if (!Fits(record, string_at, characters * unit)) return false;
  if (advances_at == 0 && !advances_always) return true;
  return Fits(record, advances_at, characters * ((options & kVerticalAdvances) ? 8 : 4));
}

// RGNDATA of `size` bytes at `at`: a header, then as many rectangles as it counts.
bool RegionFits(std::string_view record, std::size_t at, std::uint32_t size) {
  constexpr std::uint32_t kRegionHeaderSize = 32;  // RGNDATAHEADER
  if (size < kRegionHeaderSize || !Fits(record, at, size)) return false;
  std::uint64_t header = DoubleWord(record, at), rectangles = DoubleWord(record, at + 8);
  return header >= kRegionHeaderSize && header + rectangles * 16 <= size;
}

// Where a record names the bitmap it carries: the colour use (0 where the
// record has none, as the colours are then RGB) and offBmi, cbBmi, offBits and
// cbBits one after another.
struct BitmapFields {
  std::size_t colours_at;
  std::size_t fields_at;
};
enum class Bitmap { kOptional, kRequired, kMonochrome };

// The bitmap a record carries: its header and colours, and its pixels, lie in
// the record, and the pixels are as many as the header says (for `scans` rows
// where fewer are drawn). Some players copy all the pixels given into a
// bitmap of the header's size, so `exact` ones may not be more.
bool BitmapFits(std::string_view record, BitmapFields where, Bitmap need, DibUse use, std::uint64_t scans = ~0ull,
                bool exact = false) {
  std::uint32_t info_at = DoubleWord(record, where.fields_at), info_size = DoubleWord(record, where.fields_at + 4);
  std::uint32_t bits_at = DoubleWord(record, where.fields_at + 8), bits_size = DoubleWord(record, where.fields_at + 12);
  if (!Fits(record, bits_at, bits_size)) return false;
  if (info_at == 0 && info_size == 0) return need == Bitmap::kOptional;
  if (!Fits(record, info_at, info_size)) return false;
  std::uint32_t colours = where.colours_at == 0 ? picture::kRgbColours : DoubleWord(record, where.colours_at);
  std::optional<picture::Dib> dib = picture::ReadDib(record.substr(info_at, info_size), use, colours);
  if (!dib || (need == Bitmap::kMonochrome && dib->bit_count != 1)) return false;
  std::uint64_t needed = dib->stride != 0 ? dib->stride * std::min(scans, dib->rows) : dib->bits_size;
  return needed <= bits_size && (!exact || needed == bits_size);
}

// The checks of the records whose counts, offsets or object indices the
// system trusts; the generic ones (size, type, place) are done already.
bool RecordAddsUp(std::string_view record, std::uint32_t type, std::uint32_t handles) {
  auto index = [&](std::size_t at, Index kind) { return IndexFits(DoubleWord(record, at), handles, kind); };
  switch (type) {
    case kPolyBezier:
    case kPolygon:
    case kPolyline:
    case kPolyBezierTo:
    case kPolylineTo: return PointsFit(record, 24, 28, 8);
    case kPolyBezier16:
    case kPolygon16:
    case kPolyline16:
    case kPolyBezierTo16:
    case kPolylineTo16: return PointsFit(record, 24, 28, 4);
    case kPolyPolyline:
    case kPolyPolygon: return PolyPolygonsFit(record, 8);
    case kPolyPolyline16:
    case kPolyPolygon16: return PolyPolygonsFit(record, 4);
    case kPolyDraw:  // points, then a type byte for each
      return PointsFit(record, 24, 28, 8 + 1);
    case kPolyDraw16: return PointsFit(record, 24, 28, 4 + 1);
    case kGdiComment: return Fits(record, 12, DoubleWord(record, 8));
    case kExtTextOutA:
    case kExtTextOutW: return TextFits(record, 36, type == kExtTextOutW, false);
    case kPolyTextOutA:
    case kPolyTextOutW: {
      std::uint64_t strings = DoubleWord(record, 36);
      if (!Fits(record, 40, strings * 40)) return false;
      for (std::uint64_t i = 0; i < strings; ++i) {
        if (!TextFits(record, 40 + static_cast<std::size_t>(i) * 40, type == kPolyTextOutW, true)) return false;
      }
      return true;
    }
    case kBitBlt:
    case kStretchBlt: return BitmapFits(record, {80, 84}, Bitmap::kOptional, DibUse::kApart);
    case kAlphaBlend:
    case kTransparentBlt: return BitmapFits(record, {80, 84}, Bitmap::kOptional, DibUse::kApart, ~0ull, true);
    case kMaskBlt:
      return BitmapFits(record, {80, 84}, Bitmap::kOptional, DibUse::kApart) &&
             BitmapFits(record, {108, 112}, Bitmap::kOptional, DibUse::kApart);
    case kPlgBlt:
      return BitmapFits(record, {92, 96}, Bitmap::kOptional, DibUse::kApart) &&
             BitmapFits(record, {120, 124}, Bitmap::kOptional, DibUse::kApart);
    case kSetDiBitsToDevice:  // draws cScans rows
      return BitmapFits(record, {64, 48}, Bitmap::kRequired, DibUse::kApart, DoubleWord(record, 72));
    case kStretchDiBits: return BitmapFits(record, {64, 48}, Bitmap::kRequired, DibUse::kApart);
    case kCreateMonoBrush:
      return index(8, Index::kCreated) && BitmapFits(record, {12, 16}, Bitmap::kMonochrome, DibUse::kApart);
    case kCreateDibPatternBrushPt:
      return index(8, Index::kCreated) && BitmapFits(record, {12, 16}, Bitmap::kRequired, DibUse::kPacked);
    case kExtCreatePen:
      return index(8, Index::kCreated) && BitmapFits(record, {0, 12}, Bitmap::kOptional, DibUse::kPacked) &&
             PointsFit(record, 48, 52, 4);
    case kCreatePalette:  // LOGPALETTE: version and count are 16 bits
      return index(8, Index::kCreated) && Fits(record, 16, std::uint64_t{picture::Word(record, 14)} * 4);
    case kSetPaletteEntries: return index(8, Index::kUsed) && PointsFit(record, 16, 20, 4);
    case kResizePalette:
    case kSetColorSpace:
    case kDeleteColorSpace:
    case kDeleteObject: return index(8, Index::kUsed);
    case kSelectObject:
    case kSelectPalette: return index(8, Index::kSelected);
    case kCreatePen:
    case kCreateBrushIndirect:
    case kExtCreateFontIndirectW:
    case kCreateColorSpace: return index(8, Index::kCreated);
    case kCreateColorSpaceW: return index(8, Index::kCreated) && Fits(record, 608, DoubleWord(record, 604));
    case kFillRgn: return index(28, Index::kUsed) && RegionFits(record, 32, DoubleWord(record, 24));
    case kFrameRgn: return index(28, Index::kUsed) && RegionFits(record, 40, DoubleWord(record, 24));
    case kInvertRgn:
    case kPaintRgn: return RegionFits(record, 28, DoubleWord(record, 24));
    case kExtSelectClipRgn: {
      // With no region data the clip region is reset; a player may still
      // read a region from whatever follows, so nothing may.
      std::uint32_t size = DoubleWord(record, 8);
      return size == 0 ? record.size() <= 20 : RegionFits(record, 16, size);
    }
    case kGradientFill: {
      constexpr std::uint32_t kTriangles = 2;  // GRADIENT_FILL_TRIANGLE
      std::uint64_t vertices = DoubleWord(record, 24), shapes = DoubleWord(record, 28);
      std::uint32_t mode = DoubleWord(record, 32);
      if (mode > kTriangles) return false;
      std::uint64_t corners = mode == kTriangles ? 3 : 2;
      if (!Fits(record, 36, vertices * 16 + shapes * corners * 4)) return false;
      std::size_t first = 36 + static_cast<std::size_t>(vertices) * 16;
      for (std::uint64_t i = 0; i < shapes * corners; ++i) {
        if (DoubleWord(record, first + static_cast<std::size_t>(i) * 4) >= vertices) return false;
      }
      return true;
    }
    default: return true;
  }
}

// The header record: its own parts lie within it.
bool HeaderAddsUp(std::string_view header) {
  std::uint64_t description = DoubleWord(header, 60), description_at = DoubleWord(header, 64);
  if (description != 0 && (description_at < kHeaderSize || !Fits(header, description_at, description * 2)))
    return false;
  if (header.size() < kPixelFormatEnd) return true;
  std::uint32_t format_size = DoubleWord(header, 88), format_at = DoubleWord(header, 92);
  return format_size == 0 || (format_at >= kPixelFormatEnd && Fits(header, format_at, format_size));
}

// EMR_EOF: its palette lies before the closing copy of its size.
bool EndAddsUp(std::string_view end) {
  std::uint64_t entries = DoubleWord(end, 8);
  std::uint32_t entries_at = DoubleWord(end, 12);
  std::string_view before_size = end.substr(0, end.size() - 4);
  return DoubleWord(end, end.size() - 4) == end.size() &&
         (entries == 0 || (entries_at >= 16 && Fits(before_size, entries_at, entries * 4)));
}

}  // namespace

std::optional<std::size_t> EnhancedMetafileSize(std::string_view bytes) {
  if (bytes.size() < kHeaderSize || DoubleWord(bytes, 0) != kHeader || DoubleWord(bytes, 40) != kSignature)
    return std::nullopt;
  std::uint32_t total = DoubleWord(bytes, 48), records = DoubleWord(bytes, 52);
  std::uint32_t handles = picture::Word(bytes, 56);
  // The player keeps the metafile itself at object index 0.
  if (total > bytes.size() || handles == 0) return std::nullopt;
  std::string_view metafile = bytes.substr(0, total);
  std::size_t offset = 0;
  for (std::uint32_t count = 1;; ++count) {
    if (!Fits(metafile, offset, 8)) return std::nullopt;
    std::uint32_t type = DoubleWord(metafile, offset), size = DoubleWord(metafile, offset + 4);
    if (type == 0 || type > kLastRecordType || (type == kHeader) != (offset == 0)) return std::nullopt;
    if (size < kFixedSizeOf[type] || size % 4 != 0 || !Fits(metafile, offset, size)) return std::nullopt;
    std::string_view record = metafile.substr(offset, size);
    if (!RecordAddsUp(record, type, handles)) return std::nullopt;
    if (type == kHeader && !HeaderAddsUp(record)) return std::nullopt;
    offset += size;
    if (type == kEof) {
      if (offset != total || count != records || !EndAddsUp(record)) return std::nullopt;
      return total;
    }
  }
}

}  // namespace setup
