// The headless desktop seen as the platform layers see it, through the abstract Desktop and its services,
// while a test scripts the same desktop through its concrete classes.
#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/accessibility_service.h"
#include "platform/desktop/alert_service.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/file_panel_service.h"
#include "platform/desktop/headless_desktop.h"
#include "platform/desktop/hot_key_service.h"
#include "platform/desktop/input_event_service.h"
#include "platform/desktop/pasteboard_service.h"
#include "platform/desktop/permission_service.h"
#include "platform/desktop/speech_service.h"
#include "platform/desktop/status_bar_service.h"
#include "platform/desktop/synthetic_input_service.h"
#include "platform/desktop/url_opener_service.h"
#include "platform/desktop/web_engine_service.h"
#include "platform/desktop/window_server_service.h"
#include "platform/desktop/workspace_service.h"

namespace desktop {
namespace {

class HeadlessServices : public ::testing::Test {
 protected:
  HeadlessDesktop headless;
  Desktop& desktop = headless;
};

TEST_F(HeadlessServices, WorkspaceShowsTheScriptedScreensAndApplications) {
  const Screen external(foundation::Rect(1440, 0, 1920, 1080), 2);
  headless.addScreen(external);
  const auto notes = headless.launchApplication("com.example.Notes", "Notes");

  WorkspaceService& workspace = desktop.workspace();
  EXPECT_EQ(workspace.screens(), headless.screens());
  EXPECT_EQ(workspace.screens().back(), external);
  EXPECT_EQ(workspace.applications(), std::vector<RunningApplication>{notes});
  EXPECT_EQ(workspace.application(notes.processIdentifier), notes);
  EXPECT_FALSE(workspace.frontmostApplication());

  EXPECT_FALSE(workspace.activateApplication(notes.processIdentifier + 1));
  EXPECT_TRUE(workspace.activateApplication(notes.processIdentifier));
  EXPECT_EQ(headless.frontmostApplication(), notes);
  EXPECT_EQ(workspace.frontmostApplication(), notes);
}

TEST_F(HeadlessServices, ActivationObserversHearOfEveryChangeOfTheFrontmostApplicationUntilRemoved) {
  const auto notes = headless.launchApplication("com.example.Notes", "Notes");
  const auto mail = headless.launchApplication("com.example.Mail", "Mail");
  std::vector<RunningApplication> activated;
  const auto token = desktop.workspace().addActivationObserver(
      [&](const RunningApplication& application) { activated.push_back(application); });

  EXPECT_TRUE(desktop.workspace().activateApplication(notes.processIdentifier));
  EXPECT_TRUE(desktop.workspace().activateApplication(notes.processIdentifier));  // already frontmost
  EXPECT_TRUE(headless.setFrontmostApplication(mail.processIdentifier));          // the person switches
  EXPECT_FALSE(headless.setFrontmostApplication(mail.processIdentifier + 100));   // unknown: no change
  desktop.workspace().removeActivationObserver(token);
  desktop.workspace().removeActivationObserver(token);  // a second removal does nothing
  EXPECT_TRUE(headless.setFrontmostApplication(notes.processIdentifier));
  EXPECT_EQ(activated, (std::vector<RunningApplication>{notes, mail}));
}

TEST_F(HeadlessServices, InputEventObserversSeeEveryLaterEventUntilRemoved) {
  std::vector<std::string> seen;
  const auto token =
      desktop.inputEvents().addEventObserver([&](const InputEvent& event) { seen.push_back(event.type); });
  headless.injectEvent(InputEvent::key("keyDown", 0, 0, "a"));
  headless.injectEvent(InputEvent::pointer("mouseDown", {5, 5}));
  desktop.inputEvents().removeEventObserver(token);
  desktop.inputEvents().removeEventObserver(token);  // a second removal does nothing
  headless.injectEvent(InputEvent::key("keyUp", 0));
  EXPECT_EQ(seen, (std::vector<std::string>{"keyDown", "mouseDown"}));
}

TEST_F(HeadlessServices, SyntheticKeyEventsReachOnlyTheRunningProcessTheyAreFor) {
  const int editor = headless.launchApplication("com.example.Editor", "Editor").processIdentifier;
  const int field = headless.accessibility().addFocusedElement(
      editor, AccessibleElement::text("AXTextField", "ab", {2, 0}));
  std::size_t observed = 0;
  desktop.inputEvents().addEventObserver([&](const InputEvent&) { ++observed; });

  EXPECT_TRUE(desktop.syntheticInput().postKeyboardEvent(editor, InputEvent::key("keyDown", 8, 0, "c")));
  EXPECT_TRUE(desktop.syntheticInput().postKeyboardEvent(editor, InputEvent::key("keyUp", 8)));
  EXPECT_FALSE(desktop.syntheticInput().postKeyboardEvent(editor + 1, InputEvent::key("keyDown", 8, 0, "x")));

  EXPECT_EQ(headless.accessibility().element(editor, field)->value, "abc");
  const auto received = headless.accessibility().receivedKeyEvents(editor);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].origin, InputEvent::Origin::postedByApplication);
  EXPECT_TRUE(headless.accessibility().receivedKeyEvents(editor + 1).empty());
  // Sent to one process, never into the stream the desktop's observers watch.
  EXPECT_EQ(observed, 0u);
  EXPECT_TRUE(headless.events().empty());
}

