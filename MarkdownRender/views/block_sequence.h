// A vertical run of blocks whose neighbours' margins collapse: the space between two blocks is the
// larger of the upper one's bottom margin and the lower one's top margin, as each block reports them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>
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
    std::vector<Indexed<Element>> data;
    data.reserve(elements.size());
    for (std::size_t i = 0; i < elements.size(); ++i) {
      data.push_back(Indexed<Element>{static_cast<std::int64_t>(i), elements[i]});
    }
    data_ = std::make_shared<const std::vector<Indexed<Element>>>(std::move(data));
  }

  // A stack without spacing of its own, aligned as the environment's text alignment says; each element
  // (identified by its offset and value together) is padded above by its top padding, and the margins
  // it reports are recorded as they change. They also keep going up to the views around the sequence.
  ui::AnyView body() const override {
    Rows& rows = **rows_;
    ui::AnyView shown = isContentDeterminedByElement_ ? keptRows(rows) : madeRows();
    forgetLeftMargins();
    return ui::VStack(alignment(*textAlignment_), 0.0, std::move(shown));
  }

  // Stores the margins an element reports, replacing earlier ones; the sequence is drawn again.
  void recordMargins(const BlockMargin& margin, const Indexed<Element>& element) const {
    record(blockMargins_, keyOf(element), margin);
  }

  // The space above an element: none for the first; otherwise the larger of its own top margin and the
  // previous element's bottom margin (counted as 0 in a tight sequence), absent when neither is stated
  // (the platform's default padding then applies).
  std::optional<double> topPadding(const Indexed<Element>& element) const {
    if (element.index <= 0) return 0.0;
    const auto index = static_cast<std::size_t>(element.index);
    const std::size_t previousKey =
        index <= data_->size() ? keyOf((*data_)[index - 1]) : 0;
    return paddingAbove(element.index, keyOf(element),
                        index <= data_->size() ? std::optional<std::size_t>(previousKey) : std::nullopt);
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
    // The keys whose margins changed since the last evaluation, with the version each change made (one
    // per version, in order), so that an evaluation looks up again only the paddings they touch.
    std::shared_ptr<std::vector<std::pair<std::uint64_t, std::size_t>>> changes =
        std::make_shared<std::vector<std::pair<std::uint64_t, std::size_t>>>();
    bool operator==(const Margins&) const = default;
  };
  // The rows made for the elements of the last evaluations, by element key (see ElementContent).
  struct Row {
    Indexed<Element> element;
    std::size_t key = 0;
    std::optional<double> topPadding;
    ui::AnyView view;
    // What the padding was worked out from: the version of the margins, the key of the element above and
    // whether the sequence was tight.
    std::uint64_t marginsVersion = 0;
    std::size_t previousKey = 0;
    bool wasTight = false;
  };
  // Consecutive rows shown as one view of the sequence's ForEach.
  struct Run {
    std::vector<std::pair<std::size_t, ui::AnyView>> rows;  // key, row
    std::vector<Row*> shownRows;                            // the same rows' entries
    // The same rows' elements side by side, so that finding them unchanged costs a pointer each.
    std::vector<Indexed<Element>> elements;
    ui::AnyView view;
    // What its rows' paddings were worked out from, as for a row.
    std::size_t previousKey = 0;
    std::uint64_t marginsVersion = 0;
    bool isTight = false;
  };
  struct Rows {
    std::unordered_map<std::size_t, Row> byKey;  // entries stay where they are while others come and go
    std::vector<Row*> shown;                     // the rows of the last evaluation, in order
    std::vector<Run> runs;                       // the runs of the last evaluation, in order
    std::uint64_t marginsVersion = 0;            // the version of the margins the last evaluation saw
  };
  // The keys whose margins changed after a version: few, as a streamed reply changes one block at a time.
  struct MarginChanges {
    bool isComplete = true;  // false: which changed is not known, so every padding is looked up again
    std::vector<std::size_t> keys;
    bool leaves(std::size_t key) const {
      return isComplete && std::find(keys.begin(), keys.end(), key) == keys.end();
    }
  };

  MarginChanges marginChangesSince(std::uint64_t version) const {
    MarginChanges result;
    const auto& changes = *blockMargins_->changes;
    const std::uint64_t current = blockMargins_->version;
    // Every version after `version` must have left its change in the list (each change counts one up).
    result.isComplete =
        current >= version && changes.size() >= current - version &&
        (current == version || changes[changes.size() - (current - version)].first == version + 1);
    if (!result.isComplete) return result;
    for (std::size_t i = changes.size() - (current - version); i < changes.size(); ++i)
      result.keys.push_back(changes[i].second);
    return result;
  }

  // Consecutive rows are shown in runs of this many, each standing in the sequence's ForEach as one view.
  static constexpr std::size_t kRunLength = 16;

  static std::size_t keyOf(const Indexed<Element>& element) { return std::hash<Indexed<Element>>{}(element); }

  // A row made afresh for every element, for content that may show an element differently each time.
  ui::AnyView madeRows() const {
    std::vector<std::pair<std::size_t, ui::AnyView>> shown;  // key, row
    shown.reserve(data_->size());
    std::size_t previousKey = 0;
    for (const auto& element : *data_) {
      const std::size_t key = keyOf(element);
      shown.emplace_back(key, row(element, key, paddingAbove(element.index, key, previousKey)));
      previousKey = key;
    }
    return ui::ForEach(
        shown, [](const auto& row) { return row.first; }, [](const auto& row) { return row.second; });
  }

  // The rows of content determined by the element: the same element with the same padding is shown by
  // the very view made for it before, and a run of such rows by the very run shown before, which the view
  // graph then keeps as it is without looking inside. A run whose elements, margins and element above
  // are as they were is taken over whole, its rows not visited: a document that grows at its end costs
  // little more than its last run, however long it is.
  ui::AnyView keptRows(Rows& rows) const {
    const std::uint64_t marginsVersion = blockMargins_->version;
    const bool isTight = *tightSpacingEnabled_;
    const MarginChanges changed = marginChangesSince(rows.marginsVersion);
    std::vector<Row*> shownRows;
    shownRows.reserve(data_->size());
    std::vector<Run> runs;
    runs.reserve((data_->size() + kRunLength - 1) / kRunLength);
    std::size_t previousKey = 0;
    // Runs are cut at fixed offsets, so an element stays in its run (and its view keeps its place in the
    // tree) for as long as it keeps its offset; run n is keyed by n.
    for (std::size_t start = 0; start < data_->size(); start += kRunLength) {
      const std::size_t end = std::min(start + kRunLength, data_->size());
      const std::size_t number = start / kRunLength;
      Run* before = number < rows.runs.size() ? &rows.runs[number] : nullptr;
      if (before && isKept(*before, start, end, previousKey, isTight, rows.marginsVersion, changed)) {
        before->marginsVersion = marginsVersion;
        shownRows.insert(shownRows.end(), before->shownRows.begin(), before->shownRows.end());
        previousKey = before->rows.back().first;
        runs.push_back(std::move(*before));
        continue;
      }
      Run run;
      run.previousKey = previousKey;
      run.marginsVersion = marginsVersion;
      run.isTight = isTight;
      run.rows.reserve(end - start);
      run.shownRows.reserve(end - start);
      run.elements.reserve(end - start);
      for (std::size_t i = start; i < end; ++i) {
        Row& kept = keptRow(rows, i, previousKey, marginsVersion, isTight, changed);
        previousKey = kept.key;
        run.rows.emplace_back(kept.key, kept.view);
        run.shownRows.push_back(&kept);
        run.elements.push_back(kept.element);
        shownRows.push_back(&kept);
      }
      bool isSameView = before && before->rows.size() == run.rows.size();
      for (std::size_t i = 0; isSameView && i < run.rows.size(); ++i) {
        isSameView = before->rows[i].first == run.rows[i].first &&
                     before->rows[i].second.spec() == run.rows[i].second.spec();
      }
      run.view = isSameView ? before->view
                            : ui::ForEachRun(
                                  run.rows, [](const auto& row) { return row.first; },
                                  [](const auto& row) { return row.second; });
      runs.push_back(std::move(run));
    }
    rows.shown = std::move(shownRows);
    rows.runs = std::move(runs);
    rows.marginsVersion = marginsVersion;
    blockMargins_->changes->clear();
    forgetLeftRows(rows);
    std::vector<std::size_t> numbers(rows.runs.size());
    for (std::size_t n = 0; n < numbers.size(); ++n) numbers[n] = n;
    return ui::ForEach(
        numbers, [](std::size_t n) { return n; }, [&rows](std::size_t n) { return rows.runs[n].view; });
  }

  // Whether the run shown before still shows the elements from `start` to `end` below the element keyed
  // `previousKey`: the same elements, with the margins of none of them nor of the one above changed.
  bool isKept(const Run& run, std::size_t start, std::size_t end, std::size_t previousKey, bool isTight,
              std::uint64_t lastMarginsVersion, const MarginChanges& changed) const {
    if (run.rows.size() != end - start || run.previousKey != previousKey || run.isTight != isTight)
      return false;
    if (run.marginsVersion != blockMargins_->version) {
      if (run.marginsVersion != lastMarginsVersion || !changed.leaves(previousKey)) return false;
      for (const auto& row : run.rows) {
        if (!changed.leaves(row.first)) return false;
      }
    }
    // Equal elements have equal keys. An element parsed again into storage of its own is equal but
    // costs a comparison of values here until its run is made again.
    return std::equal(run.elements.begin(), run.elements.end(),
                      data_->begin() + static_cast<std::ptrdiff_t>(start));
  }

  // The row of the element at `index`, below the element keyed `previousKey`, made again only when the
  // element or its padding changed. A row is most often where it was in the last evaluation, where it is
  // found without a look-up. Its padding is worked out again only once the margins of the element itself
  // or of the one above changed, or the element above did.
  Row& keptRow(Rows& rows, std::size_t index, std::size_t previousKey, std::uint64_t marginsVersion,
               bool isTight, const MarginChanges& changed) const {
    const auto& element = (*data_)[index];
    const std::size_t key = keyOf(element);
    Row* kept = index < rows.shown.size() && rows.shown[index]->key == key ? rows.shown[index] : nullptr;
    if (!kept) {
      auto found = rows.byKey.find(key);
      if (found != rows.byKey.end()) kept = &found->second;
    }
    const bool isPaddingKnown =
        kept && kept->previousKey == previousKey && kept->wasTight == isTight &&
        (kept->marginsVersion == marginsVersion ||
         (kept->marginsVersion == rows.marginsVersion && changed.leaves(key) && changed.leaves(previousKey)));
    const std::optional<double> padding =
        isPaddingKnown ? kept->topPadding : paddingAbove(element.index, key, previousKey);
    if (!kept) {
      kept = &rows.byKey.emplace(key, Row{element, key, padding, row(element, key, padding)}).first->second;
    } else if (kept->topPadding != padding || !(kept->element == element)) {
      *kept = Row{element, key, padding, row(element, key, padding)};
    } else {
      kept->element = element;  // as in `isKept`
    }
    kept->marginsVersion = marginsVersion;
    kept->previousKey = previousKey;
    kept->wasTight = isTight;
    return *kept;
  }

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
    if (rows.byKey.size() <= 2 * data_->size() + 16) return;
    std::unordered_set<const Row*> shown(rows.shown.begin(), rows.shown.end());
    std::erase_if(rows.byKey, [&shown](const auto& entry) { return !shown.contains(&entry.second); });
  }

  // The same for margins: those of elements that left are forgotten (an element that comes back reports
  // them again). Nothing shown reads them, so the sequence is not drawn again.
  void forgetLeftMargins() const {
    auto& margins = *blockMargins_->byKey;
    if (margins.size() <= 2 * data_->size() + 16) return;
    std::unordered_map<std::size_t, BlockMargin> kept;
    kept.reserve(data_->size());
    for (const auto& element : *data_) {
      const std::size_t key = keyOf(element);
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
    margins->changes->emplace_back(margins->version + 1, key);
    margins.set(Margins{margins->byKey, margins->version + 1, margins->changes});
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
  // Shared by the copies the view graph makes of the sequence, which then cost nothing per element.
  std::shared_ptr<const std::vector<Indexed<Element>>> data_;
  Content content_;
  bool isContentDeterminedByElement_;
};

}  // namespace MarkdownRender
