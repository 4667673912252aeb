#include "platform/render/renderer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/appkit/controls.h"
#include "platform/appkit/label.h"
#include "platform/appkit/styled_window.h"
#include "platform/foundation/utf16.h"
#include "platform/render/reach_table.h"
#include "platform/render/shapes.h"
#include "platform/ui/control_styles.h"
#include "platform/ui/hosting.h"
#include "platform/ui/layout/layout.h"
#include "platform/ui/material.h"
#include "platform/ui/modifiers.h"
#include "platform/ui/progress_view.h"
#include "platform/ui/scale_effect.h"
#include "platform/ui/views.h"

namespace render {

namespace {

using foundation::Point;
using foundation::Rect;
using foundation::Size;
using ui::detail::Node;

// A larger shadow than this is not blurred: the picture it would need is too large to be worth it.
constexpr double maximumShadowPixels = 4096.0 * 4096.0;

void setSource(cairo_t* cr, const ui::ResolvedColor& color) {
  cairo_set_source_rgba(cr, color.red, color.green, color.blue, color.opacity);
}

ui::ResolvedColor resolved(const ui::Color& color, ui::ColorScheme scheme) { return color.resolved(scheme); }

Rect outset(const Rect& rect, double dx, double dy) {
  return {rect.minX() - dx, rect.minY() - dy, rect.width() + 2 * dx, rect.height() + 2 * dy};
}

ui::Font fontOf(const Node& node) { return node.environment().font().value_or(ui::Font::body()); }

// Whether the curved corners of a rounded rectangle or capsule lie outside `visible` (each corner's curve
// stays within a square of the corner's reach, at most half the shorter side).
bool areCornersHidden(const ui::ShapeOutline& shape, const Rect& frame, const Rect& visible) {
  double reach = 0;
  if (shape.kind == ui::ShapeOutline::Kind::roundedRectangle) {
    reach = shape.cornerRadius * 1.6;
  } else if (shape.kind == ui::ShapeOutline::Kind::capsule) {
    reach = std::min(frame.width(), frame.height()) / 2;
  } else {
    return false;
  }
  reach = std::min(reach, std::min(frame.width(), frame.height()) / 2) + 1;
  for (const Rect& corner : {Rect(frame.minX(), frame.minY(), reach, reach),
                             Rect(frame.maxX() - reach, frame.minY(), reach, reach),
                             Rect(frame.minX(), frame.maxY() - reach, reach, reach),
                             Rect(frame.maxX() - reach, frame.maxY() - reach, reach, reach)}) {
    if (corner.intersects(visible)) return false;
  }
  return true;
}

// Three box blurs in a row come close to a Gaussian of deviation `sigma`, here on the alpha channel alone.
void blurAlpha(cairo_surface_t* surface, double sigma) {
  if (sigma < 0.5) return;
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const int radius = std::max(1, static_cast<int>(std::lround((std::sqrt(4 * sigma * sigma + 1) - 1) / 2)));
  std::vector<unsigned char> line(static_cast<std::size_t>(std::max(width, height)));
  auto pass = [&](unsigned char* start, int count, int step) {
    for (int i = 0; i < count; ++i)
      line[static_cast<std::size_t>(i)] = start[static_cast<std::ptrdiff_t>(i) * step];
    int sum = 0;
    const int window = 2 * radius + 1;
    for (int i = -radius; i <= radius; ++i)
      sum += i >= 0 && i < count ? line[static_cast<std::size_t>(i)] : 0;
    for (int i = 0; i < count; ++i) {
      start[static_cast<std::ptrdiff_t>(i) * step] = static_cast<unsigned char>(sum / window);
      const int out = i - radius, in = i + radius + 1;
      if (out >= 0) sum -= line[static_cast<std::size_t>(out)];
      if (in < count) sum += line[static_cast<std::size_t>(in)];
    }
  };
  for (int round = 0; round < 3; ++round) {
    for (int y = 0; y < height; ++y) pass(data + static_cast<std::ptrdiff_t>(y) * stride, width, 1);
    for (int x = 0; x < width; ++x) pass(data + x, height, stride);
  }
  cairo_surface_mark_dirty(surface);
}

struct Walk {
  cairo_t* cr;
  const ui::HostingView* hosting;
  Rect visible;                        // what the clip lets through, in the hosting view's coordinates
  std::optional<ui::Color> linkColor;  // inside a link: the colour of its label's text
  ReachTable* reaches = nullptr;       // of the hosting view's tree, as laid out
};

class Painter {
 public:
  Painter(TextEngine& textEngine, ImageLibrary& images) : text_(textEngine), images_(images) {}

  void drawView(const appkit::View& view, cairo_t* cr, std::optional<ui::ColorScheme> scheme) {
    if (view.isHidden()) return;
    if (auto* hosting = dynamic_cast<const ui::HostingView*>(&view)) {
      drawHosted(*hosting, cr);
      return;
    }
    const auto local = Rect({0, 0}, view.frame().size);
    const ui::ColorScheme colorScheme = scheme.value_or(ui::ColorScheme::light);
    drawPlatformContent(view, local, cr, colorScheme);
    const auto origin = view.bounds().origin;
    for (const auto& subview : view.subviews()) {
      if (subview->isHidden()) continue;
      cairo_save(cr);
      cairo_translate(cr, subview->frame().minX() - origin.x, subview->frame().minY() - origin.y);
      drawView(*subview, cr, colorScheme);
      cairo_restore(cr);
    }
  }

