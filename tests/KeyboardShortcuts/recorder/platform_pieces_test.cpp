// The application-kit pieces the recorder stands on: alerts answered from a script, the modal loop,
// local event monitors, keyboard focus and the beep.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/alert.h"
#include "platform/appkit/beep.h"
#include "platform/appkit/event.h"
#include "platform/appkit/event_monitor.h"
#include "platform/appkit/responder.h"
#include "platform/appkit/search_field.h"
#include "platform/appkit/window.h"
#include "platform/desktop/headless_desktop.h"
#include "platform/foundation/run_loop.h"

namespace {

using appkit::Event;
using appkit::EventType;
using appkit::EventTypeMask;

class AppKitPieces : public ::testing::Test {
 protected:
  AppKitPieces() : scope_(desktop_) {}
  foundation::ScopedMainRunLoop mainLoop_;
  desktop::HeadlessDesktop desktop_;
  desktop::HeadlessDesktop::Scope scope_;
};

TEST_F(AppKitPieces, AModalAlertRunsTheMainQueueAndTakesTheScriptedAnswer) {
  struct Case {
    std::vector<std::string> buttons;
    std::optional<std::size_t> scripted;
    appkit::ModalResponse response;
  };
  const Case cases[] = {
      {{}, std::nullopt, appkit::kAlertFirstButtonReturn},
      {{"Keep", "Discard"}, 1, appkit::kAlertSecondButtonReturn},
      {{"Keep", "Discard", "Cancel"}, 2, appkit::kAlertThirdButtonReturn},
      {{"Keep"}, 3, appkit::kAlertFirstButtonReturn},  // no such button: the default one
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.buttons.size());
    desktop_.alerts().clearRecords();
    if (c.scripted) desktop_.alerts().scriptAnswers({*c.scripted});
    appkit::Alert alert;
    alert.setMessageText("Delete the chat?");
    alert.setInformativeText("It cannot be undone.");
    alert.setAlertStyle(appkit::AlertStyle::critical);
    for (const auto& title : c.buttons) alert.addButton(title);
    bool ranMeanwhile = false;
    mainLoop_.loop().async([&] { ranMeanwhile = true; });
    EXPECT_EQ(alert.runModal(), c.response);
    EXPECT_TRUE(ranMeanwhile);
    const auto shown = desktop_.alerts().alerts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], (desktop::AlertRequest{"Delete the chat?", "It cannot be undone.", 2, c.buttons,
                                               std::nullopt}));
  }
}

TEST_F(AppKitPieces, ASheetAnswersThroughTheMainQueueAndEndsTheWindowsModalLoop) {
  auto window = std::make_shared<appkit::Window>(foundation::Rect(0, 0, 300, 200));
  window->setTitle("Quillo Settings");
  desktop_.alerts().scriptAnswers({1});
  appkit::Alert alert;
  alert.addButton("OK");
  alert.addButton("Cancel");
  std::vector<appkit::ModalResponse> completions;
  alert.beginSheetModal(window, [&](appkit::ModalResponse response) {
    completions.push_back(response);
    appkit::stopModalWithCode(response);
  });
  EXPECT_TRUE(completions.empty());  // not before the main queue runs
  EXPECT_EQ(appkit::runModalForWindow(*window), appkit::kAlertSecondButtonReturn);
  EXPECT_EQ(completions, std::vector<appkit::ModalResponse>{appkit::kAlertSecondButtonReturn});
  ASSERT_EQ(desktop_.alerts().alerts().size(), 1u);
  EXPECT_EQ(desktop_.alerts().alerts()[0].sheetWindowTitle, std::optional<std::string>("Quillo Settings"));
  // Outside a modal loop a stop does nothing.
  appkit::stopModalWithCode(appkit::kModalResponseStop);
}

TEST(AlertWithoutDesktop, TakesTheDefaultButton) {
  foundation::ScopedMainRunLoop loop;
  appkit::Alert alert;
  alert.addButton("OK");
  alert.addButton("Cancel");
  EXPECT_EQ(alert.runModal(), appkit::kAlertFirstButtonReturn);
  appkit::beep();  // no desktop: nothing to count, nothing breaks
}

TEST_F(AppKitPieces, BeepsAreCounted) {
  appkit::beep();
  appkit::beep();
  EXPECT_EQ(desktop_.alerts().beepCount(), 2u);
}

