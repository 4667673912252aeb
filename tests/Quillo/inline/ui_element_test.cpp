#include "Quillo/inline/ui_element.h"

#include <gtest/gtest.h>

#include <regex>

#include "Quillo/inline/accessibility_access.h"
#include "Quillo/inline/event_type_description.h"
#include "headless_world.h"
#include "platform/accessibility/attributes.h"
#include "platform/accessibility/element_access.h"
#include "platform/foundation/uuid.h"

namespace Quillo {
namespace {

using desktop::AccessibleElement;
using desktop::AccessibleRange;
using foundation::Point;
using foundation::Rect;
using foundation::Size;

class UIElementTest : public ::testing::Test {
 protected:
  // A frontmost application whose focused element is a text area.
  ax::Element focusedTextArea(AccessibleElement element) {
    const int pid = world.launchWithFocused("com.example.Editor", std::move(element), &elementId);
    world.desktop.setFrontmostApplication(pid);
    return ax::Element::inApplication(pid, elementId);
  }

  inline_test::HeadlessWorld world;
  int elementId = 0;
};

AccessibleElement textArea(std::string text = "hello", AccessibleRange selection = {5, 0}) {
  return AccessibleElement::text("AXTextArea", std::move(text), selection, {120, 80}, {400, 200});
}

TEST_F(UIElementTest, SnapshotReadsRoleFrameAndSubrole) {
  AccessibleElement element = textArea();
  element.subrole = "AXSearchField";
  const ax::Element handle = focusedTextArea(element);

  const auto snapshot = UIElement::fromElement(handle);
  ASSERT_NE(snapshot, nullptr);
  EXPECT_EQ(snapshot->role, "AXTextArea");
  EXPECT_EQ(snapshot->subrole, "AXSearchField");
  EXPECT_EQ(snapshot->position, (Point{120, 80}));
  EXPECT_EQ(snapshot->size, (Size{400, 200}));
  EXPECT_EQ(snapshot->ref, handle);
  EXPECT_TRUE(foundation::UUID::parse(snapshot->id).has_value());
  EXPECT_EQ(snapshot->value, std::nullopt);
  EXPECT_EQ(snapshot->actions, std::nullopt);
  EXPECT_EQ(snapshot->selectedTextBounds, std::nullopt);
  EXPECT_NE(UIElement::fromElement(handle)->id, snapshot->id);
}

TEST_F(UIElementTest, SnapshotWithoutSubroleDescribesItAsNil) {
  const auto snapshot = UIElement::fromElement(focusedTextArea(textArea()));
  ASSERT_NE(snapshot, nullptr);
  EXPECT_EQ(snapshot->subrole, std::nullopt);
  EXPECT_NE(snapshot->debugDescription().find(", subrole=<nil>,"), std::string::npos);
}

TEST_F(UIElementTest, SnapshotFailsWhenAReadFailsOrHasTheWrongType) {
  struct Case {
    std::string name;
    std::function<void(AccessibleElement&)> change;
  };
  const Case cases[] = {
      {"no position (some menu items)", [](AccessibleElement& e) { e.position.reset(); }},
      {"no size", [](AccessibleElement& e) { e.size.reset(); }},
      {"no role", [](AccessibleElement& e) { e.role.clear(); }},
      {"role read fails", [](AccessibleElement& e) { e.failingAttributes["AXRole"] = -25204; }},
      {"role is a number",
       [](AccessibleElement& e) {
         e.role.clear();
         e.otherAttributes["AXRole"] = 3.0;
       }},
      {"the application does not answer", [](AccessibleElement& e) { e.failureOfEveryCall = -25204; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AccessibleElement element = textArea();
    c.change(element);
    EXPECT_EQ(UIElement::fromElement(focusedTextArea(element)), nullptr);
  }
}

TEST_F(UIElementTest, SnapshotOfAGoneApplicationOrWithoutPermissionFails) {
  const ax::Element handle = focusedTextArea(textArea());
  world.desktop.setPermissionGranted("accessibility", false);
  EXPECT_EQ(UIElement::fromElement(handle), nullptr);
  world.desktop.setPermissionGranted("accessibility", true);
  ASSERT_NE(UIElement::fromElement(handle), nullptr);
  world.desktop.removeApplication(handle.processIdentifier());
  EXPECT_EQ(UIElement::fromElement(handle), nullptr);
}

TEST_F(UIElementTest, SubroleOfAnotherTypeIsNone) {
  AccessibleElement element = textArea();
  element.otherAttributes["AXSubrole"] = true;
  const auto snapshot = UIElement::fromElement(focusedTextArea(element));
  ASSERT_NE(snapshot, nullptr);
  EXPECT_EQ(snapshot->subrole, std::nullopt);
}

TEST_F(UIElementTest, DebugDescriptionListsTheFieldsInOrder) {
  UIElement element("ID-1", std::nullopt, "AXTextField", "AXSecureTextField", {100, 2.5}, {300, 20}, "Name",
                    "typed", std::nullopt, std::nullopt, std::nullopt, std::nullopt, true,
                    std::vector<std::string>{"AXPress", "AXShowMenu"}, std::nullopt);
  EXPECT_EQ(element.debugDescription(),
            "id=ID-1, role=AXTextField, subrole=AXSecureTextField, frame=(100.0, 2.5, 300.0, 20.0), "
            "title=Name, description=<nil>, value=typed, attributes=<nil>, actions=[\"AXPress\", "
            "\"AXShowMenu\"]");
  EXPECT_EQ(element.parameterizedAttributes, std::nullopt);
  EXPECT_EQ(element.selectedTextRange, std::nullopt);
  EXPECT_EQ(element.selectedText, std::nullopt);
  EXPECT_EQ(element.selectedTextBounds, std::nullopt);
}

TEST_F(UIElementTest, FocusedElementIsReadThroughTheSystemWideElement) {
  const ax::Element handle = focusedTextArea(textArea());
  const auto focused = copyElementAttribute(ax::Element::systemWide(), ax::attribute::focusedUIElement);
  EXPECT_TRUE(focused.succeeded());
  EXPECT_EQ(focused.value, handle);

  world.accessibility().setFocusedElement(handle.processIdentifier(), std::nullopt);
  const auto none = copyElementAttribute(ax::Element::systemWide(), ax::attribute::focusedUIElement);
  EXPECT_EQ(none.error, ax::Error::noValue);
  EXPECT_EQ(none.value, std::nullopt);
}

TEST_F(UIElementTest, StringReaderGivesNoneForANumberAndTheErrorForAFailure) {
  AccessibleElement element = textArea();
  element.otherAttributes["AXInsertionPointLineNumber"] = 4.0;
  element.failingAttributes["AXTitle"] = -25204;
  const ax::Element handle = focusedTextArea(element);

  EXPECT_EQ(copyStringAttribute(handle, "AXInsertionPointLineNumber"),
            (AttributeRead<std::string>{ax::Error::success, std::nullopt}));
  EXPECT_EQ(copyStringAttribute(handle, ax::attribute::value),
            (AttributeRead<std::string>{ax::Error::success, "hello"}));
  EXPECT_EQ(copyStringAttribute(handle, ax::attribute::title).error, ax::Error::cannotComplete);
  EXPECT_EQ(copyStringAttribute(handle, "AXNoSuchThing").error, ax::Error::attributeUnsupported);
  EXPECT_EQ(copyRangeAttribute(handle, ax::attribute::value),
            (AttributeRead<ax::Range>{ax::Error::success, std::nullopt}));
}

TEST_F(UIElementTest, SelectedRangeCountsUtf16Units) {
  const std::string text = "a\U0001F9E0b";
  const ax::Element handle = focusedTextArea(textArea(text, {1, 2}));
  EXPECT_EQ(copyRangeAttribute(handle, ax::attribute::selectedTextRange).value, (ax::Range{1, 2}));
  EXPECT_EQ(copyStringAttribute(handle, ax::attribute::selectedText).value, "\U0001F9E0");
}

TEST_F(UIElementTest, BoundsForARangeOfText) {
  const ax::Element handle = focusedTextArea(textArea("ab\n+gpt hi\n", {11, 0}));
  // Line 1, columns 0 to 7, in the headless layout of 20-point lines and 8-point characters.
  EXPECT_EQ(copyBoundsForRange(handle, {3, 7}), Rect(120, 100, 56, 20));
  EXPECT_EQ(copyBoundsForRange(handle, {3, 70}), std::nullopt);
  EXPECT_EQ(copyBoundsForRange(handle, {-1, 0}), std::nullopt);

  world.accessibility().updateElement(handle.processIdentifier(), elementId, [](AccessibleElement& e) {
    e.failingAttributes["AXBoundsForRange"] = -25213;
  });
  EXPECT_EQ(copyBoundsForRange(handle, {3, 7}), std::nullopt);
}

TEST_F(UIElementTest, SeveralAttributesInOneCallBoxFailuresPerSlot) {
  AccessibleElement element = textArea();
  element.failingAttributes["AXTitle"] = -25204;
  const ax::Element handle = focusedTextArea(element);
  const auto values = copyMultipleAttributeValues(
      handle, {"AXRole", "AXTitle", "AXPosition", "AXSize", "AXSelectedTextRange", "AXSubrole"});
  ASSERT_TRUE(values.has_value());
  ASSERT_EQ(values->size(), 6u);
  EXPECT_EQ(std::get<ax::Object>((*values)[0]), ax::Object("AXTextArea"));
  EXPECT_EQ(std::get<ax::Error>((*values)[1]), ax::Error::cannotComplete);
  EXPECT_EQ(std::get<Point>((*values)[2]), (Point{120, 80}));
  EXPECT_EQ(std::get<Size>((*values)[3]), (Size{400, 200}));
  EXPECT_EQ(std::get<ax::Range>((*values)[4]), (ax::Range{5, 0}));
  EXPECT_EQ(std::get<ax::Error>((*values)[5]), ax::Error::noValue);

  world.desktop.removeApplication(handle.processIdentifier());
  EXPECT_EQ(copyMultipleAttributeValues(handle, {"AXRole"}), std::nullopt);
}

TEST_F(UIElementTest, ActionNames) {
  AccessibleElement element = textArea();
  element.actionNames = {"AXShowMenu", "AXConfirm"};
  const ax::Element handle = focusedTextArea(element);
  EXPECT_EQ(Quillo::copyActionNames(handle), (std::vector<std::string>{"AXShowMenu", "AXConfirm"}));
  world.accessibility().updateElement(handle.processIdentifier(), elementId,
                                      [](AccessibleElement& e) { e.failureOfEveryCall = -25204; });
  EXPECT_EQ(Quillo::copyActionNames(handle), std::nullopt);
}

TEST(AXValues, PackAndUnpack) {
  EXPECT_EQ(packAXValue(ax::Range{3, 4}), ax::Object(ax::Value(ax::Range{3, 4})));
  EXPECT_EQ(packAXValue(Point{1, 2}).value()->type(), ax::ValueType::point);
  EXPECT_EQ(packAXValue(Size{1, 2}).value()->type(), ax::ValueType::size);
  EXPECT_EQ(packAXValue(Rect(1, 2, 3, 4)).value()->type(), ax::ValueType::rect);
  EXPECT_EQ(packAXValue(true), ax::Object(true));
  EXPECT_EQ(packAXValue(std::string("text")), ax::Object("text"));

  EXPECT_EQ(std::get<Rect>(unpackAXValue(ax::Value(Rect(1, 2, 3, 4)))), Rect(1, 2, 3, 4));
  EXPECT_EQ(std::get<ax::Error>(unpackAXValue(ax::Value(ax::Error::noValue))), ax::Error::noValue);
  EXPECT_EQ(std::get<ax::Element>(unpackAXValue(ax::Element::application(7))), ax::Element::application(7));
  EXPECT_EQ(std::get<ax::Object>(unpackAXValue(ax::Object("text"))), ax::Object("text"));
  EXPECT_EQ(std::get<ax::Object>(unpackAXValue(ax::Object(ax::Object::Number{2}))),
            ax::Object(ax::Object::Number{2}));
  EXPECT_EQ(static_cast<int>(ax::ValueType::range), 4);
  EXPECT_EQ(static_cast<int>(ax::ValueType::error), 5);
}

TEST(FlipToScreenCoordinates, MeasuresAgainstTheFirstScreen) {
  desktop::HeadlessDesktop desktop;
  desktop::HeadlessDesktop::Scope scope(desktop);
  desktop.setScreens({desktop::Screen(Rect(0, 0, 1440, 900)), desktop::Screen(Rect(1440, 0, 800, 600))});
  EXPECT_EQ(flipToScreenCoordinates(Rect(10, 100, 50, 20)), Rect(10, 780, 50, 20));
  EXPECT_EQ(flipToScreenCoordinates(Rect(1500, -50, 10, 10)), Rect(1500, 940, 10, 10));
}

TEST(FlipToScreenCoordinates, NoScreenGivesNone) {
  EXPECT_EQ(flipToScreenCoordinates(Rect(10, 100, 50, 20)), std::nullopt);
}

TEST(EventTypeDescription, NamesTheWatchedKinds) {
  EXPECT_EQ(eventTypeDescription(appkit::EventType::leftMouseDown), "leftMouseDown");
  EXPECT_EQ(eventTypeDescription(appkit::EventType::rightMouseDown), "rightMouseDown");
  EXPECT_EQ(eventTypeDescription(appkit::EventType::keyDown), "keyDown");
  EXPECT_EQ(eventTypeDescription(appkit::EventType::leftMouseUp), "rawValue=2");
  EXPECT_EQ(eventTypeDescription(appkit::EventType::scrollWheel), "rawValue=22");
}

}  // namespace
}  // namespace Quillo
