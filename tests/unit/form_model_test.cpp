#include "ui/form_model.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace setup {
namespace {

constexpr auto kLabel = ControlKind::kLabel;
constexpr auto kButton = ControlKind::kButton;
constexpr auto kPanel = ControlKind::kPanel;
constexpr auto kRadio = ControlKind::kRadioButton;

// A window of 300 x 200 with a panel of 100 x 80 holding a panel of 50 x 40.
constexpr ControlSpec kControls[] = {
    // name, kind, parent, left, top, width, height, anchors, text, hint, tab order, style
    {"Outer", kPanel, "", 10, 10, 100, 80, kAnchorAll, "", "Outer|About the outer panel", -1, kStyleNone},
    {"Inner", kPanel, "Outer", 5, 5, 50, 40, kAnchorLeftTop, "", "", -1, kStyleNone},
    {"Deep", kButton, "Inner", 1, 1, 20, 10, kAnchorLeftTop, "", "", 4, kStyleNone},
    {"Near", kButton, "Outer", 60, 5, 20, 10, kAnchorLeftTop, "", "Own", 6, kStyleDefaultButton},
    {"Glyph", ControlKind::kGlyphButton, "", 120, 10, 22, 22, kAnchorLeftTop, "", "", 0, kStyleNone},
    {"First", kButton, "", 150, 10, 60, 20, kAnchorLeftTop, "", "", 1, kStyleInitialFocus},
    {"Yes", kRadio, "", 150, 40, 60, 20, kAnchorLeftTop, "", "", 2, kStyleNone},
    {"No", kRadio, "", 150, 60, 60, 20, kAnchorLeftTop, "", "", 3, kStyleNone},
    {"Note", kLabel, "", 150, 90, 60, 13, kAnchorLeftTop, "", "", -1, kStyleAlignRight},
    {"Late", kButton, "", 150, 110, 60, 20, kAnchorLeftTop, "", "", 5, kStyleDefaultButton | kStyleInitialFocus},
    {"Maybe", kRadio, "", 150, 140, 60, 20, kAnchorLeftTop, "", "", -1, kStyleNone},
    {"Status", ControlKind::kStatusBar, "", 0, 180, 300, 20, kAnchorLeftTop, "", "", -1, kStyleNone},
};
constexpr FormSpec kForm = {"TTestForm", "", 300, 200, 0, 0, BorderStyle::kSizeable, false, false, kControls};
enum : ControlId { Outer, Inner, Deep, Near, Glyph, First, Yes, No, Note, Late, Maybe, Status };

TEST(FormModelTest, ParentsAreResolvedOnceAndMustBePanels) {
  FormModel model(kForm);
  EXPECT_EQ(model.Parent(Outer), -1);
  EXPECT_EQ(model.Parent(Inner), Outer);
  EXPECT_EQ(model.Parent(Deep), Inner);
  EXPECT_EQ(model.Parent(Near), Outer);
  EXPECT_THROW(model.Parent(12), FormSpecError);

  constexpr ControlSpec kUnknown[] = {{"A", kLabel, "Nowhere", 0, 0, 1, 1, 0, "", "", -1, 0}};
  constexpr ControlSpec kNotPanel[] = {{"A", kLabel, "", 0, 0, 1, 1, 0, "", "", -1, 0},
                                       {"B", kLabel, "A", 0, 0, 1, 1, 0, "", "", -1, 0}};
  constexpr ControlSpec kRing[] = {{"A", kPanel, "B", 0, 0, 1, 1, 0, "", "", -1, 0},
                                   {"B", kPanel, "A", 0, 0, 1, 1, 0, "", "", -1, 0}};
  for (std::span<const ControlSpec> controls :
       {std::span<const ControlSpec>(kUnknown), std::span<const ControlSpec>(kNotPanel),
        std::span<const ControlSpec>(kRing)}) {
    FormSpec form = kForm;
    form.controls = controls;
    EXPECT_THROW(FormModel{form}, FormSpecError) << controls.size();
  }
}

TEST(FormModelTest, AnchorsKeepDistancesToTheirEdges) {
  struct Case {
    std::uint32_t anchors;
    int parent_width, parent_height;
    Bounds placed;
  } cases[] = {
      {kAnchorLeftTop, 400, 300, {10, 20, 30, 40}},
      {kAnchorRight | kAnchorBottom, 400, 300, {110, 120, 30, 40}},
      {kAnchorLeft | kAnchorRight, 400, 300, {10, 70, 130, 40}},
      {kAnchorAll, 250, 220, {10, 20, 0, 60}},  // stretched, never below zero
      {0, 401, 303, {60, 71, 30, 40}},          // no anchor: stays put relative to the centre
      {kAnchorTop | kAnchorBottom, 200, 150, {-40, 20, 30, 0}},
      {kAnchorTop, 299, 200, {10, 20, 30, 40}},  // no horizontal anchor, shrunk by one: -1 / 2 is 0
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AnchoredBounds({10, 20, 30, 40}, c.anchors, 300, 200, c.parent_width, c.parent_height), c.placed)
        << c.anchors << " " << c.parent_width << "x" << c.parent_height;
  }
}

