#include "platform/win32/win32_wide_text.h"

#include <windows.h>

#include "platform/ansi_text.h"

namespace setup {

std::string NarrowExactly(std::wstring_view wide) {
  if (wide.empty()) return {};
  int length = static_cast<int>(wide.size());
  int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) {
    // UTF-8 as the ANSI code page takes neither the flag nor a default
    // character; it holds every character, so the plain conversion is exact.
    size = WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string(1, kUnheldCharacter);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), length, text.data(), size, nullptr, nullptr);
    return text;
  }
  std::string text(static_cast<std::size_t>(size), '\0');
  const char unheld[] = {kUnheldCharacter, '\0'};
  BOOL used_default = FALSE;
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, text.data(), size, unheld, &used_default);
  // The flag is what counts: should a code page not take this default
  // character, the name is still marked as one it could not hold.
  if (used_default && HeldExactly(text)) text += kUnheldCharacter;
  return text;
}

std::vector<wchar_t> Widened(std::string_view text) {
  std::vector<wchar_t> wide(1, L'\0');
  if (text.empty()) return wide;
  int length = static_cast<int>(text.size());
  int size = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (size <= 0) return wide;
  wide.assign(static_cast<std::size_t>(size) + 1, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), size);
  return wide;
}

}  // namespace setup
