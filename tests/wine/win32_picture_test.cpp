// The picture control's files made pictures by the real GDI, from the bytes
// the file system reads: what only the system's decoders can show.

#include "ui/win32/win32_picture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/win32/win32_file_system.h"
#include "ui/toolkit.h"
#include "wine/ui_harness.h"

namespace setup::ui {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

void Put16(std::string& bytes, std::uint32_t value) {
  bytes += static_cast<char>(value & 0xFF);
  bytes += static_cast<char>(value >> 8 & 0xFF);
}

void Put32(std::string& bytes, std::uint32_t value) {
  Put16(bytes, value & 0xFFFF);
  Put16(bytes, value >> 16);
}

// A BITMAPINFOHEADER of a bottom-up image.
std::string InfoHeader(int width, int height, int bits) {
  std::string header;
  for (int value : {40, width, height}) Put32(header, static_cast<std::uint32_t>(value));
  Put16(header, 1);
  Put16(header, static_cast<std::uint32_t>(bits));
  header.resize(40, '\0');
  return header;
}

// A 2 x 2 bitmap, 24 bits, all red.
std::string RedBmp() {
  std::string pixels;
  for (int row = 0; row < 2; ++row) pixels += std::string("\0\0\xFF\0\0\xFF\0\0", 8);  // B, G, R; padded
  std::string bytes = "BM";
  for (std::uint32_t value : {14u + 40u + 16u, 0u, 54u}) Put32(bytes, value);
  return bytes + InfoHeader(2, 2, 24) + pixels;
}

// An icon of one opaque 2 x 2 image, 32 bits, all red.
std::string RedIco() {
  std::string image = InfoHeader(2, 4, 32);
  for (int pixel = 0; pixel < 4; ++pixel) image += std::string("\0\0\xFF\xFF", 4);  // B, G, R, alpha
  image += std::string(8, '\0');                                                    // the mask: nothing transparent
  std::string bytes;
  for (std::uint32_t value : {0u, 1u, 1u}) Put16(bytes, value);
  bytes += std::string("\2\2\0\0", 4);
  Put16(bytes, 1);
  Put16(bytes, 32);
  Put32(bytes, static_cast<std::uint32_t>(image.size()));
  Put32(bytes, 22);
  return bytes + image;
}

// Fills (0, 0) to (100, 100) red on a metafile device context, then records
// in a corner, in red, what the readers check most closely (text, polygons, a
// bitmap, a region), as the system's own recorder writes it.
void PaintRed(HDC dc) {
  HBRUSH red = CreateSolidBrush(kRed);
  HGDIOBJ old_brush = SelectObject(dc, red);
  HGDIOBJ old_pen = SelectObject(dc, GetStockObject(NULL_PEN));
  Rectangle(dc, 0, 0, 101, 101);

  SetTextColor(dc, kRed);
  SetBkMode(dc, TRANSPARENT);
  INT advances[] = {3, 3, 3};
  ExtTextOutA(dc, 1, 1, 0, nullptr, "abc", 3, advances);
  POINT points[] = {{0, 0}, {9, 0}, {0, 9}, {1, 1}, {5, 1}, {1, 5}, {2, 2}};
  INT counts[] = {3, 4};
  PolyPolygon(dc, points, counts, 2);
  // The pixels' length is given: a metafile recorder may take it from the header.
  BITMAPINFOHEADER header{sizeof header, 1, 1, 1, 24, BI_RGB, 4, 0, 0, 0, 0};
  const BYTE pixel[] = {0, 0, 0xFF, 0};  // B, G, R; padded
  StretchDIBits(dc, 0, 0, 9, 9, 0, 0, 1, 1, pixel, reinterpret_cast<const BITMAPINFO*>(&header), DIB_RGB_COLORS,
                SRCCOPY);
  HRGN corner = CreateRectRgn(0, 0, 9, 9);
  FillRgn(dc, corner, red);
  DeleteObject(corner);

  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  DeleteObject(red);
}

// A placeable metafile of one inch by one inch, all red, as drawing programs write them.
std::string RedWmf() {
  HDC dc = CreateMetaFileA(nullptr);
  SetWindowOrgEx(dc, 0, 0, nullptr);
  SetWindowExtEx(dc, 100, 100, nullptr);
  PaintRed(dc);
  HMETAFILE metafile = CloseMetaFile(dc);
  std::string records(GetMetaFileBitsEx(metafile, 0, nullptr), '\0');
  GetMetaFileBitsEx(metafile, static_cast<UINT>(records.size()), records.data());
  DeleteMetaFile(metafile);
  std::string header;
  Put32(header, 0x9AC6CDD7);
  for (int value : {0, 0, 0, 100, 100, 100, 0, 0}) Put16(header, static_cast<std::uint32_t>(value));
  std::uint32_t checksum = 0;
  for (std::size_t i = 0; i < 20; i += 2) {
    checksum ^= static_cast<unsigned char>(header[i]) | static_cast<unsigned char>(header[i + 1]) << 8;
  }
  Put16(header, checksum);
  return header + records;
}

std::string RedEmf() {
  RECT frame{0, 0, 1000, 1000};  // in 0.01 mm
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
  PaintRed(dc);
  HENHMETAFILE metafile = CloseEnhMetaFile(dc);
  std::string bytes(GetEnhMetaFileBits(metafile, 0, nullptr), '\0');
  GetEnhMetaFileBits(metafile, static_cast<UINT>(bytes.size()), reinterpret_cast<BYTE*>(bytes.data()));
  DeleteEnhMetaFile(metafile);
  return bytes;
}

// The colour at the centre of a white 40 x 40 area with the picture painted over it.
COLORREF CentreAfterPaint(const Win32Picture& picture) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP canvas = CreateCompatibleBitmap(screen, 40, 40);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, canvas);
  RECT area{0, 0, 40, 40};
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  picture.Paint(dc, area);
  COLORREF centre = GetPixel(dc, 20, 20);
  SelectObject(dc, old);
  DeleteObject(canvas);
  DeleteDC(dc);
  return centre;
}

