// Any bytes fed to every picture file reader: none may read outside them,
// overflow or run without end, and whatever one takes lies within the bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "ui/picture_format.h"

namespace {

void MustFit(std::uint64_t offset, std::uint64_t size, std::size_t total) {
  if (offset > total || size > total - offset) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (std::optional<setup::BitmapLayout> bitmap = setup::ReadBitmapLayout(bytes)) {
    MustFit(bitmap->info_offset, bitmap->info_size, size);
    MustFit(bitmap->bits_offset, bitmap->bits_size, size);
  }
  if (std::optional<setup::IconImage> icon = setup::LargestIconImage(bytes)) MustFit(icon->offset, icon->size, size);
  if (std::optional<setup::MetafileLayout> metafile = setup::ReadMetafileLayout(bytes))
    MustFit(metafile->offset, metafile->size, size);
  if (std::optional<std::size_t> total = setup::EnhancedMetafileSize(bytes)) MustFit(0, *total, size);
  return 0;
}
