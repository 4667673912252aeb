#include "platform/render/text_engine.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <cmath>
#include <limits>
#include <mutex>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>

#include "platform/foundation/text_error.h"
#include "platform/foundation/unicode.h"

namespace render {

namespace {

struct GObjectRelease {
  void operator()(void* object) const { g_object_unref(object); }
};
template <class T>
using GPointer = std::unique_ptr<T, GObjectRelease>;

struct DescriptionRelease {
  void operator()(PangoFontDescription* description) const { pango_font_description_free(description); }
};
using DescriptionPointer = std::unique_ptr<PangoFontDescription, DescriptionRelease>;

std::size_t combine(std::size_t seed, std::size_t value) {
  return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

int pangoUnits(double points) { return static_cast<int>(std::lround(points * PANGO_SCALE)); }

PangoWeight pangoWeight(ui::FontWeight weight) {
  switch (weight) {
    case ui::FontWeight::ultraLight:
      return PANGO_WEIGHT_ULTRALIGHT;
    case ui::FontWeight::thin:
      return PANGO_WEIGHT_THIN;
    case ui::FontWeight::light:
      return PANGO_WEIGHT_LIGHT;
    case ui::FontWeight::regular:
      return PANGO_WEIGHT_NORMAL;
    case ui::FontWeight::medium:
      return PANGO_WEIGHT_MEDIUM;
    case ui::FontWeight::semibold:
      return PANGO_WEIGHT_SEMIBOLD;
    case ui::FontWeight::bold:
      return PANGO_WEIGHT_BOLD;
    case ui::FontWeight::heavy:
      return PANGO_WEIGHT_ULTRABOLD;
    case ui::FontWeight::black:
      return PANGO_WEIGHT_HEAVY;
  }
  return PANGO_WEIGHT_NORMAL;
}

// The family a recipe asks for: the generic families stand for the system's designs, so the fontconfig
// configuration in use decides the faces.
std::string familyOf(const ui::Font& font) {
  if (font.isMonospaced()) return "monospace";
  if ((font.kind() == ui::Font::Kind::custom || font.kind() == ui::Font::Kind::file) &&
      !font.name().empty()) {
    return font.name();
  }
  return font.design() == ui::FontDesign::serif ? "serif" : "sans-serif";
}

DescriptionPointer descriptionOf(const ui::Font& font) {
  DescriptionPointer description(pango_font_description_new());
  pango_font_description_set_family(description.get(), familyOf(font).c_str());
  // Sizes are in the view layer's points, one point per pixel at scale 1, whatever the resolution.
  const double size =
      font.size() > 0 && std::isfinite(font.size()) ? font.size() : ui::pointSize(ui::TextStyle::body);
  pango_font_description_set_absolute_size(description.get(), std::min(size, 4096.0) * PANGO_SCALE);
  pango_font_description_set_weight(description.get(), pangoWeight(font.weight()));
  pango_font_description_set_style(description.get(),
                                   font.isItalic() ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  if (font.hasLowercaseSmallCaps()) {
    pango_font_description_set_variant(description.get(), font.hasUppercaseSmallCaps()
                                                              ? PANGO_VARIANT_ALL_SMALL_CAPS
                                                              : PANGO_VARIANT_SMALL_CAPS);
  }
  return description;
}

// OpenType features a recipe asks for that a description cannot say.
std::string featuresOf(const ui::Font& font) {
  std::string features;
  if (font.hasMonospacedDigits()) features += "tnum=1";
  if (font.hasUppercaseSmallCaps() && !font.hasLowercaseSmallCaps())
    features += features.empty() ? "c2sc=1" : ",c2sc=1";
  return features;
}

guint16 channel(double value) {
  return static_cast<guint16>(std::lround(std::clamp(value, 0.0, 1.0) * 65535));
}

void insert(PangoAttrList* list, PangoAttribute* attribute, std::size_t start, std::size_t end) {
  attribute->start_index = static_cast<guint>(start);
  attribute->end_index =
      end == std::numeric_limits<std::size_t>::max() ? PANGO_ATTR_INDEX_TO_TEXT_END : static_cast<guint>(end);
  pango_attr_list_insert(list, attribute);
}

void insertColor(PangoAttrList* list, const ui::ResolvedColor& color, bool isBackground, std::size_t start,
                 std::size_t end) {
  const guint16 r = channel(color.red), g = channel(color.green), b = channel(color.blue);
  // Pango takes alphas from 1 (see-through) up.
  const guint16 alpha = std::max<guint16>(channel(color.opacity), 1);
  if (isBackground) {
    insert(list, pango_attr_background_new(r, g, b), start, end);
    insert(list, pango_attr_background_alpha_new(alpha), start, end);
  } else {
    insert(list, pango_attr_foreground_new(r, g, b), start, end);
    insert(list, pango_attr_foreground_alpha_new(alpha), start, end);
  }
}

void insertFontFeatures(PangoAttrList* list, const ui::Font& font, std::size_t start, std::size_t end) {
  auto features = featuresOf(font);
  if (!features.empty()) insert(list, pango_attr_font_features_new(features.c_str()), start, end);
}

PangoAttrList* attributesOf(const ui::AttributedString& text, const TextSetting& setting) {
  PangoAttrList* list = pango_attr_list_new();
  // A word broken across lines is broken as it is, without a hyphen that is not in the text: the
  // characters drawn are the characters of the text (and measuring and drawing share this list).
  insert(list, pango_attr_insert_hyphens_new(false), 0, std::numeric_limits<std::size_t>::max());
  insertFontFeatures(list, setting.font, 0, std::numeric_limits<std::size_t>::max());
  for (const auto& run : text.runs()) {
    const auto& a = text.attributes(run);
    const std::size_t start = run.start, end = run.start + run.length;
    if (a.font) {
      insert(list, pango_attr_font_desc_new(descriptionOf(*a.font).get()), start, end);
      insertFontFeatures(list, *a.font, start, end);
    }
    if (a.foregroundColor) {
      insertColor(list, a.foregroundColor->resolved(setting.colorScheme), false, start, end);
    } else if (a.link) {
      insertColor(list, ui::Color::accentColor().resolved(setting.colorScheme), false, start, end);
    }
    if (a.backgroundColor)
      insertColor(list, a.backgroundColor->resolved(setting.colorScheme), true, start, end);
    if (a.strikethrough.value_or(false)) {
      insert(list, pango_attr_strikethrough_new(true), start, end);
      if (a.strikethroughStyle && a.strikethroughStyle->color) {
        auto c = a.strikethroughStyle->color->resolved(setting.colorScheme);
        insert(list, pango_attr_strikethrough_color_new(channel(c.red), channel(c.green), channel(c.blue)),
               start, end);
      }
    }
    if (a.underline.value_or(false)) {
      insert(list, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE), start, end);
      if (a.underlineStyle && a.underlineStyle->color) {
        auto c = a.underlineStyle->color->resolved(setting.colorScheme);
        insert(list, pango_attr_underline_color_new(channel(c.red), channel(c.green), channel(c.blue)), start,
               end);
      }
    }
    if (auto spacing = a.tracking ? a.tracking : a.kern; spacing && std::isfinite(*spacing)) {
      insert(list, pango_attr_letter_spacing_new(pangoUnits(std::clamp(*spacing, -100.0, 100.0))), start,
             end);
    }
  }
  return list;
}

PangoAlignment pangoAlignment(ui::TextAlignment alignment) {
  switch (alignment) {
    case ui::TextAlignment::leading:
      return PANGO_ALIGN_LEFT;
    case ui::TextAlignment::center:
      return PANGO_ALIGN_CENTER;
    case ui::TextAlignment::trailing:
      return PANGO_ALIGN_RIGHT;
  }
  return PANGO_ALIGN_LEFT;
}

struct LayoutKey {
  ui::AttributedString text;
  TextSetting setting;
  bool operator==(const LayoutKey&) const = default;
};

std::size_t hashOf(const LayoutKey& key) {
  std::size_t seed = key.text.hashValue();
  const auto& s = key.setting;
  seed = combine(seed, s.font.hashValue());
  seed = combine(seed, std::hash<double>{}(s.width.value_or(-1)));
  seed = combine(seed, std::hash<double>{}(s.lineSpacing));
  seed = combine(seed, static_cast<std::size_t>(s.alignment));
  seed = combine(seed, static_cast<std::size_t>(s.colorScheme));
  return combine(seed, std::hash<double>{}(s.maximumHeight.value_or(-1)));
}

}  // namespace

struct TextEngine::State {
  // Guards everything below.
  mutable std::mutex mutex;
  GPointer<PangoFontMap> fontMap;
  GPointer<PangoContext> context;
  std::set<std::string> registeredFiles;

