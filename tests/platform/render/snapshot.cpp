#include "tests/platform/render/snapshot.h"

#include <cstdlib>
#include <filesystem>

#include "platform/render/text_engine.h"
#include "tests/support/temporary_settings_suite.h"

namespace rendertest {

namespace {

const std::filesystem::path fixtures = std::filesystem::path(QUILLO_TEST_DIR) / "fixtures";

// Every drawing of this program sets text in the pinned fonts, and settings go to a temporary suite.
class PinnedFonts : public ::testing::Environment {
 public:
  void SetUp() override { render::TextEngine::shared().pinFonts(fixtures / "fonts.conf"); }
};

const auto* const fonts = ::testing::AddGlobalTestEnvironment(new PinnedFonts);
const auto* const settings =
    ::testing::AddGlobalTestEnvironment(new testsupport::TemporaryStandardSuite("quillo-drawing-"));

bool isUpdating() {
  const char* value = std::getenv("QUILLO_UPDATE_SNAPSHOTS");
  return value && std::string(value) == "1";
}

int channel(std::uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

}  // namespace

::testing::AssertionResult matchesSnapshot(const render::Canvas& drawing, const std::string& name,
                                           int tolerance) {
  const auto golden = fixtures / "snapshots" / (name + ".png");
  if (isUpdating()) {
    drawing.writePNG(golden);
    return ::testing::AssertionSuccess() << "updated " << golden;
  }
  const auto failures = std::filesystem::temp_directory_path() / "quillo-snapshots";
  auto fail = [&](const std::string& why) {
    std::filesystem::create_directories(failures);
    drawing.writePNG(failures / (name + ".png"));
    return ::testing::AssertionFailure()
           << name << ": " << why << "; the drawing is in " << (failures / (name + ".png"))
           << " (scripts/update-snapshots.sh makes it the golden when intended)";
  };
  auto expected = render::Canvas::readPNG(golden);
  if (!expected) return fail("no golden picture " + golden.string());
  if (expected->pixelsWide() != drawing.pixelsWide() || expected->pixelsHigh() != drawing.pixelsHigh()) {
    return fail("the size differs from the golden's");
  }
  render::Canvas difference(drawing.pixelsWide(), drawing.pixelsHigh());
  auto* data = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(difference.surface()));
  const int stride = cairo_image_surface_get_stride(difference.surface()) / 4;
  long differing = 0;
  int worst = 0;
  for (int y = 0; y < drawing.pixelsHigh(); ++y) {
    for (int x = 0; x < drawing.pixelsWide(); ++x) {
      const auto a = drawing.pixel(x, y), b = expected->pixel(x, y);
      int largest = 0;
      for (int shift : {0, 8, 16, 24})
        largest = std::max(largest, std::abs(channel(a, shift) - channel(b, shift)));
      worst = std::max(worst, largest);
      if (largest > tolerance) {
        ++differing;
        data[y * stride + x] = 0xFFFF0000;
      }
    }
  }
  cairo_surface_mark_dirty(difference.surface());
  if (differing == 0) return ::testing::AssertionSuccess();
  std::filesystem::create_directories(failures);
  difference.writePNG(failures / (name + ".difference.png"));
  return fail(std::to_string(differing) + " pixels differ by more than " + std::to_string(tolerance) +
              " (at most " + std::to_string(worst) + ")");
}

}  // namespace rendertest

// Fontconfig keeps the patterns of the fonts it matched for as long as the process runs, without a way to
// release them that Pango's font map would not use again: not a leak of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