 private:
  void drawHosted(const ui::HostingView& hosting, cairo_t* cr) {
    auto root = const_cast<ui::HostingView&>(hosting).graph().root();
    if (!root) return;
    cairo_save(cr);
    const auto origin = hosting.bounds().origin;
    cairo_translate(cr, -origin.x, -origin.y);
    // Held while the tree is drawn: a tree drawn inside it may make another table take its place.
    const auto reaches = ReachTable::of(hosting);
    Walk walk{cr, &hosting, clipExtents(cr), std::nullopt, reaches.get()};
    drawNode(*root, walk);
    cairo_restore(cr);
  }

  static Rect clipExtents(cairo_t* cr) {
    double x1, y1, x2, y2;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    return {x1, y1, x2 - x1, y2 - y1};
  }

  std::optional<Rect> frameOf(const Node& node, const Walk& walk) const { return walk.hosting->frame(node); }

  void drawChildren(const Node& node, Walk& walk) {
    for (const auto& child : node.children()) drawNode(*child, walk);
  }

  void drawNode(const Node& node, Walk& walk) {
    auto frame = frameOf(node, walk);
    // A view without subviews is judged by its frame as it is drawn.
    if (walk.reaches && !node.children().empty() && !walk.reaches->mayReach(node, frame, walk.visible))
      return;
    if (!frame) {
      // A container that only gathers views is framed by some layouts and not by others; what it gathered
      // has frames of its own. Views that were not placed (another tab) have none and draw nothing.
      drawChildren(node, walk);
      return;
    }
    if (auto platformView = walk.hosting->platformView(node)) {
      drawControl(node, *platformView, *frame, walk);
      return;
    }
    switch (node.kind()) {
      case Node::Kind::composite:
        drawChildren(node, walk);
        return;
      case Node::Kind::modified:
        drawModified(node, *frame, walk);
        return;
      case Node::Kind::primitive:
        drawPrimitive(node, *frame, walk);
        return;
    }
  }

  void drawModified(const Node& node, const Rect& frame, Walk& walk) {
    const auto& children = node.children();
    if (children.empty()) return;
    // A hidden view keeps its room in the layout and shows nothing.
    if (node.modifierAs<ui::HiddenModifier>()) return;
    const Node& content = *children.front();
    auto drawAttached = [&] {
      for (std::size_t i = 1; i < children.size(); ++i) drawNode(*children[i], walk);
    };
    if (node.modifierAs<ui::BackgroundModifier>()) {
      drawAttached();
      drawNode(content, walk);
      return;
    }
    if (auto* m = node.modifierAs<ui::ClipShapeModifier>()) {
      cairo_save(walk.cr);
      // A rounded shape whose corners are all out of sight clips as its rectangle does; a rectangle is
      // far cheaper to clip to than a curve for everything drawn inside it.
      if (areCornersHidden(m->shape, frame, walk.visible)) {
        cairo_rectangle(walk.cr, frame.minX(), frame.minY(), frame.width(), frame.height());
      } else {
        addOutline(walk.cr, m->shape, frame);
      }
      cairo_clip(walk.cr);
      Walk inner = walk;
      inner.visible = clipExtents(walk.cr);
      drawNode(content, inner);
      cairo_restore(walk.cr);
      return;
    }
    if (auto* m = node.modifierAs<ui::OpacityModifier>()) {
      if (!(m->opacity > 0)) return;
      if (m->opacity >= 1) {
        drawNode(content, walk);
        return;
      }
      cairo_push_group(walk.cr);
      drawNode(content, walk);
      cairo_pop_group_to_source(walk.cr);
      cairo_paint_with_alpha(walk.cr, m->opacity);
      return;
    }
    if (auto* m = node.modifierAs<ui::ShadowModifier>()) {
      drawShadow(content, *m, frame, walk);
      drawNode(content, walk);
      return;
    }
    if (node.modifierAs<ui::OverlayModifier>()) {
      drawNode(content, walk);
      drawAttached();
      return;
    }
    if (auto* m = node.modifierAs<ui::ScaleEffectModifier>()) {
      if (!std::isfinite(m->scale) || m->scale <= 0) return;
      // The anchor stays where it is; everything else moves towards it or away from it.
      const double x = frame.minX() + m->anchor.x * frame.width(),
                   y = frame.minY() + m->anchor.y * frame.height();
      cairo_save(walk.cr);
      cairo_translate(walk.cr, x, y);
      cairo_scale(walk.cr, m->scale, m->scale);
      cairo_translate(walk.cr, -x, -y);
      Walk inner = walk;
      inner.visible = clipExtents(walk.cr);
      drawNode(content, inner);
      cairo_restore(walk.cr);
      return;
    }
    // Views other modifiers attach (a window's toolbar items, say) are not part of the content's picture.
    drawNode(content, walk);
  }

