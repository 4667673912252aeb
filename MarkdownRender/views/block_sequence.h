// A vertical run of blocks whose neighbours' margins collapse: the space between two blocks is the
// larger of the upper one's bottom margin and the lower one's top margin, as each block reports them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "MarkdownRender/model/indexed.h"
#include "MarkdownRender/styles/block_margin.h"
#include "MarkdownRender/views/markdown_environment.h"
#include "platform/ui/environment.h"
#include "platform/ui/state.h"
#include "platform/ui/views.h"

namespace MarkdownRender {

template <class Element>
requires requires(const Element& e) { std::hash<Element>{}(e); }
class BlockSequence final : public ui::View {
 public:
  using Content = std::function<ui::AnyView(std::int64_t index, const Element& element)>;

  BlockSequence(const std::vector<Element>& elements, Content content) : content_(std::move(content)) {
    data_.reserve(elements.size());
    for (std::size_t i = 0; i < elements.size(); ++i) {
      data_.push_back(Indexed<Element>{static_cast<std::int64_t>(i), elements[i]});
    }
  }

  // A stack without spacing of its own, aligned as the environment's text alignment says; each element
  // (identified by its offset and value together) is padded above by its top padding, and the margins
  // it reports are recorded as they change. They also keep going up to the views around the sequence.
  ui::AnyView body() const override {
    auto margins = blockMargins_;
    auto rows = ui::ForEach(
        data_, [](const Indexed<Element>& element) { return element; },
        [this, margins](const Indexed<Element>& element) {
          auto key = std::hash<Indexed<Element>>{}(element);
          return content_(element.index, element.value)
              .template onPreferenceChange<BlockMarginsPreference>(
                  [margins, key](const BlockMargin& margin) { record(margins, key, margin); })
              .padding(ui::Edges::top, topPadding(element));
        });
    return ui::VStack(alignment(*textAlignment_), 0.0, rows);
  }

  // Stores the margins an element reports, replacing earlier ones; the sequence is drawn again.
  void recordMargins(const BlockMargin& margin, const Indexed<Element>& element) const {
    record(blockMargins_, std::hash<Indexed<Element>>{}(element), margin);
  }

  // The space above an element: none for the first; otherwise the larger of its own top margin and the
  // previous element's bottom margin (counted as 0 in a tight sequence), absent when neither is stated
  // (the platform's default padding then applies).
  std::optional<double> topPadding(const Indexed<Element>& element) const {
    if (element.index <= 0) return 0.0;
    std::optional<double> own;
    if (auto found = blockMargins_->find(std::hash<Indexed<Element>>{}(element));
        found != blockMargins_->end()) {
      own = found->second.top;
    }
    std::optional<double> previous;
    if (*tightSpacingEnabled_) {
      previous = 0.0;
    } else if (auto index = static_cast<std::size_t>(element.index); index <= data_.size()) {
      auto above = blockMargins_->find(std::hash<Indexed<Element>>{}(data_[index - 1]));
      if (above != blockMargins_->end()) previous = above->second.bottom;
    }
    if (own && previous) return std::max(*own, *previous);
    return own ? own : previous;
  }

 private:
  using Margins = std::unordered_map<std::size_t, BlockMargin>;

  static void record(const ui::State<Margins>& margins, std::size_t key, const BlockMargin& margin) {
    Margins updated = *margins;
    updated[key] = margin;
    margins.set(std::move(updated));
  }
  static ui::HorizontalAlignment alignment(ui::TextAlignment textAlignment) {
    switch (textAlignment) {
      case ui::TextAlignment::center:
        return ui::HorizontalAlignment::center;
      case ui::TextAlignment::trailing:
        return ui::HorizontalAlignment::trailing;
      case ui::TextAlignment::leading:
        break;
    }
    return ui::HorizontalAlignment::leading;
  }

  ui::Environment<ui::MultilineTextAlignmentKey> textAlignment_;
  ui::Environment<TightSpacingEnabledKey> tightSpacingEnabled_;
  ui::State<Margins> blockMargins_;
  std::vector<Indexed<Element>> data_;
  Content content_;
};

}  // namespace MarkdownRender