TEST_F(HeadlessServices, PasteboardKeepsTextOnlyForDeclaredTypes) {
  PasteboardService& pasteboard = desktop.pasteboard();
  const auto count = pasteboard.declareTypes({"public.utf8-plain-text"});
  EXPECT_TRUE(pasteboard.setString("copied", "public.utf8-plain-text"));
  EXPECT_FALSE(pasteboard.setString("<b>copied</b>", "public.html"));
  EXPECT_EQ(pasteboard.string("public.utf8-plain-text"), "copied");
  EXPECT_EQ(pasteboard.string("public.html"), std::nullopt);
  EXPECT_EQ(headless.pasteboard().changeCount(), count);
  EXPECT_EQ(pasteboard.declareTypes({}), count + 1);
  EXPECT_EQ(pasteboard.string("public.utf8-plain-text"), std::nullopt);
}

TEST_F(HeadlessServices, AlertsAreAnsweredWithinTheCallFromTheScript) {
  headless.alerts().scriptAnswers({1, 7});
  const AlertRequest request{"Delete?", "It cannot be undone.", 2, {"Delete", "Cancel"}, "Quillo"};
  std::vector<std::size_t> answers;
  desktop.alerts().present(request, [&](std::size_t button) { answers.push_back(button); });
  desktop.alerts().present(request, [&](std::size_t button) { answers.push_back(button); });
  desktop.alerts().present(request, [&](std::size_t button) { answers.push_back(button); });
  // The script's second answer names no button: the first one is pressed, as it is with no script left.
  EXPECT_EQ(answers, (std::vector<std::size_t>{1, 0, 0}));
  EXPECT_EQ(headless.alerts().alerts(), (std::vector<AlertRequest>{request, request, request}));

  desktop.alerts().beep();
  desktop.alerts().beep();
  EXPECT_EQ(headless.alerts().beepCount(), 2u);
}

TEST_F(HeadlessServices, FilePanelsAreTheOnesTheWebEngineShows) {
  EXPECT_EQ(&desktop.filePanels(), &headless.web().filePanels());
  headless.web().filePanels().answerNextSavePanel("/tmp/chat.md");
  FilePanelRequest request;
  request.kind = FilePanelRequest::Kind::save;
  request.nameFieldStringValue = "chat.md";
  EXPECT_EQ(desktop.filePanels().runSavePanel(request), "/tmp/chat.md");
  EXPECT_EQ(desktop.filePanels().runOpenPanel({}), std::nullopt);  // nothing scripted: cancelled
  EXPECT_EQ(headless.filePanels().shownPanels().size(), 2u);
}

