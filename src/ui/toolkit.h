#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_error.h"

namespace setup {

/// An error of the toolkit whose text is meant for the user (a picture that
/// cannot be loaded, a text a control cannot take); the run flow reports it
/// like any other error.
class ToolkitError : public TextError {
 public:
  using TextError::TextError;
};

/// Window edges a control keeps its distance from when the window is resized.
enum Anchor : std::uint32_t { kAnchorLeft = 1, kAnchorTop = 2, kAnchorRight = 4, kAnchorBottom = 8 };
inline constexpr std::uint32_t kAnchorLeftTop = kAnchorLeft | kAnchorTop;
inline constexpr std::uint32_t kAnchorAll = kAnchorLeft | kAnchorTop | kAnchorRight | kAnchorBottom;

enum class ControlKind {
  kLabel,
  kButton,
  kGlyphButton,  // a button with a 16 x 16 picture, optionally text beside it; never takes the focus
  kCheckBox,
  kEdit,         // one line
  kCheckList,    // items with a tick each
  kMemo,         // multi-line, read-only text
  kRadioButton,  // the radio buttons of one window form one group
  kPanel,        // holds other controls
  kPicture,      // a picture stretched to fill the control
  kProgressBar,
  kStatusBar,  // one text field along the bottom edge of the window
};

/// Looks and habits beyond a control's kind, as bits.
enum ControlStyle : std::uint32_t {
  kStyleNone = 0,
  kStyleTitleFont = 1 << 0,    // Arial bold italic, 43 pixels high
  kStyleVersionFont = 1 << 1,  // Arial bold italic, 21 pixels high, grey text
  kStyleAlignRight = 1 << 2,
  kStyleAlignCentre = 1 << 3,
  kStyleNoPrefix = 1 << 4,      // '&' is shown literally, not as an underline marker
  kStyleTransparent = 1 << 5,   // the parent shows through
  kStyleLoweredBevel = 1 << 6,  // panel: lowered inner and outer bevel; none: borderless
  kStyleHandCursor = 1 << 7,
  kStyleDefaultButton = 1 << 8,  // Enter presses it unless another button has the focus
  kStyleButtonFace = 1 << 9,     // background in the button-face colour
  kStyleChecked = 1 << 10,       // check box or radio button checked in the design
  kStyleDisabled = 1 << 11,      // disabled in the design
  kStyleGlyphRescan = 1 << 12,   // glyph button: the rescan picture
  kStyleGlyphBrowse = 1 << 13,   // glyph button: the folder picture
  kStyleInitialFocus = 1 << 14,  // has the focus when the window opens
  kStyleAutoSize = 1 << 15,      // label: sized to its text
};

/// One row of a form's layout table.
struct ControlSpec {
  std::string_view name;
  ControlKind kind;
  std::string_view parent;       // name of the enclosing panel; empty for the window itself
  int left, top, width, height;  // in the parent's client coordinates
  std::uint32_t anchors;         // Anchor bits
  std::string_view text;         // designed text
  std::string_view hint;         // status-bar hint; the part after a '|' is shown
  int tab_order;                 // position in the Tab order, from 0; -1: not reached by Tab
  std::uint32_t style;           // ControlStyle bits
};

enum class BorderStyle {
  kSizeable,    // sizeable frame with the usual title-bar buttons
  kDialog,      // fixed dialog frame without title-bar buttons
  kToolWindow,  // small caption bar, not sizeable, no title-bar buttons
};

/// A window's design: its class, frame and controls.
struct FormSpec {
  std::string_view class_name;  // the window class, such as "TMainForm"
  std::string_view caption;
  int client_width, client_height;
  int min_outer_width, min_outer_height;  // 0: no minimum
  BorderStyle border;
  bool stays_on_top;
  bool centred;                           // centred on the screen whenever it is shown
  std::span<const ControlSpec> controls;  // a control's id is its index here
};

using ControlId = int;

/// Results of a modal run.
inline constexpr int kModalOk = 1;
inline constexpr int kModalCancel = 2;

/// Message box styles and answers, numbered as Windows numbers them.
inline constexpr unsigned kMbYesNo = 4;
inline constexpr unsigned kMbIconError = 16;
inline constexpr unsigned kMbIconWarning = 48;
inline constexpr unsigned kMbIconInformation = 64;
inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

/// One window made from a FormSpec, with its controls. Created hidden.
/// Handlers run on the user-interface thread; what they throw is not caught
/// here, so the caller wraps them.
class Window {
 public:
  virtual ~Window() = default;

