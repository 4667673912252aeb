// The names and licence texts of the third-party libraries the application links, shown in a window of
// their own that the About pane opens.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/view.h"

namespace Quillo {

struct Acknowledgement {
  std::string name;
  std::string licence;  // the full text, line breaks and blank lines kept
};

// cmark-gfm first, then libcurl, nlohmann-json, ICU, fmt and FreeType; nothing sorts them.
const std::vector<Acknowledgement>& acknowledgements();

// One rounded card per library: the name in bold above its licence.
ui::AnyView acknowledgementRow(const std::string& name, const std::string& licence);

class AcknowledgementsView final : public ui::View {
 public:
  ui::AnyView body() const override;
};

}  // namespace Quillo