  // The content's coverage, blurred, in the shadow's colour and at its offset, under the content.
  void drawShadow(const Node& content, const ui::ShadowModifier& m, const Rect& frame, Walk& walk) {
    const auto color = resolved(m.color, content.environment().colorScheme());
    if (color.opacity <= 0) return;
    const double radius = std::isfinite(m.radius) ? std::clamp(m.radius, 0.0, 200.0) : 0.0;
    const double dx = std::isfinite(m.x) ? m.x : 0, dy = std::isfinite(m.y) ? m.y : 0;
    Rect area = outset(Rect(frame.minX() + dx, frame.minY() + dy, frame.width(), frame.height()),
                       2 * radius + 2, 2 * radius + 2);
    if (!area.intersects(walk.visible)) return;
    double x1 = area.minX(), y1 = area.minY(), x2 = area.maxX(), y2 = area.maxY();
    cairo_user_to_device(walk.cr, &x1, &y1);
    cairo_user_to_device(walk.cr, &x2, &y2);
    const double deviceX = std::floor(std::min(x1, x2)), deviceY = std::floor(std::min(y1, y2));
    const int width = static_cast<int>(std::ceil(std::max(x1, x2) - deviceX));
    const int height = static_cast<int>(std::ceil(std::max(y1, y2) - deviceY));
    if (width <= 0 || height <= 0 || static_cast<double>(width) * height > maximumShadowPixels) return;
    const double scale = std::abs(x2 - x1) / std::max(area.width(), 1e-9);

    cairo_surface_t* coverage = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    cairo_t* shadowCr = cairo_create(coverage);
    cairo_matrix_t matrix;
    cairo_get_matrix(walk.cr, &matrix);
    cairo_translate(shadowCr, -deviceX, -deviceY);
    cairo_transform(shadowCr, &matrix);
    cairo_translate(shadowCr, dx, dy);
    Walk shadowWalk = walk;
    shadowWalk.cr = shadowCr;
    shadowWalk.visible = clipExtents(shadowCr);
    drawNode(content, shadowWalk);
    cairo_destroy(shadowCr);
    blurAlpha(coverage, radius / 2 * scale);

    cairo_save(walk.cr);
    cairo_identity_matrix(walk.cr);
    setSource(walk.cr, color);
    cairo_mask_surface(walk.cr, coverage, deviceX, deviceY);
    cairo_restore(walk.cr);
    cairo_surface_destroy(coverage);
  }

  ui::ResolvedColor foreground(const Node& node, const Walk& walk) const {
    const auto& environment = node.environment();
    if (auto color = environment.foregroundStyle()) return resolved(*color, environment.colorScheme());
    if (walk.linkColor) return resolved(*walk.linkColor, environment.colorScheme());
    return resolved(ui::Color::primary(), environment.colorScheme());
  }

  void drawPrimitive(const Node& node, const Rect& frame, Walk& walk) {
    const auto scheme = node.environment().colorScheme();
    if (auto* text = node.primitiveAs<ui::detail::TextSpec>()) {
      if (!frame.intersects(walk.visible)) return;
      if (text->hasImages()) {
        drawTextWithPictures(*text, node, walk);
        return;
      }
      drawText(text->attributedString(), node, frame, foreground(node, walk), walk.cr);
      return;
    }
    if (auto* color = node.primitiveAs<ui::detail::ColorSpec>()) {
      if (!frame.intersects(walk.visible)) return;
      setSource(walk.cr, resolved(color->color, scheme));
      cairo_rectangle(walk.cr, frame.minX(), frame.minY(), frame.width(), frame.height());
      cairo_fill(walk.cr);
      return;
    }
    if (auto* shape = node.primitiveAs<ui::detail::ShapeSpec>()) {
      if (!outset(frame, shape->lineWidth, shape->lineWidth).intersects(walk.visible)) return;
      drawShape(*shape, node, frame, walk);
      return;
    }
    if (auto* image = node.primitiveAs<ui::detail::ImageSpec>()) {
      if (!frame.intersects(walk.visible)) return;
      drawImage(*image, node, frame, walk);
      return;
    }
    if (auto* stack = node.primitiveAs<ui::detail::StackSpec>()) {
      drawStack(*stack, node, walk);
      return;
    }
    if (auto* picker = node.primitiveAs<ui::detail::PickerSpec>()) {
      if (!frame.intersects(walk.visible)) return;
      drawPicker(*picker, node, frame, walk.hosting->layout().controlFrame(node), walk.cr);
      return;
    }
    if (node.primitiveAs<ui::detail::LinkSpec>()) {
      Walk inner = walk;
      inner.linkColor = ui::Color::accentColor();
      drawChildren(node, inner);
      return;
    }
    if (auto* material = node.primitiveAs<ui::detail::MaterialSpec>()) {
      if (!frame.intersects(walk.visible)) return;
      setSource(walk.cr, resolved(ui::materialTint(material->thickness), scheme));
      cairo_rectangle(walk.cr, frame.minX(), frame.minY(), frame.width(), frame.height());
      cairo_fill(walk.cr);
      return;
    }
    if (auto* container = node.primitiveAs<ui::detail::ContainerSpec>()) {
      if (container->typeName() == "ProgressView") {
        if (frame.intersects(walk.visible)) drawSpinner(node, frame, walk);
        return;
      }
      if (container->typeName() == "Divider") {
        if (!frame.intersects(walk.visible)) return;
        setSource(walk.cr, resolved(ui::Color::named(ui::systemColorCatalog, "separatorColor"), scheme));
        const bool isVertical = frame.height() > frame.width();
        cairo_rectangle(walk.cr, frame.minX(), frame.minY(), isVertical ? 1 : frame.width(),
                        isVertical ? frame.height() : 1);
        cairo_fill(walk.cr);
        return;
      }
    }
    drawChildren(node, walk);
  }