TEST_F(AppKitPieces, LocalMonitorsSeeTheirTypesInOrderAndMaySwallow) {
  std::vector<std::string> log;
  const auto keys = EventTypeMask::of(EventType::keyDown);
  const auto clicks = EventTypeMask::of(EventType::leftMouseUp);
  auto first = appkit::addLocalMonitorForEvents(keys, [&](const Event& e) -> std::optional<Event> {
    log.push_back("first");
    return Event::keyEvent(EventType::keyDown, e.keyCode(), appkit::ModifierFlags::command, e.characters());
  });
  auto second = appkit::addLocalMonitorForEvents(keys | clicks, [&](const Event& e) -> std::optional<Event> {
    log.push_back(e.modifierFlags() == appkit::ModifierFlags::command ? "second sees command" : "second");
    if (e.type() == EventType::leftMouseUp) return std::nullopt;
    return e;
  });
  auto third = appkit::addLocalMonitorForEvents(clicks, [&](const Event& e) -> std::optional<Event> {
    log.push_back("third");
    return e;
  });
  const auto key = Event::keyEvent(EventType::keyDown, 40, {}, "k");
  const auto passed = appkit::handleLocalEvent(key);
  ASSERT_TRUE(passed);
  EXPECT_EQ(passed->modifierFlags(), appkit::ModifierFlags::command);
  EXPECT_EQ(appkit::handleLocalEvent(Event::mouseEvent(EventType::leftMouseUp, {1, 1})), std::nullopt);
  const auto moved = Event::mouseEvent(EventType::mouseMoved, {1, 1});
  EXPECT_EQ(appkit::handleLocalEvent(moved), moved);
  EXPECT_EQ(log, (std::vector<std::string>{"first", "second sees command", "second"}));
  EXPECT_EQ(appkit::localMonitorCount(), 3u);
  appkit::removeMonitor(first);
  appkit::removeMonitor(first);
  appkit::removeMonitor(second);
  appkit::removeMonitor(third);
  EXPECT_EQ(appkit::localMonitorCount(), 0u);
}

TEST_F(AppKitPieces, MonitorsChangedWhileAnEventIsHandled) {
  std::vector<std::string> log;
  const auto keys = EventTypeMask::of(EventType::keyDown);
  std::shared_ptr<appkit::LocalEventMonitorObject> later;
  std::shared_ptr<appkit::LocalEventMonitorObject> added;
  std::shared_ptr<appkit::LocalEventMonitorObject> self;
  self = appkit::addLocalMonitorForEvents(keys, [&](const Event& e) -> std::optional<Event> {
    log.push_back("self");
    appkit::removeMonitor(self);  // its own handler stays alive while it runs
    appkit::removeMonitor(later);
    added = appkit::addLocalMonitorForEvents(keys, [&](const Event& e2) -> std::optional<Event> {
      log.push_back("added");
      return e2;
    });
    return e;
  });
  later = appkit::addLocalMonitorForEvents(keys, [&](const Event& e) -> std::optional<Event> {
    log.push_back("later");
    return e;
  });
  auto throwing = appkit::addLocalMonitorForEvents(
      keys, [](const Event&) -> std::optional<Event> { throw std::runtime_error("broken handler"); });
  const auto key = Event::keyEvent(EventType::keyDown, 40, {}, "k");
  EXPECT_EQ(appkit::handleLocalEvent(key), key);
  EXPECT_EQ(log, std::vector<std::string>{"self"});
  EXPECT_EQ(appkit::handleLocalEvent(key), key);
  EXPECT_EQ(log, (std::vector<std::string>{"self", "added"}));
  appkit::removeMonitor(added);
  appkit::removeMonitor(throwing);
}

// A focusable view that can be told to refuse.
class Focusable : public appkit::View, public appkit::Responder {
 public:
  bool acceptsFirstResponder() const override { return accepts; }
  bool becomeFirstResponder() override {
    log.push_back("become");
    return becomes;
  }
  bool resignFirstResponder() override {
    log.push_back("resign");
    return resigns;
  }
  bool accepts = true, becomes = true, resigns = true;
  std::vector<std::string> log;
};