TEST_F(HeadlessServices, OpenedURLsAndPermissionsAreTheScriptedOnes) {
  const auto url = foundation::URL::parse("https://example.com/roadmap");
  ASSERT_TRUE(url);
  EXPECT_TRUE(desktop.urlOpener().openURL(*url));
  EXPECT_EQ(headless.openedURLs(), std::vector<foundation::URL>{*url});

  for (const auto permission :
       {permission::accessibility, permission::microphone, permission::speechRecognition}) {
    SCOPED_TRACE(permission);
    EXPECT_FALSE(desktop.permissions().isPermissionGranted(permission));
    headless.setPermissionGranted(permission, true);
    EXPECT_TRUE(desktop.permissions().isPermissionGranted(permission));
    headless.setPermissionGranted(permission, false);
    EXPECT_FALSE(desktop.permissions().isPermissionGranted(permission));
  }
  EXPECT_FALSE(desktop.permissions().isPermissionGranted("camera"));
}

TEST_F(HeadlessServices, HotKeysRegisteredThroughTheServiceAnswerTheScriptedPresses) {
  HotKeyService& hotKeys = desktop.hotKeys();
  std::vector<std::uint32_t> pressed;
  hotKeys.installHandler({{HotKeyEvent::kKeyboardClass, HotKeyEvent::kPressedKind}},
                         [&](const HotKeyEvent& event) {
                           pressed.push_back(event.hotKeyID->id);
                           return hot_key_status::noErr;
                         });
  const auto registration = hotKeys.registerHotKey(49, 0x100, {0x51554C4C, 7}, 0);
  ASSERT_EQ(registration.status, hot_key_status::noErr);
  EXPECT_EQ(headless.hotKeys().press(49, 0x100), std::vector<std::int32_t>{hot_key_status::noErr});
  EXPECT_EQ(hotKeys.unregisterHotKey(registration.reference), hot_key_status::noErr);
  EXPECT_TRUE(headless.hotKeys().press(49, 0x100).empty());
  EXPECT_EQ(pressed, std::vector<std::uint32_t>{7});

  headless.hotKeys().reserveCombination(0, 0x100);
  EXPECT_EQ(hotKeys.registerHotKey(0, 0x100, {0x51554C4C, 8}, 0).status,
            hot_key_status::eventHotKeyExistsErr);
  headless.hotKeys().setSymbolicHotKeys(std::nullopt);
  EXPECT_EQ(hotKeys.symbolicHotKeys(), std::nullopt);
}

TEST_F(HeadlessServices, TheKeyboardLayoutIsUSUntilATestSetsAnother) {
  const auto layout = desktop.hotKeys().currentKeyboardLayout();
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->identifier, "com.apple.keylayout.US");
  ASSERT_TRUE(layout->keys);
  EXPECT_EQ(layout->keys->keys.at(0), (KeyLayout::Key{u'a', u'A'}));
  EXPECT_EQ(layout->keys->keys.at(18), (KeyLayout::Key{u'1', u'!'}));

  auto german = std::make_shared<KeyboardLayout>(KeyboardLayout{"com.apple.keylayout.German", nullptr});
  headless.hotKeys().setCurrentKeyboardLayout(german);
  EXPECT_EQ(desktop.hotKeys().currentKeyboardLayout(), german);
  headless.hotKeys().setCurrentKeyboardLayout(nullptr);
  EXPECT_EQ(desktop.hotKeys().currentKeyboardLayout(), nullptr);
}

