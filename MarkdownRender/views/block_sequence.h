// A vertical run of blocks whose neighbours' margins collapse: the space between two blocks is the
// larger of the upper one's bottom margin and the lower one's top margin, as each block reports them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
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

// Whether the content function of a sequence makes the same view every time it is given the same offset
// and element (its result depends on nothing else), so the row made for an element can be kept for as
// long as the element stays where it is.
enum class ElementContent { variable, determinedByElement };

template <class Element>
requires requires(const Element& e) { std::hash<Element>{}(e); }
class BlockSequence final : public ui::View {
 public:
  using Content = std::function<ui::AnyView(std::int64_t index, const Element& element)>;

  BlockSequence(const std::vector<Element>& elements, Content content,
                ElementContent kind = ElementContent::variable)
      : content_(std::move(content)),
        isContentDeterminedByElement_(kind == ElementContent::determinedByElement) {
    data_.reserve(elements.size());
    for (std::size_t i = 0; i < elements.size(); ++i) {
      data_.push_back(Indexed<Element>{static_cast<std::int64_t>(i), elements[i]});
    }
  }

  // A stack without spacing of its own, aligned as the environment's text alignment says; each element
  // (identified by its offset and value together) is padded above by its top padding, and the margins
  // it reports are recorded as they change. They also keep going up to the views around the sequence.
  ui::AnyView body() const override {
    Rows& rows = **rows_;
    ++rows.evaluation;
    std::vector<std::pair<std::size_t, ui::AnyView>> shown;  // key, row
    shown.reserve(data_.size());
    const std::uint64_t marginsVersion = blockMargins_->version;
    const bool isTight = *tightSpacingEnabled_;
    std::size_t previousKey = 0;
    for (const auto& element : data_) {
      const std::size_t key = std::hash<Indexed<Element>>{}(element);
      if (!isContentDeterminedByElement_) {
        shown.emplace_back(key, row(element, key, paddingAbove(element.index, key, previousKey)));
        previousKey = key;
        continue;
      }
      // The same element with the same padding is shown by the very view made for it before, which the
      // view graph then keeps as it is without looking inside. Its padding is looked up again only once
      // the margins or the element above changed.
      auto kept = rows.byKey.find(key);
      const bool isPaddingKnown = kept != rows.byKey.end() && kept->second.marginsVersion == marginsVersion &&
                                  kept->second.previousKey == previousKey && kept->second.wasTight == isTight;
      const std::optional<double> padding =
          isPaddingKnown ? kept->second.topPadding : paddingAbove(element.index, key, previousKey);
      if (kept == rows.byKey.end()) {
        kept = rows.byKey.emplace(key, Row{element, padding, row(element, key, padding)}).first;
      } else if (kept->second.topPadding != padding || !(kept->second.element == element)) {
        kept->second = Row{element, padding, row(element, key, padding)};
      } else {
        // Equal, perhaps parsed again into storage of its own: the latest value is kept, which the next
        // evaluation most likely shares, so that comparing it costs a pointer.
        kept->second.element = element;
      }
      kept->second.evaluation = rows.evaluation;
      kept->second.marginsVersion = marginsVersion;
      kept->second.previousKey = previousKey;
      kept->second.wasTight = isTight;
      previousKey = key;
      shown.emplace_back(key, kept->second.view);
    }
    forgetLeftRows(rows);
    forgetLeftMargins();
    return ui::VStack(
        alignment(*textAlignment_), 0.0,
        ui::ForEach(
            shown, [](const auto& row) { return row.first; }, [](const auto& row) { return row.second; }));
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
    const auto index = static_cast<std::size_t>(element.index);
    const std::size_t previousKey =
        index <= data_.size() ? std::hash<Indexed<Element>>{}(data_[index - 1]) : 0;
    return paddingAbove(element.index, std::hash<Indexed<Element>>{}(element),
                        index <= data_.size() ? std::optional<std::size_t>(previousKey) : std::nullopt);
  }

