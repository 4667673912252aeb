// Decoding the Base64 payload of data: URLs that pages offer as images.
#include "Quillo/web_chat/data_url.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

TEST(Base64, DecodesStandardPaddedTextAndRefusesEverythingElse) {
  struct Case {
    std::string text;
    std::optional<std::string> bytes;
  };
  const Case cases[] = {
      {"", std::string()},
      {"TWFu", std::string("Man")},
      {"TWE=", std::string("Ma")},
      {"TQ==", std::string("M")},
      {"+/+/", std::string("\xfb\xff\xbf")},
      {"AAEC", std::string("\x00\x01\x02", 3)},
      {"TWF", std::nullopt},       // not a multiple of four
      {"TW=u", std::nullopt},      // padding inside
      {"=AAA", std::nullopt},      // padding first
      {"T===", std::nullopt},      // too much padding
      {"TR==", std::nullopt},      // bits left over after the last byte
      {"TWF=", std::nullopt},      // bits left over after the last two bytes
      {"TW Fu", std::nullopt},     // white space
      {"TWFu\n", std::nullopt},    // line break
      {"TW-u", std::nullopt},      // the URL-safe alphabet is not standard Base64
      {"data:ima", std::nullopt},  // a colon
      {"TWFu%3D", std::nullopt},   // percent-encoding
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Quillo::decodedBase64(c.text), c.bytes);
  }
}

TEST(DataURL, TakesTheBase64PayloadAfterTheFirstComma) {
  struct Case {
    std::string url;
    std::optional<std::string> mediaType;
    std::optional<std::string> bytes;
  };
  const Case cases[] = {
      {"data:image/png;base64,iVBORw==", "image/png", std::string("\x89PNG")},
      {"DATA:image/jpeg;charset=x;BASE64,TWFu", "image/jpeg", std::string("Man")},
      {"data:;base64,TWFu", "", std::string("Man")},
      {"data:image/png;base64", std::nullopt, std::nullopt},   // no comma
      {"data:image/png;base64,", std::nullopt, std::nullopt},  // nothing to save
      {"data:image/png,TWFu", std::nullopt, std::nullopt},     // not marked Base64
      {"data:text/html,<script>alert(1)</script>", std::nullopt, std::nullopt},
      {"data:image/png;base64,TWFu,TWFu", std::nullopt, std::nullopt},  // a comma is no Base64
      {"data:image/png;base64,not base64!", std::nullopt, std::nullopt},
      {"data:image/png;base64x,TWFu", std::nullopt, std::nullopt},
      {"https://example.com/a,TWFu", std::nullopt, std::nullopt},  // another scheme
      {"dat", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    auto payload = Quillo::decodedDataURL(c.url);
    ASSERT_EQ(payload.has_value(), c.bytes.has_value());
    if (!payload) continue;
    EXPECT_EQ(payload->mediaType, *c.mediaType);
    EXPECT_EQ(payload->bytes, *c.bytes);
  }
}

TEST(DataURL, DecodesALargeImageWhole) {
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "AAEC";
  auto payload = Quillo::decodedDataURL("data:image/png;base64," + text);
  ASSERT_TRUE(payload);
  EXPECT_EQ(payload->bytes.size(), 300000u);
}

}  // namespace
