#include "platform/appkit/image.h"

#include <cctype>
#include <charconv>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/foundation/bundle.h"

namespace appkit {
namespace {

constexpr foundation::Size kUnstatedSize{16, 16};

// The value of attribute `name` inside one tag's text, when it is quoted.
std::optional<std::string_view> attribute(std::string_view tag, std::string_view name) {
  for (std::size_t at = tag.find(name); at != std::string_view::npos; at = tag.find(name, at + 1)) {
    // Whole attribute names only: "stroke-width" is not "width".
    if (at == 0 || !std::isspace(static_cast<unsigned char>(tag[at - 1]))) continue;
    std::size_t next = at + name.size();
    while (next < tag.size() && std::isspace(static_cast<unsigned char>(tag[next]))) ++next;
    if (next >= tag.size() || tag[next] != '=') continue;
    ++next;
    while (next < tag.size() && std::isspace(static_cast<unsigned char>(tag[next]))) ++next;
    if (next >= tag.size() || (tag[next] != '"' && tag[next] != '\'')) continue;
    const char quote = tag[next];
    const std::size_t end = tag.find(quote, next + 1);
    if (end == std::string_view::npos) return std::nullopt;
    return tag.substr(next + 1, end - next - 1);
  }
  return std::nullopt;
}

// A positive length: a number, optionally followed by "px".
std::optional<double> length(std::string_view text) {
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || !(value > 0)) return std::nullopt;
  std::string_view rest(end, static_cast<std::size_t>(text.data() + text.size() - end));
  if (!rest.empty() && rest != "px") return std::nullopt;
  return value;
}

std::vector<double> numbers(std::string_view text) {
  std::vector<double> result;
  std::size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && (std::isspace(static_cast<unsigned char>(text[at])) || text[at] == ',')) ++at;
    if (at >= text.size()) break;
    double value = 0;
    auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), value);
    if (error != std::errc()) return {};
    result.push_back(value);
    at = static_cast<std::size_t>(end - text.data());
  }
  return result;
}

}  // namespace

std::optional<foundation::Size> svgDocumentSize(std::string_view document) {
  const std::size_t start = document.find("<svg");
  if (start == std::string_view::npos) return std::nullopt;
  const std::size_t end = document.find('>', start);
  if (end == std::string_view::npos) return std::nullopt;
  const std::string_view tag = document.substr(start + 4, end - start - 4);
  auto width = attribute(tag, "width");
  auto height = attribute(tag, "height");
  if (width && height) {
    auto w = length(*width);
    auto h = length(*height);
    if (w && h) return foundation::Size{*w, *h};
  }
  if (auto viewBox = attribute(tag, "viewBox")) {
    auto values = numbers(*viewBox);
    if (values.size() == 4 && values[2] > 0 && values[3] > 0) return foundation::Size{values[2], values[3]};
  }
  return std::nullopt;
}

std::optional<Image> Image::named(std::string_view name) {
  auto path = foundation::Bundle::main()->pathForResource(name, "svg");
  if (!path) return std::nullopt;
  return fromFile(std::string(name), *path);
}

std::optional<Image> Image::fromFile(std::string name, const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream contents;
  contents << file.rdbuf();
  const auto size = svgDocumentSize(contents.str()).value_or(kUnstatedSize);
  return Image(std::move(name), path, size);
}

Image Image::withSymbolConfiguration(SymbolConfiguration configuration) const {
  Image configured = *this;
  configured.symbolConfiguration_ = configuration;
  return configured;
}

}  // namespace appkit