struct Win32PictureTest : testing::Test {
  Package package_;
  Win32FileSystem files_;
};

TEST_F(Win32PictureTest, EveryFormatLoadsFromItsBytesAndPaintsStretched) {
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {{"red.bmp", RedBmp()}, {"red.ICO", RedIco()}, {"red.wmf", RedWmf()}, {"red.emf", RedEmf()}};
  for (const Case& c : cases) {
    package_.Write(c.name, c.bytes);
    Win32Picture picture;
    ASSERT_NO_THROW(picture.Load(package_.Path(c.name), files_)) << c.name;
    EXPECT_EQ(CentreAfterPaint(picture), kRed) << c.name;
  }
}

// Which contents are damaged is the portable readers' business; here, what
// a refused file does to the picture shown.
TEST_F(Win32PictureTest, DamagedOrTooLargeFilesAreToolkitErrorsAndKeepTheOldPicture) {
  package_.Write("good.bmp", RedBmp());
  Win32Picture picture;
  picture.Load(package_.Path("good.bmp"), files_);
  struct Case {
    const char* name;
    std::string bytes;
    const char* reason;
  } cases[] = {
      {"short.bmp", RedBmp().substr(0, 54), "the file is not a valid picture"},
      {"large.bmp", RedBmp() + std::string(16 * 1024 * 1024, '\0'), "the file is too large for a picture"},
  };
  for (const Case& c : cases) {
    package_.Write(c.name, c.bytes);
    std::string path = package_.Path(c.name);
    try {
      picture.Load(path, files_);
      ADD_FAILURE() << c.name << " was loaded";
    } catch (const ToolkitError& error) {
      EXPECT_EQ(error.what(), "Cannot load the picture \"" + path + "\": " + c.reason + ".");
    }
    EXPECT_EQ(CentreAfterPaint(picture), kRed) << c.name;
  }
}

}  // namespace
}  // namespace setup::ui
