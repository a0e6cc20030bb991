#include "wine/ui_harness.h"

#include <array>
#include <string>

#include "wine/ui_harness_internal.h"

namespace setup::ui {
namespace {

// A 32-bit top-down bitmap selected into a memory DC, to draw or copy into.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    screen_ = GetDC(nullptr);
    memory_ = CreateCompatibleDC(screen_);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap_ = CreateDIBSection(memory_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    if (bitmap_) old_ = SelectObject(memory_, bitmap_);
  }
  ~Canvas() {
    if (bitmap_) {
      SelectObject(memory_, old_);
      DeleteObject(bitmap_);
    }
    DeleteDC(memory_);
    ReleaseDC(nullptr, screen_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool ok() const { return bitmap_ != nullptr; }
  HDC dc() const { return memory_; }
  HDC screen() const { return screen_; }

  Image Pixels() const {
    GdiFlush();
    Image image;
    image.width = width_;
    image.height = height_;
    const auto* pixels = static_cast<const DWORD*>(bits_);
    image.pixels.assign(pixels, pixels + static_cast<size_t>(width_) * height_);
    for (DWORD& pixel : image.pixels) pixel &= 0xFFFFFF;
    return image;
  }

 private:
  int width_;
  int height_;
  HDC screen_ = nullptr;
  HDC memory_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
};

Image CaptureScreenRect(const RECT& rect) {
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) throw HarnessError("cannot capture an empty rectangle");
  Canvas canvas(width, height);
  if (!canvas.ok() || !BitBlt(canvas.dc(), 0, 0, width, height, canvas.screen(), rect.left, rect.top, SRCCOPY))
    throw HarnessError(LastErrorText("cannot capture the screen"));
  return canvas.Pixels();
}

// An icon drawn locally on a plain background, the way a static control draws it.
Image RenderIcon(HICON icon, int width, int height, COLORREF background) {
  Canvas canvas(width, height);
  if (!canvas.ok()) throw HarnessError(LastErrorText("cannot make a bitmap"));
  HBRUSH brush = CreateSolidBrush(background);
  RECT all = {0, 0, width, height};
  FillRect(canvas.dc(), &all, brush);
  DeleteObject(brush);
  DrawIconEx(canvas.dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
  return canvas.Pixels();
}

// Share of the icon's opaque pixels (those that look the same on black and
// on white) that the screen shows unchanged.
double IconMatch(const Image& shown, HICON icon) {
  Image on_black = RenderIcon(icon, shown.width, shown.height, RGB(0, 0, 0));
  Image on_white = RenderIcon(icon, shown.width, shown.height, RGB(255, 255, 255));
  size_t opaque = 0;
  size_t same = 0;
  for (size_t i = 0; i < shown.pixels.size(); ++i) {
    if (on_black.pixels[i] != on_white.pixels[i]) continue;
    ++opaque;
    if (on_black.pixels[i] == shown.pixels[i]) ++same;
  }
  return opaque == 0 ? 0.0 : static_cast<double>(same) / static_cast<double>(opaque);
}

}  // namespace

// The program draws its icon from its own copy of the system icons, whose
// handles mean nothing here; what it shows on the screen is compared instead.
MessageIcon RecogniseIcon(HWND icon_control) {
  struct Candidate {
    MessageIcon icon;
    LPCSTR resource;
  };
  static const std::array<Candidate, 4> kCandidates = {{
      {MessageIcon::kError, IDI_ERROR},
      {MessageIcon::kWarning, IDI_WARNING},
      {MessageIcon::kInformation, IDI_INFORMATION},
      {MessageIcon::kQuestion, IDI_QUESTION},
  }};
  // A box without an icon keeps the control, empty.
  if (SendTo(icon_control, STM_GETICON, 0, 0) == 0) return MessageIcon::kNone;
  MessageIcon best = MessageIcon::kUnknown;
  WaitUntil(
      [&] {
        Image shown = CaptureWindow(icon_control);
        double best_match = 0.0;
        for (const Candidate& candidate : kCandidates) {
          double match = IconMatch(shown, LoadIconA(nullptr, candidate.resource));
          if (match > best_match) {
            best_match = match;
            best = candidate.icon;
          }
        }
        // The information and question icons share some 80% of their pixels.
        if (best_match < 0.97) best = MessageIcon::kUnknown;
        return best != MessageIcon::kUnknown;
      },
      2000);
  return best;
}

Image CaptureWindow(HWND window) {
  // Let the program finish what it was asked to draw: Wine hands a window's
  // pixels to the X server a little after the program painted them.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
  Sleep(100);
  return CaptureScreenRect(WindowRect(window));
}

void SaveBmp(const Image& image, const std::string& path) {
  const size_t row_size = (static_cast<size_t>(image.width) * 3 + 3) & ~size_t{3};
  const size_t pixel_bytes = row_size * image.height;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixel_bytes);
  info.biSize = sizeof info;
  info.biWidth = image.width;
  info.biHeight = image.height;  // bottom row first
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(pixel_bytes);
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  std::string row(row_size, '\0');
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      DWORD pixel = image.At(x, y);
      row[x * 3 + 0] = static_cast<char>(pixel & 0xFF);
      row[x * 3 + 1] = static_cast<char>(pixel >> 8 & 0xFF);
      row[x * 3 + 2] = static_cast<char>(pixel >> 16 & 0xFF);
    }
    bytes += row;
  }
  WriteFileBytes(path, bytes);
}

void SaveWindowBmp(HWND window, const std::string& path) { SaveBmp(CaptureWindow(window), path); }

}  // namespace setup::ui
