#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/form_model.h"
#include "ui/toolkit.h"
#include "ui/win32/win32_control.h"

namespace setup {

class Win32Toolkit;

/// A form as a top-level window: a struct of its controls plus a window
/// procedure that only unpacks messages and dispatches them. The rules of
/// the form are its FormModel's; the members are defined by concern:
///   win32_window.cpp            creation, window procedures, events
///   win32_modal_loop.cpp        showing, the modal loop, closing
///   win32_control_creation.cpp  the native controls and their layout
///   win32_controls.cpp          reading and setting the controls
///   win32_dialog_keys.cpp       focus, Tab and the default button
///   win32_glyph_button.cpp      the flat picture buttons
///   win32_tooltips.cpp          hints and tooltips
class Win32Window : public Window {
 public:
  Win32Window(Win32Toolkit& toolkit, const FormSpec& spec, HWND owner);
  ~Win32Window() override;
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  HWND Handle() const { return hwnd_; }
  /// The hint for a window of this form (the deepest one under the pointer):
  /// that of its control or of the nearest enclosing one that has a hint.
  std::string HintFor(HWND hwnd) const;
  /// Gives the default-button look back to the button Enter presses: Wine's
  /// dialog manager takes it from every button when Tab moves the focus.
  void ReapplyDefaultButton();

  void Show() override;
  void Hide() override;
  bool IsVisible() override;
  void RepaintNow() override;
  int ShowModal() override;
  void EndModal(int result) override;
  void Close() override;
  void SetCaption(std::string_view caption) override;
  std::string Caption() override;
  void SetOuterSize(int width, int height) override;
  int OuterWidth() override;
  int OuterHeight() override;
  void SetWindowEnabled(bool enabled) override;
  void Activate() override;
  void ProcessPendingMessages() override;

  void OnShow(std::function<void()> handler) override;
  void OnCloseQuery(std::function<bool()> handler) override;
  void OnClose(std::function<void()> handler) override;
  void OnClick(ControlId control, std::function<void()> handler) override;
  void OnMouseMove(ControlId control, std::function<void(int x, int y)> handler) override;

  void SetText(ControlId control, std::string_view text) override;
  std::string Text(ControlId control) override;
  void SetVisible(ControlId control, bool visible) override;
  bool IsVisible(ControlId control) override;
  void SetEnabled(ControlId control, bool enabled) override;
  bool IsEnabled(ControlId control) override;
  void SetChecked(ControlId control, bool checked) override;
  bool IsChecked(ControlId control) override;
  void SetHint(ControlId control, std::string_view hint) override;
  std::string Hint(ControlId control) override;
  void SetFlat(ControlId control, bool flat) override;
  void EnableTooltip(ControlId control) override;
  void LoadPicture(ControlId control, const std::string& path) override;
  void SetLines(ControlId control, const std::vector<std::string>& lines) override;
  std::vector<std::string> Lines(ControlId control) override;

  void ClearItems(ControlId list) override;
  void AddItem(ControlId list, std::string_view text, bool checked) override;
  int ItemCount(ControlId list) override;
  std::string ItemText(ControlId list, int index) override;
  bool IsItemChecked(ControlId list, int index) override;
  void SetItemChecked(ControlId list, int index, bool checked) override;
  int ItemAt(ControlId list, int x, int y) override;

  void SetProgressMax(ControlId bar, int maximum) override;
  void SetProgressPosition(ControlId bar, int position) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  // Panels and pictures: windows of our own classes.
  static LRESULT CALLBACK OwnControlProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  // Native controls, subclassed.
  static LRESULT CALLBACK NativeControlProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleOwnControlMessage(Win32Control& control, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleNativeControlMessage(Win32Control& control, UINT message, WPARAM wparam, LPARAM lparam);

  // Events, named as the messages that bring them.
  void OnCommand(int id, int code);
  LRESULT OnNotify(const NMHDR& header);
  LRESULT OnCtlColor(UINT message, HDC dc, HWND control_hwnd);
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  void OnSize(ControlId parent, int width, int height);
  bool OnActivate(bool active);  // true: the focus went back to a control
  LRESULT OnGetDefaultId() const;
  void OnCloseMessage();
  void OnNextDialogControl(WPARAM wparam, LPARAM lparam);
  void OnDeferredClick(ControlId index);
  void OnGlyphButtonMouse(Win32Control& control, UINT message, LPARAM lparam);
  void OnMouseMoveMessage(Win32Control& control, LPARAM lparam);
  void PaintOwnControl(Win32Control& control);

  void CreateControls();
  void CreateControl(ControlId index, std::vector<bool>& created);
  void ArrangeTabOrder();
  void FitAutoSize(Win32Control& control);
  void FitListColumn(Win32Control& control);
  void MoveTo(Win32Control& control, int parent_width, int parent_height);
  void RepaintUnder(Win32Control& control);
  void SetDefaultButton(ControlId index);
  void RunShowHandlerOnce();
  void Centre();
  void FocusFirstControl();
  void DoClose();
  void UpdateTooltips();
  // Runs a handler from inside a window procedure, where no exception may pass.
  void Guard(std::function<void()> handler);
  void UncheckOtherRadioButtons(ControlId index);

  Win32Control& ControlAt(ControlId id);
  Win32Control* ControlOf(HWND hwnd) const;
  HWND ParentHandle(const Win32Control& control) const;

  Win32Toolkit& toolkit_;
  FormModel model_;
  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
  bool centred_ = false;
  std::vector<Win32Control> controls_;
  ControlId current_default_ = -1;  // the button Enter presses now
  HWND saved_focus_ = nullptr;
  bool shown_before_ = false;
  bool in_modal_ = false;
  int modal_result_ = 0;
  bool destroying_ = false;

  std::function<void()> on_show_;
  std::function<bool()> on_close_query_;
  std::function<void()> on_close_;
};

}  // namespace setup