  // Twelve spokes round the centre: the one pointing up the darkest, each following one clockwise fainter.
  void drawSpinner(const Node& node, const Rect& frame, Walk& walk) {
    const auto& environment = node.environment();
    const auto color = environment.foregroundStyle()
                           ? foreground(node, walk)
                           : resolved(ui::Color::secondaryLabelColor(), environment.colorScheme());
    const double radius = std::min(frame.width(), frame.height()) / 2;
    if (!(radius > 0)) return;
    constexpr int spokes = 12;
    cairo_t* cr = walk.cr;
    cairo_save(cr);
    cairo_translate(cr, frame.midX(), frame.midY());
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, radius * 0.16);
    for (int i = 0; i < spokes; ++i) {
      const double angle = 2 * M_PI * i / spokes - M_PI / 2;
      const double c = std::cos(angle), s = std::sin(angle);
      auto spoke = color;
      spoke.opacity *= 1.0 - 0.75 * i / (spokes - 1);
      setSource(cr, spoke);
      cairo_move_to(cr, c * radius * 0.5, s * radius * 0.5);
      cairo_line_to(cr, c * radius * 0.9, s * radius * 0.9);
      cairo_stroke(cr);
    }
    cairo_restore(cr);
  }

  // Siblings are drawn in order, those with a higher z-index later (in front).
  void drawStack(const ui::detail::StackSpec&, const Node& node, Walk& walk) {
    std::vector<std::pair<double, const Node*>> order;
    bool hasIndex = false;
    for (const auto& child : node.children()) {
      double index = 0;
      if (auto* m = child->modifierAs<ui::ZIndexModifier>()) {
        index = m->value;
        hasIndex = true;
      }
      order.emplace_back(index, child.get());
    }
    if (hasIndex) {
      std::stable_sort(order.begin(), order.end(),
                       [](const auto& a, const auto& b) { return a.first < b.first; });
    }
    for (const auto& [index, child] : order) drawNode(*child, walk);
  }

  void drawText(const ui::AttributedString& text, const Node& node, const Rect& frame,
                ui::ResolvedColor color, cairo_t* cr, std::optional<ByteRange> selection = std::nullopt) {
    const auto& environment = node.environment();
    TextSetting setting;
    setting.font = fontOf(node);
    setting.width = frame.width();
    setting.lineSpacing = environment.get<ui::LineSpacingKey>();
    setting.alignment = environment.get<ui::MultilineTextAlignmentKey>();
    setting.colorScheme = environment.colorScheme();
    // Text given less height than it needs shows the lines that fit, the last one ending in "…".
    if (text_.measure(text, setting).height > frame.height() + 0.5) setting.maximumHeight = frame.height();
    auto selectionColor = resolved(ui::Color::accentColor().opacity(0.3), setting.colorScheme);
    text_.draw(cr, text, setting, frame.origin, color, selection, selectionColor);
  }

  // Characters and pictures where layout set them: each piece of characters with the attributes of its
  // segment, each picture in its frame.
  void drawTextWithPictures(const ui::detail::TextSpec& text, const Node& node, Walk& walk) {
    const auto& layout = walk.hosting->layout();
    const auto& segments = text.segments();
    TextSetting setting;
    setting.font = fontOf(node);
    setting.colorScheme = node.environment().colorScheme();
    const auto color = foreground(node, walk);
    for (const auto& set : layout.setCharacters(node)) {
      if (set.run >= segments.size()) continue;
      text_.draw(walk.cr, slice(segments[set.run].text, set.start, set.length), setting, set.origin, color);
    }
    const auto pictures = layout.imageFrames(node);
    std::size_t index = 0;
    for (const auto& segment : segments) {
      if (!segment.image) continue;
      if (index >= pictures.size()) break;
      const Rect& picture = pictures[index++];
      if (picture.intersects(walk.visible)) drawImage(*segment.image, node, picture, walk);
    }
  }

  // The characters of `text` in the byte range [start, start + length), with their attributes.
  static ui::AttributedString slice(const ui::AttributedString& text, std::size_t start, std::size_t length) {
    ui::AttributedString result;
    const std::size_t end = start + length;
    for (const auto& run : text.runs()) {
      const std::size_t from = std::max(start, run.start), to = std::min(end, run.start + run.length);
      if (from >= to) continue;
      result.append(std::string_view(text.characters()).substr(from, to - from), text.attributes(run));
    }
    return result;
  }

  void drawShape(const ui::detail::ShapeSpec& shape, const Node& node, const Rect& frame, Walk& walk) {
    const auto scheme = node.environment().colorScheme();
    if (shape.fill || !shape.stroke) {
      addOutline(walk.cr, shape.outline, frame);
      setSource(walk.cr, shape.fill ? resolved(*shape.fill, scheme) : foreground(node, walk));
      cairo_fill(walk.cr);
    }
    if (shape.stroke && shape.lineWidth > 0 && std::isfinite(shape.lineWidth)) {
      addOutline(walk.cr, shape.outline, frame);
      setSource(walk.cr, resolved(*shape.stroke, scheme));
      cairo_set_line_width(walk.cr, shape.lineWidth);
      cairo_stroke(walk.cr);
    }
  }

