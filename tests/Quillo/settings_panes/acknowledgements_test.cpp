// The acknowledgements list: the licences of the linked libraries and of data no package brings, read from
// the application's resources in the order they give.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "Quillo/settings_panes/acknowledgements_view.h"
#include "platform/foundation/bundle.h"
#include "platform/foundation/log.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"

namespace {

namespace fs = std::filesystem;
using ui::testing::Host;
namespace q = ui::testing;

std::string withoutClosingLineBreaks(std::string text) {
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

std::string fileText(const fs::path& file) {
  return foundation::readResourceFile(file).value_or("(unreadable)");
}

// The texts for data that no Debian package brings, by name.
std::vector<std::string> staticAcknowledgementNames() {
  std::vector<std::string> names;
  const fs::path folder = fs::path(QUILLO_SOURCE_DIR) / "resources" / "acknowledgements";
  if (fs::is_directory(folder)) {
    for (const auto& file : fs::directory_iterator(folder)) {
      if (file.path().extension() == ".txt") names.push_back(file.path().stem().string());
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Acknowledgements, ListTheLinkedLibrariesInTheirFixedOrderThenTheDataNoPackageBrings) {
  std::vector<std::string> expected = {
      "cmark-gfm", "libcurl",    "nlohmann-json", "ICU",      "fmt",
      "FreeType",  "Cairo",      "Pango",         "HarfBuzz", "Fontconfig",
      "librsvg",   "gdk-pixbuf", "GLib",          "GTK",      "Ayatana AppIndicator",
      "libX11",    "xkbcommon",  "libXi",         "libXtst",  "AT-SPI",
      "eSpeak NG", "PocketSphinx", "PulseAudio",  "ALSA",     "WebKitGTK"};
  for (const auto& name : staticAcknowledgementNames()) expected.push_back(name);
  std::vector<std::string> names;
  for (const auto& entry : Quillo::acknowledgements()) names.push_back(entry.name);
  EXPECT_EQ(names, expected);
}

TEST(Acknowledgements, EachLicenceIsTheCopyrightFileOfItsPackageWhole) {
  const auto entries = Quillo::acknowledgements();
  ASSERT_FALSE(entries.empty());
  for (const auto& entry : entries) {
    SCOPED_TRACE(entry.name);
    const fs::path source =
        entry.packages.empty()
            ? fs::path(QUILLO_SOURCE_DIR) / "resources" / "acknowledgements" / (entry.name + ".txt")
            : fs::path("/usr/share/doc") / entry.packages.front() / "copyright";
    EXPECT_EQ(entry.licence, withoutClosingLineBreaks(fileText(source)));
    if (!entry.packages.empty()) {
      EXPECT_NE(entry.licence.find("\n\n"), std::string::npos);  // paragraphs keep their blank lines
    }
  }
}

TEST(Acknowledgements, KeepTheOrderTheResourcesGiveAndLeaveOutWhatCannotBeRead) {
  const auto bundle = foundation::Bundle::atPath(fs::path(QUILLO_TEST_DIR) / "fixtures" / "resources");
  ASSERT_TRUE(bundle);
  foundation::LogCapture capture;
  const auto entries = Quillo::acknowledgements(*bundle);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "Zeta");
  EXPECT_EQ(entries[0].licence, "Zeta is free software.\n\nCopyright: 2024 Somebody\n  indented line");
  EXPECT_EQ(entries[0].packages, (std::vector<std::string>{"libzeta1", "libzeta-extra1"}));
  EXPECT_EQ(entries[1].name, "alpha");
  EXPECT_TRUE(entries[1].packages.empty());
  EXPECT_EQ(capture.lines().size(), 2u);  // the entry without a licence, the entry that is no dictionary

  foundation::LogCapture missing;
  EXPECT_TRUE(Quillo::acknowledgements(foundation::Bundle(std::nullopt)).empty());
  EXPECT_EQ(missing.lines().size(), 1u);
}

TEST(Acknowledgements, TheViewShowsOneRoundedCardPerEntry) {
  Host host{Quillo::AcknowledgementsView()};
  EXPECT_EQ(host.findAll(q::type("Section")).size(), Quillo::acknowledgements().size());
  auto row = host.find(q::text("cmark-gfm")).parent()->parent();
  ASSERT_TRUE(row.has_value());
  auto card = host.findAll(q::type("VStack")).front();
  EXPECT_EQ(card.padding(), (ui::EdgeInsets{16, 16, 16, 16}));
  ASSERT_TRUE(card.clipShape().has_value());
  EXPECT_EQ(card.clipShape()->cornerRadius, 8);
  const auto entries = Quillo::acknowledgements();
  ASSERT_FALSE(entries.empty());
  EXPECT_TRUE(host.exists(q::text(entries.back().licence)));  // whole, line breaks and all
}

}  // namespace
