// Choosing the desktop at start-up: the first kind that can serve the session wins, and each kind that
// cannot says why.
#include "platform/desktop/desktop_choice.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/desktop/headless_desktop.h"
#include "platform/foundation/text_error.h"

namespace desktop {
namespace {

EnvironmentReader environmentOf(std::map<std::string, std::string> variables) {
  return [variables = std::move(variables)](std::string_view name) -> std::optional<std::string> {
    const auto found = variables.find(std::string(name));
    if (found == variables.end()) return std::nullopt;
    return found->second;
  };
}

// A kind that serves sessions naming a display in `variable`, and counts how often it was asked.
DesktopKind kindNeeding(std::string name, std::string variable, int* openings) {
  return {name, [variable, openings](const EnvironmentReader& environment) -> std::unique_ptr<Desktop> {
            ++*openings;
            if (!environment(variable)) throw foundation::TextError(variable + " is not set");
            return std::make_unique<HeadlessDesktop>();
          }};
}

TEST(DesktopChoice, TheFirstKindThatCanServeTheSessionIsChosen) {
  struct Case {
    std::map<std::string, std::string> environment;
    std::string chosen;
    std::vector<std::string> refusals;
    int x11Openings;
  };
  const Case cases[] = {
      {{{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}}, "Wayland", {}, 0},
      {{{"DISPLAY", ":1"}}, "X11", {"Wayland: WAYLAND_DISPLAY is not set"}, 1},
      {{}, "", {"Wayland: WAYLAND_DISPLAY is not set", "X11: DISPLAY is not set"}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen);
    int waylandOpenings = 0;
    int x11Openings = 0;
    const std::vector<DesktopKind> kinds{kindNeeding("Wayland", "WAYLAND_DISPLAY", &waylandOpenings),
                                         kindNeeding("X11", "DISPLAY", &x11Openings)};
    const auto choice = chooseDesktop(kinds, environmentOf(c.environment));
    EXPECT_EQ(choice.name, c.chosen);
    EXPECT_EQ(choice.desktop != nullptr, !c.chosen.empty());
    EXPECT_EQ(choice.refusals, c.refusals);
    EXPECT_EQ(waylandOpenings, 1);
    EXPECT_EQ(x11Openings, c.x11Openings);
  }
}

TEST(DesktopChoice, AKindThatFailsInAnyWayIsPassedOver) {
  const std::vector<DesktopKind> kinds{
      {"Broken",
       [](const EnvironmentReader&) -> std::unique_ptr<Desktop> {
         throw std::runtime_error("cannot open display :0");
       }},
      {"Silent", [](const EnvironmentReader&) -> std::unique_ptr<Desktop> { return nullptr; }},
      {"Missing", nullptr},
      {"Thrown", [](const EnvironmentReader&) -> std::unique_ptr<Desktop> { throw 42; }},
  };
  const auto choice = chooseDesktop(kinds, environmentOf({}));
  EXPECT_EQ(choice.desktop, nullptr);
  EXPECT_EQ(choice.refusals,
            (std::vector<std::string>{"Broken: cannot open display :0", "Silent: it did not open",
                                      "Missing: it cannot be opened", "Thrown: it failed to open"}));
  EXPECT_TRUE(chooseDesktop({}, environmentOf({})).refusals.empty());
}

TEST(DesktopChoice, TheProcessEnvironmentIsReadAsItIsNow) {
  const auto environment = processEnvironment();
  ::unsetenv("QUILLO_DESKTOP_CHOICE_PROBE");
  EXPECT_EQ(environment("QUILLO_DESKTOP_CHOICE_PROBE"), std::nullopt);
  ::setenv("QUILLO_DESKTOP_CHOICE_PROBE", ":7", 1);
  EXPECT_EQ(environment("QUILLO_DESKTOP_CHOICE_PROBE"), ":7");
  ::unsetenv("QUILLO_DESKTOP_CHOICE_PROBE");
}

}  // namespace
}  // namespace desktop
