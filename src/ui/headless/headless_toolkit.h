#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/form_model.h"
#include "ui/toolkit.h"

namespace setup {

class HeadlessToolkit;

/// A window that only keeps state: tests read what the program set and play
/// the user's part through Click, MovePointer and the modal script.
class HeadlessWindow : public Window {
 public:
  struct ControlState {
    std::string text;
    bool visible = true;
    bool enabled = true;
    bool checked = false;
    bool flat = false;
    bool tooltip = false;
    std::string picture;  // path of the loaded picture
    std::vector<std::string> lines;
    std::vector<std::pair<std::string, bool>> items;
    int progress_max = 100;
    int progress_position = 0;
  };

  HeadlessWindow(HeadlessToolkit& toolkit, const FormSpec& spec, Window* owner);
  ~HeadlessWindow() override;
  HeadlessWindow(const HeadlessWindow&) = delete;
  HeadlessWindow& operator=(const HeadlessWindow&) = delete;

  /// The user clicks a control: its handler runs when it is visible and enabled.
  void Click(ControlId control);
  /// The pointer moves over a control; the application hint follows.
  void MovePointer(ControlId control, int x, int y);
  const ControlState& State(ControlId control) const { return controls_.at(control); }
  const FormSpec& Spec() const { return spec_; }
  const FormModel& Model() const { return model_; }
  Window* Owner() const { return owner_; }
  bool centred_ = false;  // shown at least once, centred as its design asks
  int repaints_ = 0;
  bool window_enabled_ = true;
  int pending_message_rounds_ = 0;
  /// Plays the user's part while the program lets this window handle input.
  std::function<void(HeadlessWindow&)> on_pending_messages_;

  void Show() override;
  void Hide() override;
  bool IsVisible() override { return visible_; }
  void RepaintNow() override { ++repaints_; }
  int ShowModal() override;
  void EndModal(int result) override;
  void Close() override;
  void SetCaption(std::string_view caption) override { caption_ = caption; }
  std::string Caption() override { return caption_; }
  void SetOuterSize(int width, int height) override;
  int OuterWidth() override { return outer_width_; }
  int OuterHeight() override { return outer_height_; }
  void SetWindowEnabled(bool enabled) override;
  void Activate() override;
  void ProcessPendingMessages() override;

  void OnShow(std::function<void()> handler) override { on_show_ = std::move(handler); }
  void OnCloseQuery(std::function<bool()> handler) override { on_close_query_ = std::move(handler); }
  void OnClose(std::function<void()> handler) override { on_close_ = std::move(handler); }
  void OnClick(ControlId control, std::function<void()> handler) override;
  void OnMouseMove(ControlId control, std::function<void(int, int)> handler) override;

  void SetText(ControlId control, std::string_view text) override { At(control).text = text; }
  std::string Text(ControlId control) override { return At(control).text; }
  void SetVisible(ControlId control, bool visible) override { At(control).visible = visible; }
  bool IsVisible(ControlId control) override { return At(control).visible; }
  void SetEnabled(ControlId control, bool enabled) override { At(control).enabled = enabled; }
  bool IsEnabled(ControlId control) override { return At(control).enabled; }
  void SetChecked(ControlId control, bool checked) override;
  bool IsChecked(ControlId control) override { return At(control).checked; }
  void SetHint(ControlId control, std::string_view hint) override { model_.SetHint(control, hint); }
  std::string Hint(ControlId control) override { return model_.Hint(control); }
  void SetFlat(ControlId control, bool flat) override { At(control).flat = flat; }
  void EnableTooltip(ControlId control) override { At(control).tooltip = true; }
  void LoadPicture(ControlId control, const std::string& path) override;
  /// Keeps the lines as a real memo gives them back.
  void SetLines(ControlId control, const std::vector<std::string>& lines) override;
  std::vector<std::string> Lines(ControlId control) override { return At(control).lines; }

  void ClearItems(ControlId list) override { At(list).items.clear(); }
  void AddItem(ControlId list, std::string_view text, bool checked) override;
  int ItemCount(ControlId list) override { return static_cast<int>(At(list).items.size()); }
  std::string ItemText(ControlId list, int index) override { return At(list).items.at(index).first; }
  bool IsItemChecked(ControlId list, int index) override { return At(list).items.at(index).second; }
  void SetItemChecked(ControlId list, int index, bool checked) override;
  /// Items are 13 pixels high from the top of the list.
  int ItemAt(ControlId list, int x, int y) override;

  void SetProgressMax(ControlId bar, int maximum) override { At(bar).progress_max = maximum; }
  void SetProgressPosition(ControlId bar, int position) override { At(bar).progress_position = position; }

 private:
  ControlState& At(ControlId control) { return controls_.at(control); }

  HeadlessToolkit& toolkit_;
  const FormSpec& spec_;
  FormModel model_;
  Window* owner_;
  std::vector<ControlState> controls_;
  std::map<ControlId, std::function<void()>> on_click_;
  std::map<ControlId, std::function<void(int, int)>> on_mouse_move_;
  std::function<void()> on_show_;
  std::function<bool()> on_close_query_;
  std::function<void()> on_close_;
  std::string caption_;
  bool visible_ = false;
  bool shown_before_ = false;
  bool in_modal_ = false;
  int modal_result_ = 0;
  int outer_width_;
  int outer_height_;
};

/// A toolkit for tests: records message boxes and opened links, answers
/// through scripts, and logs what happens in order.
class HeadlessToolkit : public Toolkit {
 public:
  struct ShownMessage {
    std::string text;
    std::string caption;
    unsigned style;
    bool owned;  // shown over a window rather than with no owner
  };

  /// Answers message boxes; by default OK boxes answer kIdOk and Yes/No
  /// boxes kIdNo.
  std::function<int(const ShownMessage&)> answer_message_;
  /// Plays the user's part in a modal window; the window ends with
  /// kModalCancel unless the script ends it otherwise.
  std::function<void(HeadlessWindow&)> modal_script_;
  /// The folder the picker returns; nothing means the user cancels.
  std::optional<std::string> browse_answer_;

  std::vector<ShownMessage> messages_;
  std::vector<std::string> opened_;  // links and files given to the shell
  std::vector<std::string> browse_instructions_;
  // "message: <text>", "show <class>", "hide <class>", "modal <class>", "end",
  // "disable <class>", "enable <class>", "activate <class>"
  std::vector<std::string> events_;
  std::vector<std::string> hints_;        // every hint handed to the hint handler
  std::vector<HeadlessWindow*> windows_;  // in creation order
  std::string title_;
  bool end_requested_ = false;
  bool running_ = false;

  /// The window of a class, or nullptr.
  HeadlessWindow* Find(std::string_view class_name);
  /// Recomputes the application hint after the pointer moved over a control.
  void UpdateHint(HeadlessWindow& window, ControlId control);

  void SetTitle(std::string_view title) override { title_ = title; }
  std::unique_ptr<Window> CreateForm(const FormSpec& spec, Window* owner) override;
  int ShowMessage(Window* owner, std::string_view text, std::string_view caption, unsigned style) override;
  std::optional<std::string> BrowseForFolder(Window& owner, std::string_view instruction) override;
  void ShellOpen(Window& owner, std::string_view target) override;
  void SetHintHandler(std::function<void(const std::string&)> handler) override { hint_handler_ = std::move(handler); }
  void RequestEnd() override;
  /// Shows the main window and returns at once: the test is the message loop.
  void Run(Window& main) override;

  void Forget(HeadlessWindow* window);

 private:
  std::function<void(const std::string&)> hint_handler_;
  std::string current_hint_;
};

}  // namespace setup
