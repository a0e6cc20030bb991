#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/toolkit.h"

namespace setup {

/// A control's rectangle in its parent's client coordinates.
struct Bounds {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Bounds&) const = default;
};

/// Where a control lies once its parent's client area has grown (or shrunk)
/// from the designed size to the current one: an anchored edge keeps its
/// distance to that edge of the parent, both edges of an axis stretch the
/// control (never below zero), and no edge keeps its place relative to the
/// centre.
Bounds AnchoredBounds(const Bounds& designed, std::uint32_t anchors, int designed_parent_width,
                      int designed_parent_height, int parent_width, int parent_height);

/// The part of a hint that is shown: what follows the first '|', or all of it.
std::string_view ShownHint(std::string_view hint);

/// A memo's text from its lines: one CR LF between lines.
std::string MemoText(const std::vector<std::string>& lines);
/// A memo's lines from its text: CR LF, a lone CR and a lone LF each end a
/// line; a break at the very end adds no empty line.
std::vector<std::string> MemoLines(std::string_view text);

/// A form design that cannot be drawn (a control naming no panel, a ring of
/// panels) or an id outside the form: a fault of the program, not the user.
class FormSpecError : public TextError {
 public:
  using TextError::TextError;
};

/// The rules of a form that hold whatever draws it: the control tree, the
/// layout, the Tab order, radio groups, the designed default button and
/// focus, and the hints with their tooltips. Both toolkits keep one per
/// window, so each rule is written once.
class FormModel {
 public:
  /// Resolves every control's parent once; throws FormSpecError when a
  /// control names no panel of the form, or the panels enclose one another
  /// in a ring.
  explicit FormModel(const FormSpec& spec);

  /// The design the model was made from.
  const FormSpec& spec() const { return spec_; }
  /// The number of controls; their ids run from 0 to size() - 1.
  int size() const { return static_cast<int>(nodes_.size()); }
  /// The control's row; throws FormSpecError for an id outside the form.
  const ControlSpec& Row(ControlId id) const;
  /// The enclosing panel, or -1 for the window itself.
  ControlId Parent(ControlId id) const { return Node(id).parent; }

  /// The control's rectangle when its parent's client area has this size;
  /// the status bar always spans the bottom edge at its designed height.
  Bounds Place(ControlId id, int parent_width, int parent_height) const;
  /// The control's rectangle while its parent has the designed size.
  Bounds PlaceAsDesigned(ControlId id) const;
  /// Takes a new designed size (a label fitted to its text); a right-aligned
  /// control keeps its right edge and grows to the left.
  void Resize(ControlId id, int width, int height);

  /// The control's position in the Tab order; -1 when Tab passes it by
  /// (glyph buttons never take the focus).
  int TabOrder(ControlId id) const;
  /// The controls directly inside a parent (-1: the window) in the order
  /// Tab visits them: a panel stands where its first reachable control
  /// does, and what Tab never reaches comes last, in table order.
  std::vector<ControlId> TabSequence(ControlId parent) const;
  /// Whether the control starts a group for the arrow keys: radio buttons
  /// that follow one another form one group, every other control its own.
  bool StartsGroup(ControlId id) const;
  /// The first push button designed as the default; -1 when none is.
  ControlId DesignedDefaultButton() const;
  /// The first control designed to have the focus when the window opens; -1 when none is.
  ControlId InitialFocus() const;
  /// The radio buttons that checking this control unchecks: every other
  /// radio button of the window; none when the control is no radio button.
  std::vector<ControlId> RadioButtonsUncheckedBy(ControlId id) const;

  void SetHint(ControlId id, std::string_view hint) { Node(id).hint = hint; }
  /// The control's own hint, as designed or last set.
  const std::string& Hint(ControlId id) const { return Node(id).hint; }
  /// The hint shown for the control: its own or that of the nearest enclosing
  /// control that has one, only the part after a '|'; empty when none has one.
  std::string ShownHintOf(ControlId id) const;
  void EnableTooltip(ControlId id) { Node(id).tooltip = true; }
  /// Whether tooltips were switched on for this very control.
  bool TooltipEnabled(ControlId id) const { return Node(id).tooltip; }
  /// Whether the control shows its hint as a tooltip: switched on for it or
  /// for a control that encloses it.
  bool ShowsTooltip(ControlId id) const;

 private:
  struct ControlNode {
    ControlId parent = -1;
    Bounds designed;
    int designed_parent_width = 0, designed_parent_height = 0;
    std::string hint;
    bool tooltip = false;
  };
  ControlNode& Node(ControlId id);
  const ControlNode& Node(ControlId id) const;
  int TabKey(ControlId id) const;

  const FormSpec& spec_;
  std::vector<ControlNode> nodes_;
};

}  // namespace setup
