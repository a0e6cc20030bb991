#include "ui/win32/win32_picture.h"

#include <cstring>
#include <optional>
#include <vector>

#include "ui/picture_format.h"

namespace setup {
namespace {

// A device-dependent bitmap of the screen's format: GDI decodes every kind of
// .bmp content (colour tables, masks, run lengths) into it.
HBITMAP BitmapFrom(const std::string& bytes) {
  std::optional<BitmapLayout> layout = ReadBitmapLayout(bytes);
  if (!layout) return nullptr;
  // The header is read by GDI as an aligned structure.
  std::vector<DWORD> info((layout->info_size + sizeof(DWORD) - 1) / sizeof(DWORD));
  std::memcpy(info.data(), bytes.data() + layout->info_offset, layout->info_size);
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, reinterpret_cast<const BITMAPINFOHEADER*>(info.data()), CBM_INIT,
                                  bytes.data() + layout->bits_offset, reinterpret_cast<const BITMAPINFO*>(info.data()),
                                  DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

HICON IconFrom(const std::string& bytes) {
  std::optional<IconImage> image = LargestIconImage(bytes);
  if (!image) return nullptr;
  std::vector<DWORD> data((image->size + sizeof(DWORD) - 1) / sizeof(DWORD));
  std::memcpy(data.data(), bytes.data() + image->offset, image->size);
  return CreateIconFromResourceEx(reinterpret_cast<PBYTE>(data.data()), static_cast<DWORD>(image->size), TRUE,
                                  0x00030000, image->width, image->height, LR_DEFAULTCOLOR);
}

// A Windows metafile, placeable or plain, converted to an enhanced one.
HENHMETAFILE MetafileFromWmf(const std::string& bytes) {
  std::optional<MetafileLayout> layout = ReadMetafileLayout(bytes);
  if (!layout) return nullptr;
  METAFILEPICT frame{MM_ANISOTROPIC, layout->frame_width, layout->frame_height, nullptr};
  return SetWinMetaFileBits(static_cast<UINT>(layout->size),
                            reinterpret_cast<const BYTE*>(bytes.data() + layout->offset), nullptr,
                            layout->placeable ? &frame : nullptr);
}

HENHMETAFILE MetafileFromEmf(const std::string& bytes) {
  std::optional<std::size_t> size = EnhancedMetafileSize(bytes);
  if (!size) return nullptr;
  return SetEnhMetaFileBits(static_cast<UINT>(*size), reinterpret_cast<const BYTE*>(bytes.data()));
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

void Win32Picture::Load(const std::string& path, FileSystem& files) {
  PictureFormat format = PictureFormatOf(path);
  std::string bytes = ReadPictureFile(path, files);
  HBITMAP bitmap = nullptr;
  HICON icon = nullptr;
  HENHMETAFILE metafile = nullptr;
  switch (format) {
    case PictureFormat::kBitmap: bitmap = BitmapFrom(bytes); break;
    case PictureFormat::kIcon: icon = IconFrom(bytes); break;
    case PictureFormat::kMetafile: metafile = MetafileFromWmf(bytes); break;
    case PictureFormat::kEnhancedMetafile: metafile = MetafileFromEmf(bytes); break;
  }
  if (!bitmap && !icon && !metafile) throw PictureError(path, "the file is not a valid picture");

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
    StretchBlt(dc, area.left, area.top, width, height, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
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
