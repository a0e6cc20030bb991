#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "ui/toolkit.h"

namespace setup {

/// The picture files a picture control loads.
enum class PictureFormat { kBitmap, kIcon, kMetafile, kEnhancedMetafile };

/// The largest picture file read: more is no picture a setup window shows.
inline constexpr std::size_t kPictureFileLimit = 16 * 1024 * 1024;

/// The error for a picture file that cannot be loaded, naming the file and the reason.
ToolkitError PictureError(const std::string& path, std::string_view reason);

/// The format a file's extension names (.bmp, .ico, .wmf, .emf, letter case
/// ignored); throws PictureError for any other extension or none.
PictureFormat PictureFormatOf(const std::string& path);

/// The bytes of a picture file, read as the picture control reads them;
/// throws PictureError when the file cannot be read or is too large.
std::string ReadPictureFile(const std::string& path, FileSystem& files);

/// True when the bytes are a picture of the format whose parts all lie where
/// the system will look for them: what the picture control needs to load it.
bool PictureIsSound(PictureFormat format, std::string_view bytes);

// Where the parts of a picture file lie, for handing them to the system.
// Each reader checks the file's signature and that every part it names lies
// within the bytes, down to each metafile record's counts and bitmaps, as the
// system trusts them; nothing when they do not.

/// A .bmp file: the header with its colour masks and colours, and the pixels.
struct BitmapLayout {
  std::size_t info_offset = 0, info_size = 0;
  std::size_t bits_offset = 0, bits_size = 0;
};
std::optional<BitmapLayout> ReadBitmapLayout(std::string_view bytes);

/// The image of an .ico file that stretches best: the widest, of those the
/// one with the most colours.
struct IconImage {
  std::size_t offset = 0, size = 0;
  int width = 0, height = 0;
};
std::optional<IconImage> LargestIconImage(std::string_view bytes);

/// A .wmf file, plain or "placeable" (a 22-byte header giving its frame).
struct MetafileLayout {
  std::size_t offset = 0, size = 0;  // the plain metafile
  bool placeable = false;
  int frame_width = 0, frame_height = 0;  // placeable: the frame in 0.01 mm
};
std::optional<MetafileLayout> ReadMetafileLayout(std::string_view bytes);

/// An .emf file: the length its header gives, which must fit the bytes and
/// hold whole records up to EMR_EOF.
std::optional<std::size_t> EnhancedMetafileSize(std::string_view bytes);

}  // namespace setup