  void drawImage(const ui::detail::ImageSpec& image, const Node& node, const Rect& frame, Walk& walk) {
    using Source = ui::detail::ImageSpec::Source;
    switch (image.source) {
      case Source::systemSymbol:
        images_.drawSymbol(walk.cr, image.name, frame, foreground(node, walk));
        return;
      case Source::named:
        images_.drawNamed(walk.cr, image.name, frame, image.bundleDirectory);
        return;
      case Source::bitmap:
        if (!image.bitmap || image.bitmap->pixelsWide() <= 0 || image.bitmap->pixelsHigh() <= 0) {
          ImageLibrary::drawPlaceholder(walk.cr, frame);
          return;
        }
        drawBitmap(*image.bitmap, frame, walk.cr);
        return;
    }
  }

  static void drawBitmap(const ui::Bitmap& bitmap, const Rect& frame, cairo_t* cr) {
    if (frame.isEmpty()) return;
    // Cairo only reads the pixels of a surface used as a source.
    auto* data = reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(bitmap.pixels().data()));
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        data, CAIRO_FORMAT_ARGB32, bitmap.pixelsWide(), bitmap.pixelsHigh(), bitmap.pixelsWide() * 4);
    cairo_save(cr);
    cairo_rectangle(cr, frame.minX(), frame.minY(), frame.width(), frame.height());
    cairo_clip(cr);
    cairo_translate(cr, frame.minX(), frame.minY());
    cairo_scale(cr, frame.width() / bitmap.pixelsWide(), frame.height() / bitmap.pixelsHigh());
    cairo_set_source_surface(cr, surface, 0, 0);
    // Padded, so that the edges of an enlarged picture do not fade into the transparency beyond them.
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(surface);
  }

  // Controls.

  struct Palette {
    ui::ResolvedColor control, border, text, secondaryText, field, accent, separator;
  };
  static Palette paletteFor(ui::ColorScheme scheme) {
    const bool isDark = scheme == ui::ColorScheme::dark;
    return Palette{
        isDark ? ui::ResolvedColor{1, 1, 1, 0.16} : ui::ResolvedColor{1, 1, 1, 1},
        isDark ? ui::ResolvedColor{1, 1, 1, 0.12} : ui::ResolvedColor{0, 0, 0, 0.18},
        resolved(ui::Color::labelColor(), scheme),
        resolved(ui::Color::secondaryLabelColor(), scheme),
        resolved(ui::Color::textBackgroundColor(), scheme),
        resolved(ui::Color::accentColor(), scheme),
        resolved(ui::Color::named(ui::systemColorCatalog, "separatorColor"), scheme),
    };
  }

  static void drawBezel(cairo_t* cr, const Rect& rect, double radius, const ui::ResolvedColor& fill,
                        const ui::ResolvedColor& border) {
    addRoundedRectangle(cr, outset(rect, -0.5, -0.5), radius, ui::CornerStyle::continuous);
    setSource(cr, fill);
    cairo_fill_preserve(cr);
    setSource(cr, border);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }

  void drawControl(const Node& node, const appkit::View& view, const Rect& frame, Walk& walk) {
    const bool isEnabled = node.environment().isEnabled();
    if (!isEnabled) cairo_push_group(walk.cr);
    if (auto* scroll = dynamic_cast<const appkit::ScrollView*>(&view)) {
      drawScrollView(node, *scroll, frame, walk);
    } else if (auto* tabs = dynamic_cast<const appkit::TabView*>(&view)) {
      if (frame.intersects(walk.visible)) drawTabBar(node, *tabs, frame, walk);
      drawTabs(*tabs, node, walk);
    } else {
      // A bezel sits a little around its frame.
      if (outset(frame, 8, 4).intersects(walk.visible)) drawControlChrome(node, view, frame, walk);
      drawChildren(node, walk);
    }
    if (!isEnabled) {
      cairo_pop_group_to_source(walk.cr);
      cairo_paint_with_alpha(walk.cr, 0.45);
    }
  }

  void drawControlChrome(const Node& node, const appkit::View& view, const Rect& frame, Walk& walk) {
    cairo_t* cr = walk.cr;
    const auto scheme = node.environment().colorScheme();
    const auto palette = paletteFor(scheme);
    if (auto* button = dynamic_cast<const appkit::Button*>(&view)) {
      if (button->kind() == appkit::Button::Kind::checkbox) {
        // The box starts the toggle's frame; its label follows it.
        Rect box(frame.minX(), frame.midY() - ui::checkboxSide / 2, ui::checkboxSide, ui::checkboxSide);
        if (button->state()) {
          drawBezel(cr, box, 3.5, palette.accent, palette.accent);
          cairo_set_source_rgb(cr, 1, 1, 1);
          cairo_set_line_width(cr, 2);
          cairo_move_to(cr, box.minX() + 3.2, box.midY() + 0.2);
          cairo_line_to(cr, box.minX() + 6, box.maxY() - 3.5);
          cairo_line_to(cr, box.maxX() - 3, box.minY() + 3.5);
          cairo_stroke(cr);
        } else {
          drawBezel(cr, box, 3.5, palette.control, palette.border);
        }
        return;
      }
      const auto style = node.environment().get<ui::ButtonStyleKey>();
      if (style == ui::ButtonStyle::automatic || style == ui::ButtonStyle::bordered) {
        drawBezel(cr, outset(frame, 7, 3), 5, palette.control, palette.border);
      }
      return;
    }
    if (auto* field = dynamic_cast<const appkit::TextField*>(&view)) {
      drawBezel(cr, frame, 4, palette.field, palette.border);
      const bool isEmpty = field->stringValue().empty();
      std::string shown = isEmpty ? field->placeholderString() : field->stringValue();
      if (!isEmpty && dynamic_cast<const appkit::SecureTextField*>(field)) {
        std::string dots;
        for (std::size_t i = 0; i < foundation::utf16Length(shown); ++i) dots += "\u2022";
        shown = dots;
      }
      const auto font = fontOf(node);
      const double lineHeight = text_.lineHeight(font);
      Rect inside(frame.minX() + 5, frame.midY() - lineHeight / 2, std::max(0.0, frame.width() - 10),
                  lineHeight);
      cairo_save(cr);
      cairo_rectangle(cr, frame.minX() + 2, frame.minY(), std::max(0.0, frame.width() - 4), frame.height());
      cairo_clip(cr);
      TextSetting setting;
      setting.font = font;
      setting.colorScheme = scheme;
      text_.draw(cr, ui::AttributedString(shown), setting, inside.origin,
                 isEmpty ? palette.secondaryText : palette.text);
      cairo_restore(cr);
      return;
    }
    if (auto* well = dynamic_cast<const appkit::ColorWell*>(&view)) {
      drawColorWell(*well, walk.hosting->layout().controlFrame(node).value_or(frame), scheme, cr);
      return;
    }
    if (auto* segments = dynamic_cast<const appkit::SegmentedControl*>(&view)) {
      drawSegments(*segments, walk.hosting->layout().controlFrame(node).value_or(frame), scheme, cr);
      return;
    }
    // Representable views draw what their platform views show.
    cairo_save(cr);
    cairo_translate(cr, frame.minX(), frame.minY());
    drawView(view, cr, scheme);
    cairo_restore(cr);
  }

  void drawScrollView(const Node& node, const appkit::ScrollView& scroll, const Rect& frame, Walk& walk) {
    cairo_t* cr = walk.cr;
    const auto scheme = node.environment().colorScheme();
    auto* input = node.primitiveAs<ui::detail::TextInputSpec>();
    auto document = scroll.documentView();
    if (input && input->kind == ui::detail::TextInputSpec::Kind::textEditor) {
      if (!frame.intersects(walk.visible)) return;
      const auto palette = paletteFor(scheme);
      setSource(cr, palette.field);
      cairo_rectangle(cr, frame.minX(), frame.minY(), frame.width(), frame.height());
      cairo_fill(cr);
      auto* textView = dynamic_cast<const appkit::TextView*>(document.get());
      if (!textView) return;
      cairo_save(cr);
      cairo_rectangle(cr, frame.minX(), frame.minY(), frame.width(), frame.height());
      cairo_clip(cr);
      const auto origin = scroll.contentView()->bounds().origin;
      cairo_translate(cr, -origin.x, -origin.y);
      const auto& string = textView->string();
      const auto range = textView->selectedRange();
      const std::size_t start = foundation::utf8Offset(string, range.location);
      const std::size_t end = foundation::utf8Offset(string, range.location + range.length);
      drawText(ui::AttributedString(string), node,
               Rect(frame.minX() + 5, frame.minY() + 5, std::max(0.0, frame.width() - 10), 1e6), palette.text,
               cr, ByteRange{start, end - start});
      cairo_restore(cr);
      return;
    }
    if (node.primitiveAs<ui::detail::ContainerSpec>() && node.typeName() == "List" &&
        frame.intersects(walk.visible)) {
      setSource(cr, resolved(ui::Color::controlBackgroundColor(), scheme));
      cairo_rectangle(cr, frame.minX(), frame.minY(), frame.width(), frame.height());
      cairo_fill(cr);
    }
    // The content's frames were laid out unscrolled; the clip view's origin says how far it has moved.
    cairo_save(cr);
    cairo_rectangle(cr, frame.minX(), frame.minY(), frame.width(), frame.height());
    cairo_clip(cr);
    const auto origin = scroll.contentView()->bounds().origin;
    cairo_translate(cr, -origin.x, -origin.y);
    Walk inner = walk;
    inner.visible = clipExtents(cr);
    drawChildren(node, inner);
    cairo_restore(cr);
  }

  // The box the shown tab's content sits in, below the row of tabs, and the selected tab's highlight.
  void drawTabBar(const Node& node, const appkit::TabView& tabs, const Rect& frame, Walk& walk) {
    cairo_t* cr = walk.cr;
    const auto scheme = node.environment().colorScheme();
    const bool isDark = scheme == ui::ColorScheme::dark;
    Rect box(frame.minX(), frame.minY() + ui::tabBarHeight, frame.width(),
             std::max(0.0, frame.height() - ui::tabBarHeight));
    addRoundedRectangle(cr, outset(box, -0.5, -0.5), 6, ui::CornerStyle::continuous);
    setSource(cr, isDark ? ui::ResolvedColor{1, 1, 1, 0.04} : ui::ResolvedColor{0, 0, 0, 0.03});
    cairo_fill_preserve(cr);
    setSource(cr, paletteFor(scheme).separator);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    const auto& items = node.children();
    const std::size_t selected = tabs.selectedIndex();
    if (selected >= items.size() || items[selected]->children().empty()) return;
    const auto label = frameOf(*items[selected]->children().front(), walk);
    if (!label) return;
    Rect highlight(label->minX() - 6, frame.minY() + 3, label->width() + 12, ui::tabBarHeight - 6);
    addRoundedRectangle(cr, highlight, 6, ui::CornerStyle::continuous);
    setSource(cr, isDark ? ui::ResolvedColor{1, 1, 1, 0.12} : ui::ResolvedColor{0, 0, 0, 0.07});
    cairo_fill(cr);
  }

  // Every tab's label (the selected one in the accent colour where it sets no colour of its own), and
  // the shown tab's content.
  void drawTabs(const appkit::TabView& tabs, const Node& node, Walk& walk) {
    const auto& items = node.children();
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (i != tabs.selectedIndex()) {
        drawNode(*items[i], walk);
        continue;
      }
      const auto& parts = items[i]->children();
      for (std::size_t part = 0; part < parts.size(); ++part) {
        Walk inner = walk;
        if (part == 0) inner.linkColor = ui::Color::accentColor();
        drawNode(*parts[part], inner);
      }
    }
  }

  // A swatch of the well's colour inside a bezel; a colour with opacity shows it over half black, half
  // white, so that the opacity can be seen.
  static void drawColorWell(const appkit::ColorWell& well, const Rect& frame, ui::ColorScheme scheme,
                            cairo_t* cr) {
    const auto palette = paletteFor(scheme);
    drawBezel(cr, frame, 5, palette.control, well.isActive() ? palette.accent : palette.border);
    const Rect swatch = outset(frame, -4, -4);
    if (swatch.isEmpty()) return;
    const auto color = well.color();
    cairo_save(cr);
    addRoundedRectangle(cr, swatch, 2.5, ui::CornerStyle::continuous);
    cairo_clip(cr);
    if (color.alpha < 1) {
      cairo_set_source_rgb(cr, 1, 1, 1);
      cairo_paint(cr);
      cairo_set_source_rgb(cr, 0, 0, 0);
      cairo_move_to(cr, swatch.maxX(), swatch.minY());
      cairo_line_to(cr, swatch.maxX(), swatch.maxY());
      cairo_line_to(cr, swatch.minX(), swatch.maxY());
      cairo_close_path(cr);
      cairo_fill(cr);
    }
    cairo_set_source_rgba(cr, color.red, color.green, color.blue, std::clamp(color.alpha, 0.0, 1.0));
    cairo_paint(cr);
    cairo_restore(cr);
    addRoundedRectangle(cr, outset(swatch, -0.5, -0.5), 2.5, ui::CornerStyle::continuous);
    setSource(cr, palette.border);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }

  // The bezel around the segments, lines between them and the selected one raised; the segments' labels
  // are views of their own, drawn over it.
  static void drawSegments(const appkit::SegmentedControl& segments, const Rect& frame,
                           ui::ColorScheme scheme, cairo_t* cr) {
    const auto palette = paletteFor(scheme);
    const bool isDark = scheme == ui::ColorScheme::dark;
    drawBezel(cr, frame, 5, isDark ? ui::ResolvedColor{1, 1, 1, 0.08} : ui::ResolvedColor{0, 0, 0, 0.1},
              palette.border);
    const std::size_t count = segments.segmentCount();
    if (count == 0) return;
    const double width = frame.width() / static_cast<double>(count);
    const int selected = segments.selectedSegment();
    for (std::size_t i = 0; i < count; ++i) {
      const Rect segment(frame.minX() + width * static_cast<double>(i), frame.minY(), width, frame.height());
      if (static_cast<int>(i) == selected) {
        addRoundedRectangle(cr, outset(segment, -2, -2), 4, ui::CornerStyle::continuous);
        setSource(cr, isDark ? ui::ResolvedColor{1, 1, 1, 0.22} : ui::ResolvedColor{1, 1, 1, 1});
        cairo_fill_preserve(cr);
        setSource(cr, palette.border);
        cairo_set_line_width(cr, 0.5);
        cairo_stroke(cr);
      } else if (i > 0 && static_cast<int>(i) - 1 != selected) {
        setSource(cr, palette.separator);
        cairo_rectangle(cr, segment.minX(), segment.minY() + 5, 1, std::max(0.0, segment.height() - 10));
        cairo_fill(cr);
      }
    }
  }

  // The title and the selected option's, each cut short with an ellipsis where layout gave it less room
  // than it needs.
  void drawPicker(const ui::detail::PickerSpec& picker, const Node& node, const Rect& frame,
                  std::optional<Rect> control, cairo_t* cr) {
    const auto scheme = node.environment().colorScheme();
    const auto palette = paletteFor(scheme);
    TextSetting setting;
    setting.font = fontOf(node);
    setting.colorScheme = scheme;
    const double lineHeight = text_.lineHeight(setting.font);
    TextSetting shortened = setting;
    shortened.maximumHeight = lineHeight;
    double x = frame.minX();
    if (!picker.title.empty()) {
      auto title = ui::AttributedString(picker.title);
      const double titleWidth = text_.measure(title, setting).width;
      const double room = control ? std::max(0.0, control->minX() - ui::defaultSpacing - x) : titleWidth;
      if (room + 0.5 < titleWidth) shortened.width = room;
      text_.draw(cr, title, room + 0.5 < titleWidth ? shortened : setting, {x, frame.midY() - lineHeight / 2},
                 palette.text);
      x = control ? control->minX() : x + titleWidth + ui::defaultSpacing;
    }
    auto index = picker.selectedIndex ? picker.selectedIndex() : std::nullopt;
    auto selected =
        ui::AttributedString(index && *index < picker.optionTitles.size() ? picker.optionTitles[*index] : "");
    const double selectedWidth = text_.measure(selected, setting).width;
    const double width = std::min(selectedWidth + ui::popUpChrome, std::max(0.0, frame.maxX() - x));
    Rect popup(x, frame.midY() - (lineHeight + 6) / 2, width, lineHeight + 6);
    drawBezel(cr, popup, 5, palette.control, palette.border);
    const double textRoom = std::max(0.0, popup.width() - ui::popUpChrome);
    if (textRoom + 0.5 < selectedWidth) {
      shortened.width = textRoom;
      text_.draw(cr, selected, shortened, {popup.minX() + 8, popup.midY() - lineHeight / 2}, palette.text);
    } else {
      text_.draw(cr, selected, setting, {popup.minX() + 8, popup.midY() - lineHeight / 2}, palette.text);
    }
    // Up and down chevrons: the menu opens over the control.
    setSource(cr, palette.accent);
    addRoundedRectangle(cr, Rect(popup.maxX() - 17, popup.minY() + 2, 15, popup.height() - 4), 3.5,
                        ui::CornerStyle::continuous);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 1.3);
    const double cx = popup.maxX() - 9.5, cy = popup.midY();
    cairo_move_to(cr, cx - 2.5, cy - 1.5);
    cairo_line_to(cr, cx, cy - 4);
    cairo_line_to(cr, cx + 2.5, cy - 1.5);
    cairo_move_to(cr, cx - 2.5, cy + 1.5);
    cairo_line_to(cr, cx, cy + 4);
    cairo_line_to(cr, cx + 2.5, cy + 1.5);
    cairo_stroke(cr);
  }

  // What a platform view outside the hosted tree shows by itself (a representable's label or field).
  void drawPlatformContent(const appkit::View& view, const Rect& bounds, cairo_t* cr,
                           ui::ColorScheme scheme) {
    const auto palette = paletteFor(scheme);
    TextSetting setting;
    setting.colorScheme = scheme;
    if (auto* label = dynamic_cast<const appkit::Label*>(&view)) {
      const auto& font = label->font();
      setting.font = label->font().isMonospaced ? ui::Font::system(font.pointSize).monospaced()
                                                : ui::Font::system(font.pointSize);
      setting.width = bounds.width();
      text_.draw(cr, ui::AttributedString(label->stringValue()), setting, bounds.origin, palette.text);
      return;
    }
    if (auto* field = dynamic_cast<const appkit::TextField*>(&view)) {
      drawBezel(cr, bounds, 4, palette.field, palette.border);
      setting.font = ui::Font::body();
      text_.draw(cr, ui::AttributedString(field->stringValue()), setting,
                 {bounds.minX() + 5, bounds.minY() + 3}, palette.text);
    }
  }

  TextEngine& text_;
  ImageLibrary& images_;
};