TEST(FormModelTest, PlacementFollowsTheParentsDesignedSize) {
  FormModel model(kForm);
  EXPECT_EQ(model.Place(Outer, 400, 250), (Bounds{10, 10, 200, 130}));
  EXPECT_EQ(model.Place(Inner, 200, 130), (Bounds{5, 5, 50, 40}));  // measured against Outer's 100 x 80
  EXPECT_EQ(model.PlaceAsDesigned(Outer), (Bounds{10, 10, 100, 80}));
  EXPECT_EQ(model.Place(Status, 500, 400), (Bounds{0, 380, 500, 20}));
  EXPECT_EQ(model.PlaceAsDesigned(Status), (Bounds{0, 180, 300, 20}));

  model.Resize(Note, 45, 15);  // right-aligned: keeps its right edge at 210
  EXPECT_EQ(model.PlaceAsDesigned(Note), (Bounds{165, 90, 45, 15}));
  model.Resize(First, 80, 20);
  EXPECT_EQ(model.PlaceAsDesigned(First), (Bounds{150, 10, 80, 20}));
}

TEST(FormModelTest, TabVisitsPanelsWhereTheirFirstControlStands) {
  FormModel model(kForm);
  EXPECT_EQ(model.TabOrder(Glyph), -1);
  EXPECT_EQ(model.TabSequence(-1), (std::vector<ControlId>{First, Yes, No, Outer, Late, Glyph, Note, Maybe, Status}));
  EXPECT_EQ(model.TabSequence(Outer), (std::vector<ControlId>{Inner, Near}));
  EXPECT_EQ(model.TabSequence(Inner), (std::vector<ControlId>{Deep}));
  EXPECT_EQ(model.DesignedDefaultButton(), Near);
  EXPECT_EQ(model.InitialFocus(), First);
}

TEST(FormModelTest, RadioButtonsFormOneGroupPerWindow) {
  FormModel model(kForm);
  EXPECT_EQ(model.RadioButtonsUncheckedBy(Yes), (std::vector<ControlId>{No, Maybe}));
  EXPECT_EQ(model.RadioButtonsUncheckedBy(Maybe), (std::vector<ControlId>{Yes, No}));
  EXPECT_TRUE(model.RadioButtonsUncheckedBy(First).empty());
  // For the arrow keys only radio buttons that follow one another go together.
  std::vector<bool> starts;
  for (ControlId id = First; id <= Maybe; ++id) starts.push_back(model.StartsGroup(id));
  EXPECT_EQ(starts, (std::vector<bool>{true, true, false, true, true, true}));
}

TEST(FormModelTest, HintComesFromTheNearestControlThatHasOne) {
  FormModel model(kForm);
  struct Case {
    ControlId control;
    const char* shown;
  } cases[] = {{Deep, "About the outer panel"}, {Inner, "About the outer panel"}, {Near, "Own"}, {First, ""}};
  for (const Case& c : cases) EXPECT_EQ(model.ShownHintOf(c.control), c.shown) << c.control;
  model.SetHint(Inner, "a|b|c");
  EXPECT_EQ(model.ShownHintOf(Deep), "b|c");
  EXPECT_EQ(model.Hint(Inner), "a|b|c");
  model.SetHint(Inner, "|");
  EXPECT_EQ(model.ShownHintOf(Deep), "");  // a hint of its own, shown empty: the panel's is not reached

  EXPECT_FALSE(model.ShowsTooltip(Deep));
  model.EnableTooltip(Inner);
  EXPECT_TRUE(model.ShowsTooltip(Deep));
  EXPECT_TRUE(model.ShowsTooltip(Inner));
  EXPECT_FALSE(model.ShowsTooltip(Outer));
  EXPECT_FALSE(model.ShowsTooltip(Near));
}

TEST(FormModelTest, MemoLinesRoundTrip) {
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},         {"one", {"one"}},     {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"a\r\n", {"a"}}, {"a\n\n", {"a", ""}}, {"a\n\rb", {"a", "", "b"}},
  };
  for (const Case& c : cases) EXPECT_EQ(MemoLines(c.text), c.lines) << c.text;
  EXPECT_EQ(MemoText({"a", "", "b"}), "a\r\n\r\nb");
  EXPECT_EQ(MemoLines(MemoText({"one\ntwo", ""})), (std::vector<std::string>{"one", "two"}));
}

}  // namespace
}  // namespace setup