  // Laid-out texts, kept in two generations: a text found in the older one moves to the newer one, and
  // the older one is dropped whole when the newer one is full. So the cache stays bounded and a text used
  // in every frame never leaves it.
  static constexpr std::size_t generationSize = 4096;
  struct Entry {
    LayoutKey key;
    GPointer<PangoLayout> layout;
  };
  std::unordered_multimap<std::size_t, Entry> current, previous;

  void makeContext() {
    context.reset(pango_font_map_create_context(fontMap.get()));
    pango_cairo_context_set_resolution(context.get(), 96);
    // Fixed antialiasing and no hinting: glyph positions then depend on nothing but the fonts, so
    // measuring and drawing agree and pictures are the same on every machine.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_subpixel_order(options, CAIRO_SUBPIXEL_ORDER_DEFAULT);
    pango_cairo_context_set_font_options(context.get(), options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context.get(), false);
    current.clear();
    previous.clear();
  }

  // Font files named by recipes join the configuration in use the first time they are asked for.
  void registerFontFile(const ui::Font& font) {
    if (font.kind() != ui::Font::Kind::file || font.path().empty()) return;
    if (!registeredFiles.insert(font.path()).second) return;
    auto* fcMap = PANGO_FC_FONT_MAP(fontMap.get());
    FcConfig* config = pango_fc_font_map_get_config(fcMap);
    if (!config) config = FcConfigGetCurrent();
    FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(font.path().c_str()));
    pango_fc_font_map_config_changed(fcMap);
    current.clear();
    previous.clear();
  }