std::optional<ui::ColorScheme> schemeOf(const appkit::View& view) {
  if (auto* hosting = dynamic_cast<const ui::HostingView*>(&view)) {
    if (auto root = const_cast<ui::HostingView*>(hosting)->graph().root())
      return root->environment().colorScheme();
  }
  for (const auto& subview : view.subviews()) {
    if (auto scheme = schemeOf(*subview)) return scheme;
  }
  return std::nullopt;
}

}  // namespace

Renderer::Renderer(TextEngine& textEngine, ImageLibrary& images) : textEngine_(textEngine), images_(images) {}

Canvas Renderer::draw(const appkit::Window& window, double scale) const {
  const Size size = window.frame().size;
  Canvas canvas(static_cast<int>(std::ceil(size.width * scale)),
                static_cast<int>(std::ceil(size.height * scale)));
  cairo_t* cr = cairo_create(canvas.surface());
  cairo_scale(cr, scale, scale);
  draw(window, cr);
  cairo_destroy(cr);
  return canvas;
}

void Renderer::draw(const appkit::Window& window, cairo_t* cr) const {
  const auto& content = window.contentView();
  const auto scheme = content ? schemeOf(*content).value_or(ui::ColorScheme::light) : ui::ColorScheme::light;
  cairo_save(cr);
  // A window that is not opaque shows its own background colour, clear ones nothing at all.
  const auto* styled = dynamic_cast<const appkit::StyledWindow*>(&window);
  if (styled && !styled->isOpaque()) {
    const appkit::Color background = styled->backgroundColor();
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgba(cr, background.red, background.green, background.blue, background.alpha);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  } else {
    setSource(cr, resolved(ui::Color::windowBackgroundColor(), scheme));
    cairo_paint(cr);
  }
  if (content) {
    Painter painter(textEngine_, images_);
    painter.drawView(*content, cr, scheme);
  }
  cairo_restore(cr);
}

void Renderer::draw(const appkit::View& view, cairo_t* cr) const {
  Painter painter(textEngine_, images_);
  painter.drawView(view, cr, schemeOf(view));
}

}  // namespace render
