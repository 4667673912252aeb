// The names and licence texts of the third-party libraries the application links, shown in a window of
// their own that the About pane opens.
#pragma once

#include <string>
#include <vector>

#include "platform/foundation/bundle.h"
#include "platform/ui/view.h"

namespace Quillo {

struct Acknowledgement {
  std::string name;
  std::string licence;  // the full text, line breaks and blank lines kept
  // The Debian packages that bring the library; none for data that no package brings.
  std::vector<std::string> packages;
};

// The acknowledgements the bundle's "acknowledgements" resource folder holds, in the order its
// Acknowledgements.plist gives: the libraries as cmake/Dependencies.cmake lists them (cmark-gfm first),
// then the texts for data that no package brings; nothing sorts them. Each licence is "<name>.txt" beside
// it, read whole. An entry that cannot be read is left out with one diagnostic line.
std::vector<Acknowledgement> acknowledgements(const foundation::Bundle& bundle);
// Those of the application's bundle.
std::vector<Acknowledgement> acknowledgements();

// One rounded card per library: the name in bold above its licence.
ui::AnyView acknowledgementRow(const std::string& name, const std::string& licence);

class AcknowledgementsView final : public ui::View {
 public:
  ui::AnyView body() const override;
};

}  // namespace Quillo
