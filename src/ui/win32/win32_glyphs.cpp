#include "ui/win32/win32_glyphs.h"

#include <iterator>

namespace setup {
namespace {

// Selects a pen and a brush for the lifetime of one drawing step.
class PenAndBrush {
 public:
  PenAndBrush(HDC dc, COLORREF line, int line_width, COLORREF fill)
      : dc_(dc),
        pen_(CreatePen(PS_SOLID, line_width, line)),
        brush_(CreateSolidBrush(fill)),
        old_pen_(SelectObject(dc, pen_)),
        old_brush_(SelectObject(dc, brush_)) {}
  ~PenAndBrush() {
    SelectObject(dc_, old_pen_);
    SelectObject(dc_, old_brush_);
    DeleteObject(pen_);
    DeleteObject(brush_);
  }
  PenAndBrush(const PenAndBrush&) = delete;
  PenAndBrush& operator=(const PenAndBrush&) = delete;

 private:
  HDC dc_;
  HPEN pen_;
  HBRUSH brush_;
  HGDIOBJ old_pen_;
  HGDIOBJ old_brush_;
};

// A magnifying glass over a page: look again.
void DrawRescan(HDC dc, int x, int y, bool enabled) {
  COLORREF outline = enabled ? RGB(0, 0, 0) : GetSysColor(COLOR_GRAYTEXT);
  COLORREF paper = enabled ? RGB(255, 255, 255) : GetSysColor(COLOR_BTNFACE);
  COLORREF glass = enabled ? RGB(170, 210, 255) : GetSysColor(COLOR_BTNFACE);
  COLORREF handle = enabled ? RGB(128, 64, 0) : GetSysColor(COLOR_GRAYTEXT);
  {
    PenAndBrush tools(dc, outline, 1, paper);
    Rectangle(dc, x + 1, y, x + 10, y + 12);
  }
  {
    PenAndBrush tools(dc, outline, 1, glass);
    Ellipse(dc, x + 4, y + 4, x + 12, y + 12);
  }
  {
    PenAndBrush tools(dc, handle, 3, handle);
    MoveToEx(dc, x + 11, y + 11, nullptr);
    LineTo(dc, x + 14, y + 14);
  }
}

// An open-topped yellow folder with its tab.
void DrawBrowse(HDC dc, int x, int y, bool enabled) {
  COLORREF outline = enabled ? RGB(128, 96, 0) : GetSysColor(COLOR_GRAYTEXT);
  COLORREF back = enabled ? RGB(230, 180, 40) : GetSysColor(COLOR_BTNFACE);
  COLORREF front = enabled ? RGB(255, 220, 90) : GetSysColor(COLOR_BTNFACE);
  {
    const POINT body[] = {{x + 1, y + 3},  {x + 6, y + 3},   {x + 7, y + 5},
                          {x + 14, y + 5}, {x + 14, y + 14}, {x + 1, y + 14}};
    PenAndBrush tools(dc, outline, 1, back);
    Polygon(dc, body, static_cast<int>(std::size(body)));
  }
  {
    const POINT flap[] = {{x + 1, y + 14}, {x + 3, y + 8}, {x + 15, y + 8}, {x + 14, y + 14}};
    PenAndBrush tools(dc, outline, 1, front);
    Polygon(dc, flap, static_cast<int>(std::size(flap)));
  }
}

}  // namespace

void DrawGlyph(HDC dc, Glyph glyph, int left, int top, bool enabled) {
  if (glyph == Glyph::kRescan) {
    DrawRescan(dc, left, top, enabled);
  } else {
    DrawBrowse(dc, left, top, enabled);
  }
}

}  // namespace setup
