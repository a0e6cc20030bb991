#include "ui/form_model.h"

#include <algorithm>
#include <climits>

namespace setup {
namespace {

// One axis of AnchoredBounds.
void PlaceAxis(bool near_edge, bool far_edge, int grow, int& start, int& size) {
  if (near_edge && far_edge) {
    size = std::max(size + grow, 0);
  } else if (far_edge) {
    start += grow;
  } else if (!near_edge) {
    start += grow / 2;
  }
}

}  // namespace

Bounds AnchoredBounds(const Bounds& designed, std::uint32_t anchors, int designed_parent_width,
                      int designed_parent_height, int parent_width, int parent_height) {
  Bounds placed = designed;
  PlaceAxis(anchors & kAnchorLeft, anchors & kAnchorRight, parent_width - designed_parent_width, placed.left,
            placed.width);
  PlaceAxis(anchors & kAnchorTop, anchors & kAnchorBottom, parent_height - designed_parent_height, placed.top,
            placed.height);
  return placed;
}

std::string_view ShownHint(std::string_view hint) {
  std::size_t bar = hint.find('|');
  return bar == std::string_view::npos ? hint : hint.substr(bar + 1);
}

std::string MemoText(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

std::vector<std::string> MemoLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    std::size_t end = text.find_first_of("\r\n");
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(0, end));
    std::size_t skip = text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
    text.remove_prefix(std::min(end + skip, text.size()));
  }
  return lines;
}

FormModel::FormModel(const FormSpec& spec) : spec_(spec), nodes_(spec.controls.size()) {
  for (std::size_t i = 0; i < nodes_.size(); ++i) {
    const ControlSpec& row = spec.controls[i];
    ControlNode& node = nodes_[i];
    node.designed = {row.left, row.top, row.width, row.height};
    node.designed_parent_width = spec.client_width;
    node.designed_parent_height = spec.client_height;
    node.hint = row.hint;
    if (row.parent.empty()) continue;
    auto panel = std::find_if(spec.controls.begin(), spec.controls.end(), [&](const ControlSpec& other) {
      return other.name == row.parent && other.kind == ControlKind::kPanel;
    });
    if (panel == spec.controls.end())
      throw FormSpecError("Control " + std::string(row.name) + " names an unknown panel");
    node.parent = static_cast<ControlId>(panel - spec.controls.begin());
    node.designed_parent_width = panel->width;
    node.designed_parent_height = panel->height;
  }
  // Every walk up the tree (hints, tooltips, Tab keys) must reach the window.
  for (ControlId id = 0; id < size(); ++id) {
    int steps = 0;
    for (ControlId at = nodes_[id].parent; at >= 0; at = nodes_[at].parent) {
      if (++steps > size())
        throw FormSpecError("Control " + std::string(spec.controls[id].name) + " lies in a ring of panels");
    }
  }
}

FormModel::ControlNode& FormModel::Node(ControlId id) {
  return const_cast<ControlNode&>(static_cast<const FormModel&>(*this).Node(id));
}

const FormModel::ControlNode& FormModel::Node(ControlId id) const {
  if (id < 0 || id >= size()) throw FormSpecError("No control " + std::to_string(id));
  return nodes_[id];
}

const ControlSpec& FormModel::Row(ControlId id) const {
  Node(id);
  return spec_.controls[id];
}

Bounds FormModel::Place(ControlId id, int parent_width, int parent_height) const {
  const ControlNode& node = Node(id);
  if (Row(id).kind == ControlKind::kStatusBar) {
    return {0, parent_height - node.designed.height, parent_width, node.designed.height};
  }
  return AnchoredBounds(node.designed, Row(id).anchors, node.designed_parent_width, node.designed_parent_height,
                        parent_width, parent_height);
}

Bounds FormModel::PlaceAsDesigned(ControlId id) const {
  return Place(id, Node(id).designed_parent_width, Node(id).designed_parent_height);
}

void FormModel::Resize(ControlId id, int width, int height) {
  Bounds& designed = Node(id).designed;
  if (Row(id).style & kStyleAlignRight) designed.left += designed.width - width;
  designed.width = width;
  designed.height = height;
}

int FormModel::TabOrder(ControlId id) const {
  const ControlSpec& row = Row(id);
  return row.kind == ControlKind::kGlyphButton ? -1 : row.tab_order;
}

// A control's place in the Tab order; a panel's is the lowest inside it.
int FormModel::TabKey(ControlId id) const {
  if (Row(id).kind != ControlKind::kPanel) return TabOrder(id);
  int lowest = -1;
  for (ControlId child = 0; child < size(); ++child) {
    if (nodes_[child].parent != id) continue;
    int key = TabKey(child);
    if (key >= 0 && (lowest < 0 || key < lowest)) lowest = key;
  }
  return lowest;
}

std::vector<ControlId> FormModel::TabSequence(ControlId parent) const {
  std::vector<std::pair<int, ControlId>> children;  // (key, id)
  for (ControlId id = 0; id < size(); ++id) {
    if (nodes_[id].parent != parent) continue;
    int key = TabKey(id);
    children.emplace_back(key < 0 ? INT_MAX : key, id);
  }
  std::stable_sort(children.begin(), children.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<ControlId> sequence;
  for (const auto& child : children) sequence.push_back(child.second);
  return sequence;
}

bool FormModel::StartsGroup(ControlId id) const {
  return !(Row(id).kind == ControlKind::kRadioButton && id > 0 &&
           spec_.controls[id - 1].kind == ControlKind::kRadioButton);
}

ControlId FormModel::DesignedDefaultButton() const {
  for (ControlId id = 0; id < size(); ++id) {
    if (spec_.controls[id].kind == ControlKind::kButton && (spec_.controls[id].style & kStyleDefaultButton)) return id;
  }
  return -1;
}

ControlId FormModel::InitialFocus() const {
  for (ControlId id = 0; id < size(); ++id) {
    if (spec_.controls[id].style & kStyleInitialFocus) return id;
  }
  return -1;
}

std::vector<ControlId> FormModel::RadioButtonsUncheckedBy(ControlId id) const {
  std::vector<ControlId> others;
  if (Row(id).kind != ControlKind::kRadioButton) return others;
  for (ControlId other = 0; other < size(); ++other) {
    if (other != id && spec_.controls[other].kind == ControlKind::kRadioButton) others.push_back(other);
  }
  return others;
}

std::string FormModel::ShownHintOf(ControlId id) const {
  for (ControlId at = id; at >= 0; at = Node(at).parent) {
    if (!nodes_[at].hint.empty()) return std::string(ShownHint(nodes_[at].hint));
  }
  return {};
}

bool FormModel::ShowsTooltip(ControlId id) const {
  for (ControlId at = id; at >= 0; at = Node(at).parent) {
    if (nodes_[at].tooltip) return true;
  }
  return false;
}

}  // namespace setup
