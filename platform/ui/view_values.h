// Small values that views and modifiers are described with: edges, insets, alignments, animations,
// keyboard shortcuts and shape styles.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ui {

// The padding the platform uses when a view asks for padding without a length.
inline constexpr double defaultPadding = 16;

// A set of edges of a rectangle.
enum class Edges : std::uint8_t {
  top = 1,
  leading = 2,
  bottom = 4,
  trailing = 8,
  horizontal = leading | trailing,
  vertical = top | bottom,
  all = top | leading | bottom | trailing,
};

constexpr Edges operator|(Edges a, Edges b) {
  return static_cast<Edges>(static_cast<std::uint8_t>(a) | static_cast<std::uint8_t>(b));
}
constexpr bool contains(Edges set, Edges edge) {
  return (static_cast<std::uint8_t>(set) & static_cast<std::uint8_t>(edge)) ==
         static_cast<std::uint8_t>(edge);
}

// Lengths inset from each edge.
struct EdgeInsets {
  double top = 0;
  double leading = 0;
  double bottom = 0;
  double trailing = 0;

  EdgeInsets& operator+=(const EdgeInsets& other) {
    top += other.top;
    leading += other.leading;
    bottom += other.bottom;
    trailing += other.trailing;
    return *this;
  }
  bool operator==(const EdgeInsets&) const = default;
};

enum class HorizontalAlignment { leading, center, trailing };
enum class VerticalAlignment { top, center, bottom, firstTextBaseline, lastTextBaseline };

struct Alignment {
  HorizontalAlignment horizontal = HorizontalAlignment::center;
  VerticalAlignment vertical = VerticalAlignment::center;

  static constexpr Alignment center() { return {}; }
  static constexpr Alignment leading() { return {HorizontalAlignment::leading, VerticalAlignment::center}; }
  static constexpr Alignment trailing() { return {HorizontalAlignment::trailing, VerticalAlignment::center}; }
  static constexpr Alignment top() { return {HorizontalAlignment::center, VerticalAlignment::top}; }
  static constexpr Alignment bottom() { return {HorizontalAlignment::center, VerticalAlignment::bottom}; }
  static constexpr Alignment topLeading() { return {HorizontalAlignment::leading, VerticalAlignment::top}; }
  static constexpr Alignment topTrailing() { return {HorizontalAlignment::trailing, VerticalAlignment::top}; }
  static constexpr Alignment bottomLeading() {
    return {HorizontalAlignment::leading, VerticalAlignment::bottom};
  }
  static constexpr Alignment bottomTrailing() {
    return {HorizontalAlignment::trailing, VerticalAlignment::bottom};
  }
  bool operator==(const Alignment&) const = default;
};

// How lines of a multi-line text are aligned.
enum class TextAlignment { leading, center, trailing };

// The corners of a rounded rectangle: circular arcs, or the smoother continuous curve.
enum class CornerStyle { circular, continuous };

// How a button draws itself around its label.
enum class ButtonStyle { automatic, plain, bordered, borderless, link };

// How a picker shows its options: a pop-up menu (the default), or segments side by side.
enum class PickerStyle { automatic, menu, segmented };

// An animation, kept as data: the renderer and the inspector read it; nothing moves on Linux yet.
struct Animation {
  enum class Curve { defaultCurve, linear, easeIn, easeOut, easeInOut, spring };

  Curve curve = Curve::defaultCurve;
  double duration = 0.35;  // seconds, for the timing curves
  double response = 0;     // seconds, for springs
  double dampingFraction = 0;
  double blendDuration = 0;
  double delaySeconds = 0;
  std::optional<int> repeatCount;  // absent: played once
  bool repeatsForever = false;
  bool autoreverses = false;

  static Animation defaultAnimation() { return {}; }
  static Animation linear(double duration = 0.35) { return timed(Curve::linear, duration); }
  static Animation easeIn(double duration = 0.35) { return timed(Curve::easeIn, duration); }
  static Animation easeOut(double duration = 0.35) { return timed(Curve::easeOut, duration); }
  static Animation easeInOut(double duration = 0.35) { return timed(Curve::easeInOut, duration); }
  static Animation spring(double response = 0.55, double dampingFraction = 0.825, double blendDuration = 0) {
    Animation result;
    result.curve = Curve::spring;
    result.response = response;
    result.dampingFraction = dampingFraction;
    result.blendDuration = blendDuration;
    return result;
  }

  Animation delay(double seconds) const {
    Animation result = *this;
    result.delaySeconds = seconds;
    return result;
  }
  Animation repeatForever(bool autoreverses = true) const {
    Animation result = *this;
    result.repeatsForever = true;
    result.autoreverses = autoreverses;
    return result;
  }
  Animation repeatCountTimes(int count, bool autoreverses = true) const {
    Animation result = *this;
    result.repeatCount = count;
    result.autoreverses = autoreverses;
    return result;
  }

  bool operator==(const Animation&) const = default;

 private:
  static Animation timed(Curve curve, double duration) {
    Animation result;
    result.curve = curve;
    result.duration = duration;
    return result;
  }
};

// Modifier keys of a keyboard shortcut or a key press, as the platform's flags.
enum class EventModifiers : std::uint8_t {
  none = 0,
  capsLock = 1,
  shift = 2,
  control = 4,
  option = 8,
  command = 16,
  numericPad = 32,
  function = 64,
};

constexpr EventModifiers operator|(EventModifiers a, EventModifiers b) {
  return static_cast<EventModifiers>(static_cast<std::uint8_t>(a) | static_cast<std::uint8_t>(b));
}

// A key and its modifiers. Keys are single characters ("c"), or the names of special keys: "return",
// "escape", "delete", "tab", "space", "upArrow", "downArrow", "leftArrow", "rightArrow".
struct KeyboardShortcut {
  std::string key;
  EventModifiers modifiers = EventModifiers::command;

  static KeyboardShortcut defaultAction() { return {"return", EventModifiers::none}; }
  static KeyboardShortcut cancelAction() { return {"escape", EventModifiers::none}; }
  bool operator==(const KeyboardShortcut&) const = default;
};

// The outline of a shape: what shape views draw and what clipShape clips to.
struct ShapeOutline {
  enum class Kind { rectangle, roundedRectangle, circle, ellipse, capsule };
  Kind kind = Kind::rectangle;
  double cornerRadius = 0;  // rounded rectangles
  CornerStyle cornerStyle = CornerStyle::circular;
  bool operator==(const ShapeOutline&) const = default;
};

// A point in a view's unit square, as used by anchors and gradients.
struct UnitPoint {
  double x = 0.5;
  double y = 0.5;
  bool operator==(const UnitPoint&) const = default;
};

}  // namespace ui
