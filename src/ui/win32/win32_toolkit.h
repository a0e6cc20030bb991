#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "ui/toolkit.h"
#include "ui/win32/system_dlls.h"

namespace setup {

class Win32Window;

/// The toolkit on real windows: each form is a top-level window of its own
/// class (the FormSpec's class name), its controls are native controls.
/// Picture files are read through `files`. Throws ToolkitError when a
/// system DLL it needs cannot be loaded.
class Win32Toolkit : public Toolkit {
 public:
  Win32Toolkit(HINSTANCE instance, FileSystem& files);
  ~Win32Toolkit() override;
  Win32Toolkit(const Win32Toolkit&) = delete;
  Win32Toolkit& operator=(const Win32Toolkit&) = delete;

  void SetTitle(std::string_view title) override;
  std::unique_ptr<Window> CreateForm(const FormSpec& spec, Window* owner) override;
  int ShowMessage(Window* owner, std::string_view text, std::string_view caption, unsigned style) override;
  std::optional<std::string> BrowseForFolder(Window& owner, std::string_view instruction) override;
  void ShellOpen(Window& owner, std::string_view target) override;
  void SetHintHandler(std::function<void(const std::string& hint)> handler) override;
  void RequestEnd() override;
  void Run(Window& main) override;

 private:
  friend class Win32Window;

  // What the windows share.
  HINSTANCE Instance() const { return instance_; }
  FileSystem& Files() const { return files_; }
  /// The font of a control with these ControlStyle bits.
  HFONT Font(std::uint32_t style) const;
  void AddWindow(Win32Window* window);
  void RemoveWindow(Win32Window* window);
  bool IsMainWindow(const Win32Window* window) const { return window == main_; }
  /// Dialog keys (Tab, Enter, mnemonics), translation and dispatch of one
  /// message; the hint is checked after a mouse move.
  void DispatchOne(MSG& message);
  /// Checks the hint when no message is waiting.
  void CheckIdle();
  void UpdateHint();
  /// The last resort for an exception that reached a window procedure,
  /// where it must not unwind: an error box with the application title.
  void ReportError(const char* text);

  Win32Window* FindWindowByHandle(HWND handle) const;

  HINSTANCE instance_;
  FileSystem& files_;
  /// ole32 and shell32, loaded and COM started on first use.
  ShellDlls& Shell();

  std::optional<ShellDlls> shell_;
  bool com_initialized_ = false;
  HFONT normal_font_ = nullptr;
  HFONT title_font_ = nullptr;
  HFONT version_font_ = nullptr;
  HICON icon_ = nullptr;  // the program's own icon, for the window classes
  HICON small_icon_ = nullptr;
  std::string title_;
  std::function<void(const std::string&)> hint_handler_;
  std::string last_hint_;
  std::vector<Win32Window*> windows_;
  Win32Window* main_ = nullptr;
};

}  // namespace setup
