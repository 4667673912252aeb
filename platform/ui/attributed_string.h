// Styled text as a plain value: UTF-8 characters with runs of attributes (colours, font, decorations,
// kerning, links and attributes of the caller's own by name).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/ui/color.h"
#include "platform/ui/font.h"
#include "platform/ui/line_style.h"

namespace ui {

// The value of an attribute that the caller names itself.
using AttributeValue = std::variant<bool, std::int64_t, double, std::string>;

// A set of attributes; an attribute that is absent is not set (it neither adds nor removes anything
// when merged).
struct AttributeContainer {
  std::optional<Color> foregroundColor;
  std::optional<Color> backgroundColor;
  std::optional<Font> font;
  std::optional<bool> strikethrough;
  std::optional<bool> underline;
  std::optional<double> kern;
  std::optional<double> tracking;
  std::optional<std::string> link;  // a URL text
  std::map<std::string, AttributeValue> custom;
  // The pattern and colour of the strikethrough and underline lines, where they are drawn; absent: a
  // single solid line in the colour of the text.
  std::optional<LineStyle> strikethroughStyle;
  std::optional<LineStyle> underlineStyle;

  // These attributes with every attribute that `other` sets taken from `other`.
  AttributeContainer merging(const AttributeContainer& other) const;
  bool isEmpty() const;

  bool operator==(const AttributeContainer&) const = default;
  std::size_t hashValue() const;
};

class AttributedString {
 public:
  // One run: a maximal stretch of characters with the same attributes, as byte offsets into characters().
  // Its attributes are kept once per distinct set in the string's table of attributes (a long text has
  // many runs but few styles); `attributes(run)` gives them.
  struct Run {
    std::size_t start = 0;
    std::size_t length = 0;
    // The place of the run's attributes in the table of the string the run belongs to.
    std::uint32_t attributesIndex = 0;

    bool operator==(const Run&) const = default;
  };

  AttributedString() = default;
  explicit AttributedString(std::string text, const AttributeContainer& attributes = {});

  // The plain characters (UTF-8).
  const std::string& characters() const { return text_; }
  bool isEmpty() const { return text_.empty(); }

  // The runs in order; neighbouring pieces with equal attributes form one run. Empty text has no runs.
  const std::vector<Run>& runs() const { return runs_; }
  // The text of one run.
  std::string_view text(const Run& run) const {
    return std::string_view(text_).substr(run.start, run.length);
  }
  // The attributes of one run of this string.
  const AttributeContainer& attributes(const Run& run) const { return *attributeTable_[run.attributesIndex]; }

  void append(const AttributedString& other);
  void append(std::string_view text, const AttributeContainer& attributes = {});
  AttributedString& operator+=(const AttributedString& other);
  friend AttributedString operator+(AttributedString lhs, const AttributedString& rhs);

  // Merges `attributes` into every run (the given attributes win where both set one).
  void mergeAttributes(const AttributeContainer& attributes);
  // Replaces the attributes of the whole text.
  void setAttributes(const AttributeContainer& attributes);

  // Equal characters with equal attributes run by run, however each string keeps its table.
  bool operator==(const AttributedString& other) const;
  std::size_t hashValue() const;

 private:
  using SharedAttributes = std::shared_ptr<const AttributeContainer>;

  // The place of `attributes` in the table, added if no equal set is there yet.
  std::uint32_t intern(const AttributeContainer& attributes);
  std::uint32_t intern(const SharedAttributes& attributes);
  void appendRun(std::size_t length, std::uint32_t attributesIndex);

  std::string text_;
  std::vector<Run> runs_;
  // Distinct sets of attributes, shared with copies of the string and with strings appended from it
  // (a container is never changed once in a table).
  std::vector<SharedAttributes> attributeTable_;
};
}  // namespace ui

template <>
struct std::hash<ui::AttributeContainer> {
  std::size_t operator()(const ui::AttributeContainer& value) const { return value.hashValue(); }
};

template <>
struct std::hash<ui::AttributedString> {
  std::size_t operator()(const ui::AttributedString& value) const { return value.hashValue(); }
};
