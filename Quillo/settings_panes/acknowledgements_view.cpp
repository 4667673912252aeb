#include "Quillo/settings_panes/acknowledgements_view.h"

#include <fmt/format.h>

#include "platform/foundation/log.h"
#include "platform/foundation/text_error.h"
#include "platform/ui/views.h"

namespace Quillo {

namespace {

constexpr std::string_view folder = "acknowledgements";

std::optional<Acknowledgement> entry(const foundation::Bundle& bundle, const foundation::PlistValue& value) {
  const auto* fields = value.dictionaryValue();
  const auto field = [&](const std::string& key) -> const foundation::PlistValue* {
    if (!fields) return nullptr;
    const auto found = fields->find(key);
    return found == fields->end() ? nullptr : &found->second;
  };
  const foundation::PlistValue* name = field("name");
  if (!name || !name->stringValue()) {
    foundation::log("Acknowledgements: an entry without a name is left out.");
    return std::nullopt;
  }
  Acknowledgement acknowledgement{*name->stringValue(), {}, {}};
  const auto path = bundle.pathForResource(acknowledgement.name, "txt", folder);
  auto text = path ? foundation::readResourceFile(*path) : std::nullopt;
  if (!text) {
    foundation::log(
        fmt::format("Acknowledgements: the licence of {} is missing; it is left out.", acknowledgement.name));
    return std::nullopt;
  }
  // A file's closing line break is no part of the text shown.
  while (!text->empty() && (text->back() == '\n' || text->back() == '\r')) text->pop_back();
  acknowledgement.licence = std::move(*text);
  if (const foundation::PlistValue* packages = field("packages"); packages && packages->arrayValue()) {
    for (const auto& package : *packages->arrayValue()) {
      if (package.stringValue()) acknowledgement.packages.push_back(*package.stringValue());
    }
  }
  return acknowledgement;
}

}  // namespace

std::vector<Acknowledgement> acknowledgements(const foundation::Bundle& bundle) {
  std::vector<Acknowledgement> result;
  const auto index = bundle.pathForResource("Acknowledgements", "plist", folder);
  const auto bytes = index ? foundation::readResourceFile(*index) : std::nullopt;
  if (!bytes) {
    foundation::log("Acknowledgements: the resources hold no list of acknowledgements.");
    return result;
  }
  try {
    const foundation::PlistValue list = foundation::readXMLPropertyList(*bytes);
    if (!list.arrayValue()) throw foundation::TextError("The list is not an array.");
    for (const auto& value : *list.arrayValue()) {
      if (auto acknowledgement = entry(bundle, value)) result.push_back(std::move(*acknowledgement));
    }
  } catch (const foundation::TextError& error) {
    foundation::log(fmt::format("Acknowledgements: {} cannot be read: {}", index->string(), error.text()));
  }
  return result;
}

std::vector<Acknowledgement> acknowledgements() { return acknowledgements(*foundation::Bundle::main()); }

ui::AnyView acknowledgementRow(const std::string& name, const std::string& licence) {
  using namespace ui;
  return VStack(HorizontalAlignment::leading, std::nullopt, Text::verbatim(name).font(Font().bold()),
                Text::verbatim(licence))
      .padding(16)
      .background(Color::controlBackgroundColor())
      .clipShape(RoundedRectangle(8, CornerStyle::continuous));
}

ui::AnyView AcknowledgementsView::body() const {
  using namespace ui;
  std::vector<AnyView> sections;
  for (const auto& entry : acknowledgements()) {
    sections.push_back(Section(EmptyView(), {acknowledgementRow(entry.name, entry.licence)}));
  }
  return List(sections);
}

}  // namespace Quillo