  PangoLayout* layout(const ui::AttributedString& text, const TextSetting& setting) {
    registerFontFile(setting.font);
    for (const auto& run : text.runs()) {
      if (const auto& font = text.attributes(run).font) registerFontFile(*font);
    }
    LayoutKey key{text, setting};
    const std::size_t hash = hashOf(key);
    auto [first, last] = current.equal_range(hash);
    for (auto it = first; it != last; ++it) {
      if (it->second.key == key) return it->second.layout.get();
    }
    std::tie(first, last) = previous.equal_range(hash);
    for (auto it = first; it != last; ++it) {
      if (it->second.key == key) {
        auto node = previous.extract(it);
        return keep(hash, std::move(node.mapped()));
      }
    }
    GPointer<PangoLayout> made(pango_layout_new(context.get()));
    PangoLayout* layout = made.get();
    pango_layout_set_text(layout, text.characters().data(), static_cast<int>(text.characters().size()));
    pango_layout_set_font_description(layout, descriptionOf(setting.font).get());
    PangoAttrList* attributes = attributesOf(text, setting);
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
    pango_layout_set_alignment(layout, pangoAlignment(setting.alignment));
    pango_layout_set_spacing(layout, pangoUnits(std::max(0.0, setting.lineSpacing)));
    if (setting.width && std::isfinite(*setting.width)) {
      // A unit more than asked, so that a width measured from this very text gives back the same lines.
      pango_layout_set_width(layout, std::max(0, pangoUnits(*setting.width)) + 1);
      pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    }
    if (setting.maximumHeight && std::isfinite(*setting.maximumHeight)) {
      pango_layout_set_height(layout, std::max(0, pangoUnits(*setting.maximumHeight)) + 1);
      pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
    }
    return keep(hash, Entry{std::move(key), std::move(made)});
  }

  PangoLayout* keep(std::size_t hash, Entry entry) {
    if (current.size() >= generationSize) {
      previous = std::move(current);
      current.clear();
    }
    return current.emplace(hash, std::move(entry))->second.layout.get();
  }
};

TextEngine::TextEngine() : state_(std::make_unique<State>()) {
  state_->fontMap.reset(pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT));
  state_->makeContext();
}

TextEngine::~TextEngine() = default;

TextEngine& TextEngine::shared() {
  static TextEngine* engine =
      new TextEngine();  // lives as long as the process: fonts are drawn until the end
  return *engine;
}

void TextEngine::pinFonts(const std::filesystem::path& configurationFile) {
  FcConfig* config = FcConfigCreate();
  if (!FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(configurationFile.c_str()), FcTrue) ||
      !FcConfigBuildFonts(config)) {
    FcConfigDestroy(config);
    throw foundation::TextError("The font configuration " + configurationFile.string() +
                                " could not be read.");
  }
  std::lock_guard lock(state_->mutex);
  auto* fcMap = PANGO_FC_FONT_MAP(state_->fontMap.get());
  pango_fc_font_map_set_config(fcMap, config);  // the font map keeps its own reference
  FcConfigDestroy(config);
  state_->registeredFiles.clear();
  state_->makeContext();
}

namespace {

// The size of a text given no width at all: every character stands on a line of its own (blank paragraphs
// keep one line). Pango would lay that out a line at a time, at a cost that grows with the square of the
// text's length, so the lines are counted instead, each as high as a line of the text's font.
struct CharacterLines {
  std::size_t lineCount = 0;
  std::string distinctCharacters;  // one per line, for the widest
};

CharacterLines characterLines(const std::string& text) {
  CharacterLines result;
  std::set<std::string> seen;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find('\n', start);
    std::size_t lines = 0;
    for (auto& cluster : foundation::graphemeClusters(std::string_view(text).substr(
             start, end == std::string::npos ? std::string::npos : end - start))) {
      if (cluster == " " || cluster == "\t") continue;
      ++lines;
      if (seen.insert(cluster).second)
        result.distinctCharacters += (result.distinctCharacters.empty() ? "" : "\n") + cluster;
    }
    result.lineCount += std::max<std::size_t>(lines, 1);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return result;
}

}  // namespace

