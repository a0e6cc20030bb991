#include "ui/win32/win32_picture.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "ui/toolkit.h"

namespace setup {
namespace {

// The key that starts a "placeable" metafile: a 22-byte header in front of the
// plain Windows metafile, giving its frame and resolution.
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableHeaderSize = 22;
constexpr std::size_t kMetaHeaderSize = 18;  // METAHEADER as stored: nine 16-bit words

std::uint16_t Word(const std::string& bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[offset]) |
                                    static_cast<unsigned char>(bytes[offset + 1]) << 8);
}

std::uint32_t DoubleWord(const std::string& bytes, std::size_t offset) {
  return Word(bytes, offset) | static_cast<std::uint32_t>(Word(bytes, offset + 2)) << 16;
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  LARGE_INTEGER size;
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart < 0x40000000;
  if (ok) {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    ok = bytes.empty() ||
         (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
          read == bytes.size());
  }
  CloseHandle(file);
  if (!ok) return std::nullopt;
  return bytes;
}

// A Windows metafile, placeable or plain, converted to an enhanced one; null
// when the content is not a sound metafile.
HENHMETAFILE MetafileFromWmf(const std::string& bytes) {
  std::size_t offset = 0;
  METAFILEPICT frame{};
  bool placeable = bytes.size() >= kPlaceableHeaderSize && DoubleWord(bytes, 0) == kPlaceableKey;
  if (placeable) {
    std::uint16_t checksum = 0;
    for (std::size_t i = 0; i < 10; ++i) checksum ^= Word(bytes, i * 2);
    if (checksum != Word(bytes, 20)) return nullptr;
    int left = static_cast<std::int16_t>(Word(bytes, 6));
    int top = static_cast<std::int16_t>(Word(bytes, 8));
    int right = static_cast<std::int16_t>(Word(bytes, 10));
    int bottom = static_cast<std::int16_t>(Word(bytes, 12));
    int units_per_inch = Word(bytes, 14);
    if (units_per_inch == 0 || right == left || bottom == top) return nullptr;
    // The frame in 0.01 mm, which MM_ANISOTROPIC expects of METAFILEPICT.
    frame.mm = MM_ANISOTROPIC;
    frame.xExt = MulDiv(std::abs(right - left), 2540, units_per_inch);
    frame.yExt = MulDiv(std::abs(bottom - top), 2540, units_per_inch);
    offset = kPlaceableHeaderSize;
  }
  if (bytes.size() < offset + kMetaHeaderSize) return nullptr;
  std::uint16_t type = Word(bytes, offset);
  std::uint16_t header_words = Word(bytes, offset + 2);
  std::uint16_t version = Word(bytes, offset + 4);
  std::size_t size = static_cast<std::size_t>(DoubleWord(bytes, offset + 6)) * 2;
  if ((type != 1 && type != 2) || header_words != kMetaHeaderSize / 2 ||
      (version != 0x100 && version != 0x300) || size < kMetaHeaderSize ||
      size > bytes.size() - offset) {
    return nullptr;
  }
  return SetWinMetaFileBits(static_cast<UINT>(size),
                            reinterpret_cast<const BYTE*>(bytes.data() + offset), nullptr,
                            placeable ? &frame : nullptr);
}

// The largest image of an icon file, so stretching starts from the most detail;
// zero when the file is no icon file.
int LargestIconSize(const std::string& bytes) {
  constexpr std::size_t kDirectorySize = 6, kEntrySize = 16;
  if (bytes.size() < kDirectorySize || Word(bytes, 0) != 0 || Word(bytes, 2) != 1) return 0;
  std::size_t count = Word(bytes, 4);
  if (count == 0 || bytes.size() < kDirectorySize + count * kEntrySize) return 0;
  int largest = 0;
  for (std::size_t i = 0; i < count; ++i) {
    int width = static_cast<unsigned char>(bytes[kDirectorySize + i * kEntrySize]);
    largest = std::max(largest, width == 0 ? 256 : width);
  }
  return largest;
}

std::string LowerExtension(const std::string& path) {
  std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || path.find_first_of("\\/", dot) != std::string::npos) return {};
  std::string extension = path.substr(dot);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  return extension;
}

[[noreturn]] void CannotLoad(const std::string& path, const std::string& reason) {
  throw ToolkitError("Cannot load the picture \"" + path + "\": " + reason + ".");
}

}  // namespace

Win32Picture::~Win32Picture() { Clear(); }

void Win32Picture::Clear() {
  if (bitmap_) DeleteObject(bitmap_);
  if (icon_) DestroyIcon(icon_);
  if (metafile_) DeleteEnhMetaFile(metafile_);
  bitmap_ = nullptr;
  icon_ = nullptr;
  metafile_ = nullptr;
}

void Win32Picture::Load(const std::string& path) {
  std::string extension = LowerExtension(path);
  if (extension != ".bmp" && extension != ".ico" && extension != ".wmf" && extension != ".emf") {
    CannotLoad(path, extension.empty() ? "the file name has no picture extension"
                                       : "unknown picture file extension (" + extension + ")");
  }
  std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes) CannotLoad(path, "the file cannot be read");

  HBITMAP bitmap = nullptr;
  HICON icon = nullptr;
  HENHMETAFILE metafile = nullptr;
  if (extension == ".bmp") {
    bitmap = static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  } else if (extension == ".ico") {
    if (int size = LargestIconSize(*bytes)) {
      icon = static_cast<HICON>(
          LoadImageA(nullptr, path.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
    }
  } else if (extension == ".wmf") {
    metafile = MetafileFromWmf(*bytes);
  } else {
    metafile = GetEnhMetaFileA(path.c_str());
  }
  if (!bitmap && !icon && !metafile) CannotLoad(path, "the file is not a valid picture");

  Clear();
  bitmap_ = bitmap;
  icon_ = icon;
  metafile_ = metafile;
}

void Win32Picture::Paint(HDC dc, const RECT& area) const {
  int width = area.right - area.left;
  int height = area.bottom - area.top;
  if (bitmap_) {
    BITMAP info;
    if (!GetObjectA(bitmap_, sizeof info, &info)) return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap_);
    int old_mode = SetStretchBltMode(dc, HALFTONE);
    // HALFTONE needs the brush origin set again after the mode changes.
    POINT old_origin;
    SetBrushOrgEx(dc, 0, 0, &old_origin);
    StretchBlt(dc, area.left, area.top, width, height, source, 0, 0, info.bmWidth, info.bmHeight,
               SRCCOPY);
    SetBrushOrgEx(dc, old_origin.x, old_origin.y, nullptr);
    SetStretchBltMode(dc, old_mode);
    SelectObject(source, old);
    DeleteDC(source);
  } else if (icon_) {
    DrawIconEx(dc, area.left, area.top, icon_, width, height, 0, nullptr, DI_NORMAL);
  } else if (metafile_) {
    PlayEnhMetaFile(dc, metafile_, &area);
  }
}

}  // namespace setup
