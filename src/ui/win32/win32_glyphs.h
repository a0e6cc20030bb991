#pragma once

#include <windows.h>

namespace setup {

enum class Glyph { kRescan, kBrowse };

inline constexpr int kGlyphSize = 16;

/// Draws a 16 x 16 glyph with its top-left corner at (left, top); a disabled
/// glyph is drawn in the system's grey.
void DrawGlyph(HDC dc, Glyph glyph, int left, int top, bool enabled);

}  // namespace setup