foundation::Size TextEngine::measure(const ui::AttributedString& text, const TextSetting& setting) {
  if (setting.width && *setting.width < 1 && !text.isEmpty()) {
    const auto lines = characterLines(text.characters());
    TextSetting unwrapped = setting;
    unwrapped.width.reset();
    unwrapped.maximumHeight.reset();
    const double width = measure(ui::AttributedString(lines.distinctCharacters), unwrapped).width;
    const double lineCount = static_cast<double>(lines.lineCount);
    return {width,
            lineCount * lineHeight(setting.font) + (lineCount - 1) * std::max(0.0, setting.lineSpacing)};
  }
  std::lock_guard lock(state_->mutex);
  PangoRectangle logical;
  pango_layout_get_extents(state_->layout(text, setting), nullptr, &logical);
  double width = static_cast<double>(logical.width) / PANGO_SCALE;
  double height = static_cast<double>(logical.height) / PANGO_SCALE;
  return {std::ceil(width * 64) / 64, std::ceil(height * 64) / 64};
}

double TextEngine::lineHeight(const ui::Font& font) {
  TextSetting setting;
  setting.font = font;
  return measure(ui::AttributedString(" "), setting).height;
}

void TextEngine::draw(cairo_t* cr, const ui::AttributedString& text, const TextSetting& setting,
                      foundation::Point origin, ui::ResolvedColor defaultColor,
                      std::optional<ByteRange> selection, ui::ResolvedColor selectionColor) {
  std::lock_guard lock(state_->mutex);
  PangoLayout* layout = state_->layout(text, setting);
  cairo_save(cr);
  if (selection && selection->length > 0) {
    cairo_set_source_rgba(cr, selectionColor.red, selectionColor.green, selectionColor.blue,
                          selectionColor.opacity);
    const int start = static_cast<int>(selection->start),
              end = static_cast<int>(selection->start + selection->length);
    PangoLayoutIter* lines = pango_layout_get_iter(layout);
    do {
      PangoLayoutLine* line = pango_layout_iter_get_line_readonly(lines);
      PangoRectangle extents;
      pango_layout_iter_get_line_extents(lines, nullptr, &extents);
      int* ranges = nullptr;
      int count = 0;
      pango_layout_line_get_x_ranges(line, start, end, &ranges, &count);
      for (int i = 0; i < count; ++i) {
        cairo_rectangle(
            cr, origin.x + static_cast<double>(ranges[2 * i]) / PANGO_SCALE,  // the layout's coordinates
            origin.y + static_cast<double>(extents.y) / PANGO_SCALE,
            static_cast<double>(ranges[2 * i + 1] - ranges[2 * i]) / PANGO_SCALE,
            static_cast<double>(extents.height) / PANGO_SCALE);
      }
      g_free(ranges);
    } while (pango_layout_iter_next_line(lines));
    pango_layout_iter_free(lines);
    cairo_fill(cr);
  }
  cairo_set_source_rgba(cr, defaultColor.red, defaultColor.green, defaultColor.blue, defaultColor.opacity);
  if (pango_layout_get_line_count(layout) <= 8) {
    cairo_move_to(cr, origin.x, origin.y);
    pango_cairo_show_layout(cr, layout);
  } else {
    // A long text in a scroll view is mostly out of sight: only the lines the clip lets through are set.
    double top, bottom, left, right;
    cairo_clip_extents(cr, &left, &top, &right, &bottom);
    PangoLayoutIter* lines = pango_layout_get_iter(layout);
    do {
      PangoRectangle extents;
      pango_layout_iter_get_line_extents(lines, nullptr, &extents);
      const double lineTop = origin.y + static_cast<double>(extents.y) / PANGO_SCALE;
      const double lineBottom = lineTop + static_cast<double>(extents.height) / PANGO_SCALE;
      if (lineTop > bottom) break;
      if (lineBottom < top) continue;
      cairo_move_to(cr, origin.x + static_cast<double>(extents.x) / PANGO_SCALE,
                    origin.y + static_cast<double>(pango_layout_iter_get_baseline(lines)) / PANGO_SCALE);
      pango_cairo_show_layout_line(cr, pango_layout_iter_get_line_readonly(lines));
    } while (pango_layout_iter_next_line(lines));
    pango_layout_iter_free(lines);
  }
  cairo_restore(cr);
}

std::size_t TextEngine::cachedLayoutCount() const {
  std::lock_guard lock(state_->mutex);
  return state_->current.size() + state_->previous.size();
}

}  // namespace render
