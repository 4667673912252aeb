#include "Introspect/hierarchy_searches.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/appkit/controls.h"

namespace {

using appkit::View;
using foundation::Rect;
using Views = std::vector<std::shared_ptr<View>>;

class Target : public View {};
class SpecialTarget final : public Target {};
class PlatformViewHostAdaptor final : public View {};
class MyHostingViewWrapper final : public View {};

template <class V = View>
std::shared_ptr<V> view(Views subviews = {}, Rect frame = {}) {
  auto result = std::make_shared<V>();
  result->setFrame(frame);
  result->setSubviews(std::move(subviews));
  return result;
}

class TargetController : public appkit::ViewController {};
using Controllers = std::vector<std::shared_ptr<appkit::ViewController>>;

template <class C = appkit::ViewController>
std::shared_ptr<C> controller(Controllers children = {}) {
  auto result = std::make_shared<C>();
  for (auto& child : children) result->addChildViewController(child);
  return result;
}

TEST(FirstDescendant, SearchesDepthFirstAndNeverReturnsTheRoot) {
  auto lonely = view<Target>({view(), view({view()})});
  EXPECT_EQ(Introspect::firstDescendant<Target>(*lonely), nullptr);

  auto deep = view<SpecialTarget>();
  auto shallow = view<Target>();
  auto root = view({view({view({deep})}), shallow});
  EXPECT_EQ(Introspect::firstDescendant<Target>(*root), deep);  // a subclass is of the type
  EXPECT_EQ(Introspect::firstDescendant<SpecialTarget>(*root), deep);
  EXPECT_EQ(Introspect::firstDescendant<appkit::TextView>(*root), nullptr);
}

TEST(FirstViewController, TakesTheRootOnlyWhenNothingBelowMatches) {
  auto inner = controller<TargetController>();
  auto root = controller<TargetController>({controller(), controller({inner})});
  EXPECT_EQ(Introspect::firstViewController<TargetController>(*root), inner);
  auto alone = controller<TargetController>({controller()});
  EXPECT_EQ(Introspect::firstViewController<TargetController>(*alone), alone);
  EXPECT_EQ(Introspect::firstViewController<TargetController>(*controller({controller()})), nullptr);
}

TEST(SiblingIndex, FindsTheSameObject) {
  auto a = view(), b = view(), c = view();
  Views list{a, b};
  EXPECT_EQ(Introspect::siblingIndex(*b, list), 1u);
  EXPECT_EQ(Introspect::siblingIndex(*c, list), std::nullopt);
}

TEST(PrecedingSiblingDescendant, SearchesInsideEarlierSiblingsNearestFirst) {
  auto far = view<Target>(), near = view<Target>();
  auto bareTarget = view<Target>();  // of the type itself, but nothing of the type inside
  auto entry = view();
  auto parent = view({view({far}), view({view({near})}), bareTarget, entry});
  EXPECT_EQ(Introspect::precedingSiblingDescendant<Target>(*entry), near);

  auto first = view();
  auto firstParent = view({first, view({view<Target>()})});
  EXPECT_EQ(Introspect::precedingSiblingDescendant<Target>(*first), nullptr);   // index 0
  EXPECT_EQ(Introspect::precedingSiblingDescendant<Target>(*view()), nullptr);  // no superview
}

TEST(PrecedingSibling, TestsTheEarlierSiblingsThemselves) {
  auto one = view<Target>(), three = view<Target>();
  auto entry = view();
  auto parent = view({view(), one, view(), three, entry});
  EXPECT_EQ(Introspect::precedingSibling<Target>(*entry), three);
  auto holder = view({view({view<Target>()}), entry});
  EXPECT_EQ(Introspect::precedingSibling<Target>(*entry), nullptr);
}

TEST(PrecedingSiblingController, WalksEarlierChildControllers) {
  auto inside = controller<TargetController>();
  auto sibling = controller<TargetController>({inside});
  auto entry = controller();
  auto parent = controller({sibling, controller(), entry});
  EXPECT_EQ(Introspect::precedingSiblingControllerDescendant<TargetController>(*entry), inside);
  EXPECT_EQ(Introspect::precedingSiblingController<TargetController>(*entry), sibling);
  EXPECT_EQ(Introspect::precedingSiblingController<TargetController>(*sibling), nullptr);
  EXPECT_EQ(Introspect::precedingSiblingControllerDescendant<TargetController>(*controller()), nullptr);
}

TEST(FollowingSibling, StartsWithTheEntryItself) {
  auto entry = view<Target>(), later = view<Target>();
  auto parent = view({view<Target>(), entry, later});
  EXPECT_EQ(Introspect::followingSibling<Target>(*entry), entry);
  auto plain = view();
  auto other = view({plain, view(), later});
  EXPECT_EQ(Introspect::followingSibling<Target>(*plain), later);
  EXPECT_EQ(Introspect::followingSibling<Target>(*view()), nullptr);
}

TEST(FollowingSiblingDescendant, SearchesTheEntryThenLaterSiblings) {
  auto own = view<Target>(), later = view<Target>();
  auto entry = view({own});
  auto parent = view({view({view<Target>()}), entry, view({later})});
  EXPECT_EQ(Introspect::followingSiblingDescendant<Target>(*entry), own);
  auto empty = view();
  auto other = view({empty, view({later})});
  EXPECT_EQ(Introspect::followingSiblingDescendant<Target>(*empty), later);
}

TEST(DescendantAtCentre, PicksTheCandidateUnderTheEntrysCentre) {
  struct Case {
    const char* name;
    Rect entryFrame;  // in the root
    int expected;     // index of the candidate, -1 for none
  };
  const Case cases[] = {
      {"centre in the left one", Rect(10, 10, 20, 20), 0},
      {"centre in the right one", Rect(60, 0, 10, 10), 1},
      {"centre on the shared edge belongs to the right one", Rect(40, 0, 20, 20), 1},
      {"centre outside both", Rect(100, 100, 10, 10), -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto left = view<Target>({}, Rect(0, 0, 50, 50));
    auto right = view<Target>({}, Rect(50, 0, 50, 50));
    auto entry = view({}, c.entryFrame);
    auto root = view({left, view({right}, Rect(0, 0, 200, 200)), entry}, Rect(0, 0, 200, 200));
    std::shared_ptr<Target> expected = c.expected == 0 ? left : c.expected == 1 ? right : nullptr;
    EXPECT_EQ(Introspect::descendantAtCentre<Target>(*root, *entry), expected);
  }
  auto only = view<Target>({}, Rect(500, 500, 1, 1));
  auto entry = view({}, Rect(0, 0, 10, 10));
  auto root = view({view({only}), entry});
  EXPECT_EQ(Introspect::descendantAtCentre<Target>(*root, *entry), only);
  EXPECT_EQ(Introspect::descendantAtCentre<appkit::TextView>(*root, *entry), nullptr);
}

TEST(NearestAncestor, WalksUpFromTheEntry) {
  auto entry = view<Target>();
  auto near = view<Target>({view({entry})});
  auto far = view<Target>({near});
  EXPECT_EQ(Introspect::nearestAncestor<Target>(*entry), near);
  EXPECT_EQ(Introspect::nearestAncestor<SpecialTarget>(*entry), nullptr);
}

TEST(NearestAncestorOrAncestorDescendant, TakesAnAncestorOrACandidateInsideIt) {
  auto entry = view({}, Rect(0, 0, 10, 10));
  auto cousin = view<Target>({}, Rect(0, 0, 100, 100));
  auto top = view({view({entry}), view({cousin})});
  EXPECT_EQ(Introspect::nearestAncestorOrAncestorDescendant<Target>(*entry), cousin);
  auto ancestor = view<Target>({top});
  EXPECT_EQ(Introspect::nearestAncestorOrAncestorDescendant<Target>(*entry), cousin);  // found lower first
  EXPECT_EQ(Introspect::nearestAncestorOrAncestorDescendant<SpecialTarget>(*entry), nullptr);
}

TEST(EnclosingHosts, FindAncestorsByClassNameFragment) {
  auto entry = view<PlatformViewHostAdaptor>();
  auto host = view<PlatformViewHostAdaptor>({view({entry})});
  auto hosting = view<MyHostingViewWrapper>({host});
  EXPECT_EQ(Introspect::enclosingViewHost(*entry), host);  // the entry's own class does not count
  EXPECT_EQ(Introspect::enclosingHostingView(*entry), hosting);
  EXPECT_EQ(Introspect::enclosingViewHost(*host), nullptr);
  EXPECT_EQ(Introspect::enclosingHostingView(*hosting), nullptr);
}

}  // namespace