  /// Shows the window (not modal). The first show runs the show handler
  /// before the window becomes visible.
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual bool IsVisible() = 0;
  /// Repaints the window and its controls at once, without handling input.
  virtual void RepaintNow() = 0;
  /// Shows the window modally over its owner; returns the result given to
  /// EndModal, or kModalCancel when the window was closed another way.
  virtual int ShowModal() = 0;
  virtual void EndModal(int result) = 0;
  /// A close request, as the close box makes: runs the close query handler
  /// and, when it grants, the close handler; then the window hides, and the
  /// main window's close ends the program.
  virtual void Close() = 0;
  virtual void SetCaption(std::string_view caption) = 0;
  virtual std::string Caption() = 0;
  /// Outer size, frame included.
  virtual void SetOuterSize(int width, int height) = 0;
  virtual int OuterWidth() = 0;
  virtual int OuterHeight() = 0;
  /// Enables or disables input to the whole window.
  virtual void SetWindowEnabled(bool enabled) = 0;
  /// Brings a visible window to the front with the keyboard focus; a hidden
  /// one stays as it is.
  virtual void Activate() = 0;
  /// Handles the input and paint messages waiting for this window only.
  virtual void ProcessPendingMessages() = 0;

  virtual void OnShow(std::function<void()> handler) = 0;
  virtual void OnCloseQuery(std::function<bool()> handler) = 0;
  virtual void OnClose(std::function<void()> handler) = 0;
  virtual void OnClick(ControlId control, std::function<void()> handler) = 0;
  /// Pointer movements over a control, in its client coordinates.
  virtual void OnMouseMove(ControlId control, std::function<void(int x, int y)> handler) = 0;

  virtual void SetText(ControlId control, std::string_view text) = 0;
  /// The control's text as shown; what the user typed that the code page
  /// cannot hold is kUnheldCharacter, never a look-alike.
  virtual std::string Text(ControlId control) = 0;
  virtual void SetVisible(ControlId control, bool visible) = 0;
  virtual bool IsVisible(ControlId control) = 0;
  virtual void SetEnabled(ControlId control, bool enabled) = 0;
  virtual bool IsEnabled(ControlId control) = 0;
  /// Check boxes and radio buttons; checking a radio button unchecks the others.
  virtual void SetChecked(ControlId control, bool checked) = 0;
  virtual bool IsChecked(ControlId control) = 0;
  virtual void SetHint(ControlId control, std::string_view hint) = 0;
  virtual std::string Hint(ControlId control) = 0;
  /// Glyph buttons: flat (true) or raised.
  virtual void SetFlat(ControlId control, bool flat) = 0;
  /// Shows the control's hint, and that of the controls inside it, as a tooltip too.
  virtual void EnableTooltip(ControlId control) = 0;
  /// Loads a .bmp, .ico, .wmf or .emf file into a picture; throws ToolkitError
  /// when the file cannot be loaded.
  virtual void LoadPicture(ControlId control, const std::string& path) = 0;
  /// Replaces a memo's lines; throws ToolkitError("Text exceeds memo capacity")
  /// only when the control cannot take the text.
  virtual void SetLines(ControlId control, const std::vector<std::string>& lines) = 0;
  virtual std::vector<std::string> Lines(ControlId control) = 0;

  virtual void ClearItems(ControlId list) = 0;
  virtual void AddItem(ControlId list, std::string_view text, bool checked) = 0;
  virtual int ItemCount(ControlId list) = 0;
  virtual std::string ItemText(ControlId list, int index) = 0;
  virtual bool IsItemChecked(ControlId list, int index) = 0;
  virtual void SetItemChecked(ControlId list, int index, bool checked) = 0;
  /// The index of the item at a point in the list's client coordinates; -1
  /// for the empty area below the items.
  virtual int ItemAt(ControlId list, int x, int y) = 0;

  virtual void SetProgressMax(ControlId bar, int maximum) = 0;
  virtual void SetProgressPosition(ControlId bar, int position) = 0;
};

/// The windowing system: makes windows, shows message boxes and the folder
/// picker, opens links, tracks the hint and runs the program's message loop.
class Toolkit {
 public:
  virtual ~Toolkit() = default;

  /// The application title, the caption of error reports.
  virtual void SetTitle(std::string_view title) = 0;
  /// Makes a hidden window; an owned window stays above its owner.
  virtual std::unique_ptr<Window> CreateForm(const FormSpec& spec, Window* owner) = 0;
  /// A modal message box; returns the button pressed (kIdOk, kIdYes, kIdNo).
  virtual int ShowMessage(Window* owner, std::string_view text, std::string_view caption, unsigned style) = 0;
  /// The system's folder picker; the chosen file-system path, or nothing
  /// when cancelled or when the choice is not a file-system folder. A
  /// character the code page cannot hold is kUnheldCharacter (HeldExactly).
  virtual std::optional<std::string> BrowseForFolder(Window& owner, std::string_view instruction) = 0;
  /// Asks the shell to open a link or file; failures are not reported.
  virtual void ShellOpen(Window& owner, std::string_view target) = 0;
  /// Called whenever the application's hint (the hint of the control under
  /// the pointer or of its nearest enclosing control that has one, the part
  /// after a '|') changes.
  virtual void SetHintHandler(std::function<void(const std::string& hint)> handler) = 0;
  /// Ends the program once the current handler returns to the message loop;
  /// no close request runs.
  virtual void RequestEnd() = 0;
  /// Shows the main window (running its show handler first) and runs the
  /// message loop until the end is requested or the main window closes.
  virtual void Run(Window& main) = 0;
};

}  // namespace setup