 private:
  // `topPadding` for the element at `index` with key `key`, below the element with key `previousKey`
  // (absent: no element is known above).
  std::optional<double> paddingAbove(std::int64_t index, std::size_t key,
                                     std::optional<std::size_t> previousKey) const {
    if (index <= 0) return 0.0;
    const auto& margins = *blockMargins_->byKey;
    std::optional<double> own;
    if (auto found = margins.find(key); found != margins.end()) own = found->second.top;
    std::optional<double> previous;
    if (*tightSpacingEnabled_) {
      previous = 0.0;
    } else if (previousKey) {
      if (auto above = margins.find(*previousKey); above != margins.end()) previous = above->second.bottom;
    }
    if (own && previous) return std::max(*own, *previous);
    return own ? own : previous;
  }

  // The margins reported so far, by element key. One table serves every evaluation of the sequence: it is
  // changed in place and the version counted up, so recording a margin costs one entry, not a copy of all.
  struct Margins {
    std::shared_ptr<std::unordered_map<std::size_t, BlockMargin>> byKey =
        std::make_shared<std::unordered_map<std::size_t, BlockMargin>>();
    std::uint64_t version = 0;
    bool operator==(const Margins&) const = default;
  };
  // The rows made for the elements of the last evaluations, by element key (see ElementContent).
  struct Row {
    Indexed<Element> element;
    std::optional<double> topPadding;
    ui::AnyView view;
    std::uint64_t evaluation = 0;  // the last evaluation that showed it
    // What the padding was worked out from: the version of the margins, the key of the element above and
    // whether the sequence was tight.
    std::uint64_t marginsVersion = 0;
    std::size_t previousKey = 0;
    bool wasTight = false;
  };
  struct Rows {
    std::unordered_map<std::size_t, Row> byKey;
    std::uint64_t evaluation = 0;
  };

  ui::AnyView row(const Indexed<Element>& element, std::size_t key, std::optional<double> padding) const {
    auto margins = blockMargins_;
    return content_(element.index, element.value)
        .template onPreferenceChange<BlockMarginsPreference>(
            [margins, key](const BlockMargin& margin) { record(margins, key, margin); })
        .padding(ui::Edges::top, padding);
  }

  // Rows of elements that left are dropped once they outnumber the elements shown, so the cost stays
  // in proportion to the elements (a streamed block leaves a row behind at every step).
  void forgetLeftRows(Rows& rows) const {
    if (rows.byKey.size() <= 2 * data_.size() + 16) return;
    std::erase_if(rows.byKey,
                  [&rows](const auto& entry) { return entry.second.evaluation != rows.evaluation; });
  }

  // The same for margins: those of elements that left are forgotten (an element that comes back reports
  // them again). Nothing shown reads them, so the sequence is not drawn again.
  void forgetLeftMargins() const {
    auto& margins = *blockMargins_->byKey;
    if (margins.size() <= 2 * data_.size() + 16) return;
    std::unordered_map<std::size_t, BlockMargin> kept;
    kept.reserve(data_.size());
    for (const auto& element : data_) {
      const std::size_t key = std::hash<Indexed<Element>>{}(element);
      if (auto found = margins.find(key); found != margins.end()) kept.insert(*found);
    }
    margins.swap(kept);
  }

  static void record(const ui::State<Margins>& margins, std::size_t key, const BlockMargin& margin) {
    auto& table = *margins->byKey;
    auto [entry, isNew] = table.try_emplace(key, margin);
    if (!isNew) {
      if (entry->second == margin) return;
      entry->second = margin;
    }
    margins.set(Margins{margins->byKey, margins->version + 1});
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
  // Kept by the view graph with the sequence; never set, so it never draws the sequence again.
  ui::State<std::shared_ptr<Rows>> rows_{std::make_shared<Rows>()};
  std::vector<Indexed<Element>> data_;
  Content content_;
  bool isContentDeterminedByElement_;
};

}  // namespace MarkdownRender
