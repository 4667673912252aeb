// Appear and disappear handlers, change handlers and tasks over the life of a view.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/concurrency/task.h"
#include "platform/ui/inspector.h"
#include "platform/ui/state.h"
#include "platform/ui/views.h"

namespace {

using namespace ui;
using ui::testing::Host;

struct Log {
  std::vector<std::string> lines;
};

class Watcher final : public View {
 public:
  explicit Watcher(std::shared_ptr<Log> log) : log_(std::move(log)) {}
  AnyView body() const override {
    auto log = log_;
    return VStack(Text::verbatim(std::to_string(*value_)),
                  Button("Next", [value = value_] { value.set(*value + 1); }),
                  Button("Back", [value = value_] { value.set(*value - 1); }))
        .onChange<int>(
            *value_,
            [log](const int& oldValue, const int& newValue) {
              log->lines.push_back("change " + std::to_string(oldValue) + " -> " + std::to_string(newValue));
            })
        .onAppear([log] { log->lines.push_back("appear"); })
        .onDisappear([log] { log->lines.push_back("disappear"); });
  }

 private:
  std::shared_ptr<Log> log_;
  State<int> value_{0};
};

TEST(ViewLifecycle, ChangeHandlersSkipTheFirstValueAndSeeEveryLaterChange) {
  auto log = std::make_shared<Log>();
  Host host{Watcher(log)};
  EXPECT_EQ(log->lines, std::vector<std::string>{"appear"});
  host.tap(host.find(ui::testing::button("Next")));
  host.tap(host.find(ui::testing::button("Back")));
  EXPECT_EQ(log->lines, (std::vector<std::string>{"appear", "change 0 -> 1", "change 1 -> 0"}));
}

TEST(ViewLifecycle, HidingAndShowingRunsDisappearAndAppearAndKeepsState) {
  auto log = std::make_shared<Log>();
  Host host{Watcher(log)};
  host.tap(host.find(ui::testing::button("Next")));
  host.hide();
  host.show();
  EXPECT_EQ(log->lines, (std::vector<std::string>{"appear", "change 0 -> 1", "disappear", "appear"}));
  EXPECT_TRUE(host.exists(ui::testing::text("1")));
}

TEST(ViewLifecycle, RemovingAViewRunsItsDisappearHandler) {
  auto log = std::make_shared<Log>();
  {
    Host host{conditional(true, Watcher(log))};
    host.setRoot(conditional(false, Watcher(log)));
    EXPECT_EQ(log->lines, (std::vector<std::string>{"appear", "disappear"}));
  }
  EXPECT_EQ(log->lines.size(), 2u);
}

// Counts task starts and cancellations; each run sleeps on the clock until cancelled.
struct TaskLog {
  std::atomic<int> started{0};
  std::atomic<int> cancelled{0};
  std::atomic<int> lastId{-1};
};

class Loader final : public View {
 public:
  explicit Loader(std::shared_ptr<TaskLog> log) : log_(std::move(log)) {}
  AnyView body() const override {
    auto log = log_;
    int id = *id_;
    return Button("Reload", [ids = id_] { ids.set(*ids + 1); }).task<int>(id, [log, id] {
      log->lastId = id;
      ++log->started;
      try {
        while (true) concurrency::sleep(std::chrono::seconds(1));
      } catch (const concurrency::CancellationError&) {
        ++log->cancelled;
        throw;
      }
    });
  }

 private:
  std::shared_ptr<TaskLog> log_;
  State<int> id_{0};
};

TEST(ViewLifecycle, TaskStartsOnAppearRestartsOnIdChangeAndIsCancelledOnDisappear) {
  auto log = std::make_shared<TaskLog>();
  Host host{Loader(log)};
  ASSERT_TRUE(host.runUntil([&] { return log->started == 1; }));
  host.tap(host.find(ui::testing::button("Reload")));
  ASSERT_TRUE(host.runUntil([&] { return log->started == 2 && log->cancelled == 1; }));
  EXPECT_EQ(log->lastId, 1);
  host.hide();
  ASSERT_TRUE(host.runUntil([&] { return log->cancelled == 2; }));
  EXPECT_EQ(log->started, 2);
  host.show();
  ASSERT_TRUE(host.runUntil([&] { return log->started == 3; }));
}

TEST(ViewLifecycle, ReevaluationWithTheSameTaskIdDoesNotRestartIt) {
  auto log = std::make_shared<TaskLog>();
  class Wrapper final : public View {
   public:
    explicit Wrapper(std::shared_ptr<TaskLog> log) : log_(std::move(log)) {}
    AnyView body() const override {
      auto log = log_;
      return VStack(Text::verbatim(std::to_string(*taps_)),
                    Button("Tap", [taps = taps_] { taps.set(*taps + 1); }))
          .task<int>(7, [log] {
            ++log->started;
            try {
              while (true) concurrency::sleep(std::chrono::seconds(1));
            } catch (const concurrency::CancellationError&) {
              ++log->cancelled;
              throw;
            }
          });
    }

   private:
    std::shared_ptr<TaskLog> log_;
    State<int> taps_{0};
  };
  {
    Host host{Wrapper(log)};
    ASSERT_TRUE(host.runUntil([&] { return log->started == 1; }));
    host.tap(host.find(ui::testing::button("Tap")));
    EXPECT_TRUE(host.exists(ui::testing::text("1")));
    EXPECT_EQ(log->started, 1);
    EXPECT_EQ(log->cancelled, 0);
  }
  // Taking the view down cancels its task.
  foundation::ScopedMainRunLoop loop;
  EXPECT_TRUE(loop.loop().runUntil([&] { return log->cancelled == 1; }));
}

}  // namespace