TEST_F(AppKitPieces, FocusMovesWithTheResignAndBecomeHandshake) {
  auto window = std::make_shared<appkit::Window>(foundation::Rect(0, 0, 300, 200));
  window->setContentView(std::make_shared<appkit::View>());
  auto a = std::make_shared<Focusable>();
  auto b = std::make_shared<Focusable>();
  auto plain = std::make_shared<appkit::View>();
  auto elsewhere = std::make_shared<Focusable>();
  window->contentView()->addSubview(a);
  window->contentView()->addSubview(b);
  window->contentView()->addSubview(plain);

  EXPECT_EQ(appkit::firstResponder(*window), nullptr);
  EXPECT_TRUE(appkit::makeFirstResponder(*window, a));
  EXPECT_EQ(appkit::firstResponder(*window), a);
  EXPECT_TRUE(appkit::makeFirstResponder(*window, a));  // already: nothing asked
  EXPECT_EQ(a->log, std::vector<std::string>{"become"});

  EXPECT_FALSE(appkit::makeFirstResponder(*window, plain));  // not a responder: the window keeps focus
  EXPECT_EQ(appkit::firstResponder(*window), nullptr);
  EXPECT_EQ(a->log, (std::vector<std::string>{"become", "resign"}));

  EXPECT_FALSE(appkit::makeFirstResponder(*window, elsewhere));  // not in this window
  b->accepts = false;
  EXPECT_FALSE(appkit::makeFirstResponder(*window, b));
  b->accepts = true;
  b->becomes = false;
  EXPECT_FALSE(appkit::makeFirstResponder(*window, b));
  EXPECT_EQ(appkit::firstResponder(*window), nullptr);

  EXPECT_TRUE(appkit::makeFirstResponder(*window, a));
  a->resigns = false;
  b->becomes = true;
  EXPECT_FALSE(appkit::makeFirstResponder(*window, b));  // a refuses to let go
  EXPECT_EQ(appkit::firstResponder(*window), a);
  a->resigns = true;
  a->removeFromSuperview();
  EXPECT_EQ(appkit::firstResponder(*window), nullptr);  // it left the window
}

class RecordingDelegate : public appkit::TextFieldDelegate {
 public:
  void controlTextDidChange(appkit::TextField& field) override {
    log.push_back("change to '" + field.stringValue() + "'");
  }
  void controlTextDidEndEditing(appkit::TextField&) override { log.push_back("end"); }
  std::vector<std::string> log;
};

TEST_F(AppKitPieces, ASearchFieldEditsWhileFocusedAndItsClearButtonEmptiesIt) {
  auto window = std::make_shared<appkit::Window>(foundation::Rect(0, 0, 300, 200));
  window->setContentView(std::make_shared<appkit::View>());
  auto field = std::make_shared<appkit::SearchField>();
  auto delegate = std::make_shared<RecordingDelegate>();
  field->setDelegate(delegate);
  window->contentView()->addSubview(field);
  field->setStringValue("find me");
  EXPECT_EQ(field->intrinsicContentSize(), (foundation::Size{appkit::kNoIntrinsicMetric, 22}));

  EXPECT_TRUE(appkit::makeFirstResponder(*window, field));
  ASSERT_NE(field->currentEditor(), nullptr);
  EXPECT_EQ(field->currentEditor()->string(), "find me");
  // Focusing an editing field again ends its editing and starts it anew.
  EXPECT_TRUE(appkit::makeFirstResponder(*window, field));
  EXPECT_TRUE(field->isEditing());
  field->cancelButtonCell()->performClick(field.get());
  EXPECT_EQ(field->stringValue(), "");
  EXPECT_TRUE(appkit::makeFirstResponder(*window, nullptr));
  EXPECT_FALSE(field->isEditing());
  EXPECT_EQ(delegate->log, (std::vector<std::string>{"end", "change to ''", "end"}));

  field->setEnabled(false);
  EXPECT_FALSE(appkit::makeFirstResponder(*window, field));
}

}  // namespace

namespace {

TEST(SearchFieldClearButton, KeptAfterItsFieldIsGoneDoesNothing) {
  foundation::ScopedMainRunLoop loop;
  auto field = std::make_shared<appkit::SearchField>();
  auto cell = field->cancelButtonCell();
  field.reset();
  cell->performClick(nullptr);  // must not touch the destroyed field
  SUCCEED();
}

}  // namespace