TEST_F(HeadlessServices, AccessibilityCallsThatReachAnElementAreLogged) {
  const int pid = headless.launchApplication("com.example.Editor", "Editor").processIdentifier;
  const int field = headless.accessibility().addFocusedElement(
      pid, AccessibleElement::text("AXTextArea", "one\ntwo", {0, 0}, {10, 10}, {300, 200}));
  AccessibilityService& accessibility = desktop.accessibility();

  const AccessibilityCall readValue{pid, field, AccessibilityCall::Kind::read, "AXValue"};
  EXPECT_EQ(accessibility.reach(readValue)->value, "one\ntwo");
  EXPECT_FALSE(accessibility.reach({pid, field + 1, AccessibilityCall::Kind::read, "AXValue"}));
  const AccessibilityCall systemWide{0, 0, AccessibilityCall::Kind::read, "AXFocusedUIElement"};
  EXPECT_EQ(accessibility.reach(systemWide)->role, "AXSystemWide");
  EXPECT_EQ(headless.accessibility().calls(), (std::vector<AccessibilityCall>{readValue, systemWide}));

  EXPECT_EQ(accessibility.focusedElementId(pid), field);
  EXPECT_EQ(accessibility.element(pid, AccessibilityService::kApplicationElementId)->role, "AXApplication");
  EXPECT_EQ(accessibility.boundsForRange(pid, field, {4, 3}), foundation::Rect(10, 30, 24, 20));
  EXPECT_EQ(accessibility.boundsForRange(pid, field, {4, 9}), std::nullopt);
  EXPECT_EQ(accessibility.boundsForRange(pid, field + 1, {0, 0}), std::nullopt);
}

TEST_F(HeadlessServices, AccessibilityWritesChangeTheElementOrFailWhenItIsGone) {
  const int pid = headless.launchApplication("com.example.Editor", "Editor").processIdentifier;
  const int field =
      headless.accessibility().addElement(pid, AccessibleElement::text("AXTextField", "", {0, 0}));
  AccessibilityService& accessibility = desktop.accessibility();

  EXPECT_TRUE(accessibility.setValue(pid, field, "hello"));
  EXPECT_TRUE(accessibility.setSelectedTextRange(pid, field, {1, 3}));
  EXPECT_TRUE(accessibility.setAttribute(pid, field, "AXManualAccessibility", true));
  const auto element = headless.accessibility().element(pid, field);
  EXPECT_EQ(element->value, "hello");
  EXPECT_EQ(element->selectedTextRange, (AccessibleRange{1, 3}));
  EXPECT_EQ(element->otherAttributes.at("AXManualAccessibility"), AccessibleValue(true));

  EXPECT_FALSE(accessibility.setValue(pid, field + 1, "lost"));
  EXPECT_FALSE(accessibility.setSelectedTextRange(pid, field + 1, {0, 0}));
  EXPECT_FALSE(accessibility.setAttribute(pid, field + 1, "AXEnhancedUserInterface", true));
}

TEST_F(HeadlessServices, SpeechServiceSpeaksUntilTheScriptFinishesTheUtterance) {
  SpeechService& speech = desktop.speech();
  std::vector<bool> endings;
  speech.speak(1, {"Hello", "en-US", 0.5f, 1.0f, 1.0f}, [&](bool finished) { endings.push_back(finished); });
  speech.speak(2, {"Bye", "", 0.5f, 1.0f, 1.0f}, [&](bool finished) { endings.push_back(finished); });
  EXPECT_TRUE(speech.isSpeaking(1));
  EXPECT_TRUE(headless.speech().finishUtterance());
  EXPECT_FALSE(speech.isSpeaking(1));
  EXPECT_TRUE(speech.stopSpeaking(2));
  EXPECT_EQ(endings, (std::vector<bool>{true, false}));
  EXPECT_EQ(headless.speech().utterances().size(), 2u);
}

TEST_F(HeadlessServices, WebPagesOpenedThroughTheServiceAreTheHeadlessPages) {
  const auto page = desktop.web().openPage();
  ASSERT_TRUE(page);
  const auto headlessPage = headless.web().lastPage();
  EXPECT_EQ(page, headlessPage);

  page->load({"https://chat.example/", 30.0}, {{"hello()", true, false}});
  EXPECT_EQ(headlessPage->currentURL(), "https://chat.example/");
  headlessPage->setDocumentHTML("<br>");
  std::vector<ScriptEvaluation> evaluations;
  page->evaluateScript("document.documentElement.outerHTML",
                       [&](ScriptEvaluation evaluation) { evaluations.push_back(std::move(evaluation)); });
  page->evaluateScript("window.close()",
                       [&](ScriptEvaluation evaluation) { evaluations.push_back(std::move(evaluation)); });
  ASSERT_EQ(evaluations.size(), 2u);
  EXPECT_EQ(evaluations[0].resultJSON, "\"<br>\"");
  EXPECT_FALSE(evaluations[1].resultJSON);
  EXPECT_TRUE(evaluations[1].errorDescription);
}

