#include "Roadmap/roadmap_vote_button.h"

#include <fmt/format.h>

#include <utility>

#include "Roadmap/roadmap_view_model.h"  // displayTitle
#include "platform/ui/modifiers.h"
#include "platform/ui/views.h"

namespace Roadmap {

namespace {

ui::AnyView flexibleFrame(const ui::AnyView& view, std::optional<double> minWidth,
                          std::optional<double> maxWidth, std::optional<double> minHeight,
                          std::optional<double> maxHeight) {
  ui::FrameModifier frame;
  frame.minWidth = minWidth;
  frame.maxWidth = maxWidth;
  frame.minHeight = minHeight;
  frame.maxHeight = maxHeight;
  return view.frame(frame);
}

}  // namespace

std::string voteHint(const RoadmapFeature& feature) {
  return ui::formatLocalized(ui::localizedString("Vote for %@"), {displayTitle(feature)});
}

std::string voteCountText(std::int64_t count) {
  return ui::formatLocalized(ui::localizedString("%lld"), {fmt::format("{}", count)});
}

ui::AnyView ReduceMotionnModifier::body(ui::AnyView content) const {
  return reducedMotion ? withAttribute(content, "transaction", "animation: none") : content;
}

void ReduceMotionnModifier::perform(const ui::Animation& animation,
                                    const std::function<void()>& change) const {
  if (reducedMotion) {
    change();
  } else {
    ui::withAnimation(animation, change);
  }
}

ui::Color RoadmapVoteButton::foreground() const {
  const auto& style = viewModel_->configuration.style();
  return *hasVoted_ ? style.selectedForegroundColor : style.tintColor;
}

ui::AnyView RoadmapVoteButton::icon(bool isAccessibilityLayout) const {
  const auto& style = viewModel_->configuration.style();
  ui::AnyView image =
      withAttribute(ui::AnyView(style.upvoteIcon).foregroundColor(foreground()), "imageScale", "large");
  if (isAccessibilityLayout) {
    return flexibleFrame(image.font(ui::Font::system(17, ui::FontWeight::medium)), std::nullopt, 24,
                         std::nullopt, 24);
  }
  return withAttribute(flexibleFrame(image.font(style.numberFont), std::nullopt, 20, std::nullopt, 20),
                       "minimumScaleFactor", "0.75");
}

ui::AnyView RoadmapVoteButton::count(bool isAccessibilityLayout) const {
  const auto& style = viewModel_->configuration.style();
  ui::AnyView text =
      withAttribute(ui::Text::verbatim(voteCountText(viewModel_->voteCount.get())), "lineLimit", "1")
          .foregroundColor(foreground());
  if (isAccessibilityLayout) return withAttribute(text, "minimumScaleFactor", "0.5").font(style.numberFont);
  return withAttribute(text.font(style.numberFont), "minimumScaleFactor", "0.9");
}

ui::AnyView RoadmapVoteButton::label() const {
  const auto& style = viewModel_->configuration.style();
  const bool isAccessibilityLayout = isAccessibilitySize(*typeSize_);
  std::vector<ui::AnyView> parts;
  if (viewModel_->canVote) parts.push_back(icon(isAccessibilityLayout));
  if (*showNumber_) parts.push_back(count(isAccessibilityLayout));

  const ui::Color fill = style.tintColor.opacity(*hasVoted_ ? 1.0 : 0.1);
  const ui::AnyView background =
      ui::AnyView(fill).clipShape(ui::RoundedRectangle(style.radius, ui::CornerStyle::continuous));
  ui::AnyView stack;
  if (isAccessibilityLayout) {
    stack =
        flexibleFrame(
            ui::HStack(ui::VerticalAlignment::center, *isHovering_ ? 2.0 : 0.0, parts).padding(style.radius),
            std::nullopt, std::nullopt, 64, std::nullopt)
            .background(background);
  } else {
    stack = flexibleFrame(ui::VStack(ui::HorizontalAlignment::center, *isHovering_ ? 6.0 : 4.0, parts), 56,
                          std::nullopt, std::nullopt, std::nullopt)
                .frame(std::nullopt, 64)
                .background(background);
  }
  const ui::AnyView border =
      *isHovering_
          ? ui::RoundedRectangle(style.radius, ui::CornerStyle::continuous).stroke(style.tintColor, 1)
          : ui::EmptyView();
  return withAttribute(ui::ZStack(ui::Alignment::center(), stack), "contentShape",
                       fmt::format("RoundedRectangle(cornerRadius: {}, style: continuous)", style.radius))
      .overlay(border);
}

ui::AnyView RoadmapVoteButton::body() const {
  const auto viewModel = viewModel_.get();
  const ReduceMotionnModifier motion(*reduceMotion_);
  const auto isHovering = isHovering_;
  const auto showNumber = showNumber_;
  const auto hasVoted = hasVoted_;
  const std::string hint = viewModel->canVote ? voteHint(viewModel->feature) : std::string();

  ui::AnyView button =
      ui::Button(
          [viewModel] {
            if (!viewModel->canVote) return;
            // The view model keeps itself alive until its vote's reply has been applied.
            viewModel->vote();
          },
          label())
          .buttonStyle(ui::ButtonStyle::plain)
          .onChange<std::int64_t>(viewModel->voteCount.get(),
                                  [motion, showNumber](const std::int64_t& newCount) {
                                    if (newCount >= 1)
                                      motion.perform(countSpring(), [&] { showNumber.set(true); });
                                  })
          .onChange<bool>(viewModel->feature.hasVoted(),
                          [motion, hasVoted](const bool& voted) {
                            motion.perform(countSpring(), [&] { hasVoted.set(voted); });
                          })
          .onHover([motion, viewModel, isHovering, hasVoted](bool isInside) {
            if (!viewModel->canVote || *hasVoted) return;
            motion.perform(hoverSpring(), [&] { isHovering.set(isInside); });
          })
          .onAppear([motion, viewModel, showNumber, hasVoted] {
            showNumber.set(viewModel->voteCount.get() > 0);
            motion.perform(countSpring(), [&] { hasVoted.set(viewModel->feature.hasVoted()); });
          });
  button = withAttribute(button, "accessibilityHint", hint).help(hint).modifier(motion);
  return withAttribute(button, "accessibilityShowsLargeContentViewer", "true");
}

}  // namespace Roadmap
