#pragma once

#include <windows.h>

#include <string>

#include "platform/file_system.h"

namespace setup {

/// A picture loaded from a .bmp, .ico, .wmf or .emf file, painted stretched.
class Win32Picture {
 public:
  Win32Picture() = default;
  ~Win32Picture();
  Win32Picture(const Win32Picture&) = delete;
  Win32Picture& operator=(const Win32Picture&) = delete;

  /// Replaces the picture with the file's, chosen by its extension and read
  /// through `files`; throws ToolkitError naming the file when it cannot be
  /// loaded (the old picture stays).
  void Load(const std::string& path, FileSystem& files);
  /// Paints the picture stretched over the area; nothing when empty.
  void Paint(HDC dc, const RECT& area) const;

 private:
  void Clear();

  HBITMAP bitmap_ = nullptr;
  HICON icon_ = nullptr;
  HENHMETAFILE metafile_ = nullptr;
};

}  // namespace setup