TEST_F(HeadlessServices, WindowsStandInLevelAndOrderAndHearVisibilityAndPresses) {
  WindowServerService& server = desktop.windowServer();
  std::vector<WindowServerEvent::Kind> backHeard;
  std::vector<WindowServerEvent::Kind> frontHeard;
  const auto back =
      server.createWindow([&](const WindowServerEvent& event) { backHeard.push_back(event.kind); });
  const auto front =
      server.createWindow([&](const WindowServerEvent& event) { frontHeard.push_back(event.kind); });
  EXPECT_NE(back, 0u);
  EXPECT_NE(back, front);
  server.setTitle(back, "Quillo");
  server.setFrame(back, foundation::Rect(0, 0, 400, 300));
  server.setFrame(front, foundation::Rect(100, 100, 400, 300));
  EXPECT_TRUE(server.windowsOnScreen().empty());

  server.orderFront(front);
  server.orderFront(back);
  server.setLevel(front, 3);  // a floating window stays in front of a normal one ordered later
  auto shown = server.windowsOnScreen();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].number, front);
  EXPECT_EQ(shown[1].number, back);
  EXPECT_EQ(shown[1].title, "Quillo");
  EXPECT_EQ(backHeard, std::vector{WindowServerEvent::Kind::visibilityChanged});

  backHeard.clear();
  frontHeard.clear();
  headless.windowServer().click({150, 150});  // where both windows lie: the front one takes it
  EXPECT_EQ(frontHeard, std::vector{WindowServerEvent::Kind::mouseDownInside});
  EXPECT_EQ(backHeard, std::vector{WindowServerEvent::Kind::mouseDownOutside});

  backHeard.clear();
  headless.windowServer().setCovered(back, true);
  EXPECT_FALSE(server.window(back)->isVisible());
  server.destroyWindow(back);
  EXPECT_FALSE(server.window(back));
  server.setTitle(back, "gone");  // an unknown number is ignored
  EXPECT_EQ(backHeard, std::vector{WindowServerEvent::Kind::visibilityChanged});
  EXPECT_EQ(server.windowsOnScreen().size(), 1u);
}

TEST_F(HeadlessServices, StatusItemsShowTheirPictureInTheMenuBarAndHearClicks) {
  StatusBarService& bar = desktop.statusBar();
  int clicks = 0;
  const auto first = bar.addItem(30, [&] { ++clicks; });
  const auto second = bar.addItem(bar.thickness(), [] {});
  const StatusItemImage picture{"menubar", "/resources/menubar.svg", true};
  bar.setImage(first, picture);
  bar.setToolTip(first, "Open Quillo");

  const auto shown = bar.item(first);
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->image, picture);
  EXPECT_EQ(shown->toolTip, "Open Quillo");
  // At the top of the main screen, right to left in the order the items came.
  EXPECT_EQ(shown->frame, foundation::Rect(1440 - HeadlessStatusBar::defaultTrailingInset - 30,
                                           900 - bar.thickness(), 30, bar.thickness()));
  EXPECT_EQ(bar.item(second)->frame.maxX(), shown->frame.minX());

  EXPECT_TRUE(headless.statusBar().click(first));
  EXPECT_EQ(clicks, 1);
  bar.setImage(first, std::nullopt);
  EXPECT_FALSE(bar.item(first)->image);
  bar.removeItem(first);
  EXPECT_FALSE(bar.item(first));
  EXPECT_FALSE(headless.statusBar().click(first));
  EXPECT_EQ(bar.item(second)->frame.maxX(), 1440 - HeadlessStatusBar::defaultTrailingInset);
}

}  // namespace
}  // namespace desktop
