#include "ui/headless/headless_toolkit.h"

#include <algorithm>

#include "ui/picture_format.h"

namespace setup {

HeadlessWindow::HeadlessWindow(HeadlessToolkit& toolkit, const FormSpec& spec, Window* owner)
    : toolkit_(toolkit),
      spec_(spec),
      model_(spec),
      owner_(owner),
      caption_(spec.caption),
      outer_width_(spec.client_width),
      outer_height_(spec.client_height) {
  for (const ControlSpec& control : spec.controls) {
    ControlState state;
    state.text = control.text;
    state.checked = (control.style & kStyleChecked) != 0;
    state.enabled = (control.style & kStyleDisabled) == 0;
    controls_.push_back(std::move(state));
  }
}

HeadlessWindow::~HeadlessWindow() { toolkit_.Forget(this); }

void HeadlessWindow::Click(ControlId control) {
  if (!window_enabled_ || !At(control).visible || !At(control).enabled) return;
  ControlKind kind = spec_.controls[control].kind;
  if (kind == ControlKind::kCheckBox) At(control).checked = !At(control).checked;
  if (kind == ControlKind::kRadioButton) SetChecked(control, true);
  auto handler = on_click_.find(control);
  if (handler != on_click_.end()) handler->second();
}

void HeadlessWindow::MovePointer(ControlId control, int x, int y) {
  auto handler = on_mouse_move_.find(control);
  if (handler != on_mouse_move_.end()) handler->second(x, y);
  toolkit_.UpdateHint(*this, control);
}

void HeadlessWindow::Show() {
  if (!shown_before_) {
    shown_before_ = true;
    if (on_show_) on_show_();
  }
  visible_ = true;
  if (spec_.centred) centred_ = true;
  toolkit_.events_.push_back("show " + std::string(spec_.class_name));
}

void HeadlessWindow::Hide() {
  visible_ = false;
  toolkit_.events_.push_back("hide " + std::string(spec_.class_name));
}

int HeadlessWindow::ShowModal() {
  toolkit_.events_.push_back("modal " + std::string(spec_.class_name));
  visible_ = true;
  if (spec_.centred) centred_ = true;
  in_modal_ = true;
  modal_result_ = kModalCancel;
  if (toolkit_.modal_script_) toolkit_.modal_script_(*this);
  in_modal_ = false;
  visible_ = false;
  return modal_result_;
}

void HeadlessWindow::EndModal(int result) {
  if (in_modal_) modal_result_ = result;
  in_modal_ = false;
}

void HeadlessWindow::Close() {
  if (on_close_query_ && !on_close_query_()) return;
  if (on_close_) on_close_();
  visible_ = false;
  toolkit_.events_.push_back("closed " + std::string(spec_.class_name));
}

void HeadlessWindow::SetOuterSize(int width, int height) {
  outer_width_ = std::max(width, spec_.min_outer_width);
  outer_height_ = std::max(height, spec_.min_outer_height);
}

void HeadlessWindow::SetWindowEnabled(bool enabled) {
  window_enabled_ = enabled;
  toolkit_.events_.push_back((enabled ? "enable " : "disable ") + std::string(spec_.class_name));
}

void HeadlessWindow::Activate() {
  if (visible_) toolkit_.events_.push_back("activate " + std::string(spec_.class_name));
}

void HeadlessWindow::ProcessPendingMessages() {
  ++pending_message_rounds_;
  if (on_pending_messages_) on_pending_messages_(*this);
}

void HeadlessWindow::OnClick(ControlId control, std::function<void()> handler) {
  on_click_[control] = std::move(handler);
}

void HeadlessWindow::OnMouseMove(ControlId control, std::function<void(int, int)> handler) {
  on_mouse_move_[control] = std::move(handler);
}

void HeadlessWindow::SetChecked(ControlId control, bool checked) {
  if (checked) {
    for (ControlId other : model_.RadioButtonsUncheckedBy(control)) controls_[other].checked = false;
  }
  At(control).checked = checked;
}

void HeadlessWindow::LoadPicture(ControlId control, const std::string& path) {
  PictureFormatOf(path);
  At(control).picture = path;
}

void HeadlessWindow::SetLines(ControlId control, const std::vector<std::string>& lines) {
  At(control).lines = MemoLines(MemoText(lines));
}

void HeadlessWindow::AddItem(ControlId list, std::string_view text, bool checked) {
  At(list).items.emplace_back(std::string(text), checked);
}

void HeadlessWindow::SetItemChecked(ControlId list, int index, bool checked) {
  At(list).items.at(index).second = checked;
}

int HeadlessWindow::ItemAt(ControlId list, int /*x*/, int y) {
  if (y < 0) return -1;
  int index = y / 13;
  return index < ItemCount(list) ? index : -1;
}

HeadlessWindow* HeadlessToolkit::Find(std::string_view class_name) {
  for (HeadlessWindow* window : windows_)
    if (window->Spec().class_name == class_name) return window;
  return nullptr;
}

void HeadlessToolkit::UpdateHint(HeadlessWindow& window, ControlId control) {
  std::string hint = window.Model().ShownHintOf(control);
  if (hint == current_hint_) return;
  current_hint_ = hint;
  hints_.push_back(hint);
  if (hint_handler_) hint_handler_(hint);
}

std::unique_ptr<Window> HeadlessToolkit::CreateForm(const FormSpec& spec, Window* owner) {
  auto window = std::make_unique<HeadlessWindow>(*this, spec, owner);
  windows_.push_back(window.get());
  return window;
}

int HeadlessToolkit::ShowMessage(Window* owner, std::string_view text, std::string_view caption, unsigned style) {
  ShownMessage message{std::string(text), std::string(caption), style, owner != nullptr};
  messages_.push_back(message);
  events_.push_back("message: " + message.text);
  if (answer_message_) return answer_message_(message);
  return (style & 0xF) == kMbYesNo ? kIdNo : kIdOk;
}

std::optional<std::string> HeadlessToolkit::BrowseForFolder(Window& /*owner*/, std::string_view instruction) {
  browse_instructions_.emplace_back(instruction);
  return browse_answer_;
}

void HeadlessToolkit::ShellOpen(Window& /*owner*/, std::string_view target) { opened_.emplace_back(target); }

void HeadlessToolkit::RequestEnd() {
  end_requested_ = true;
  events_.push_back("end");
}

void HeadlessToolkit::Run(Window& main) {
  running_ = true;
  main.Show();
}

void HeadlessToolkit::Forget(HeadlessWindow* window) { std::erase(windows_, window); }

}  // namespace setup
