// Decoding of "data:" URLs (RFC 2397) whose payload is Base64, as pages offer images to save.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace Quillo {

// The bytes of standard Base64 text (RFC 4648, "+" and "/", padded to a multiple of four), or nothing when
// the text holds any other character (white space included), is not padded properly, or has non-zero
// bits after its last byte.
std::optional<std::string> decodedBase64(std::string_view text);

struct DataURLPayload {
  std::string mediaType;  // as written before the parameters, "" when absent
  std::string bytes;
};

// The payload of a "data:" URL (scheme in any letter case) marked ";base64": everything after the first
// comma, decoded as Base64. Nothing for another scheme, a URL without a comma or without the Base64 mark,
// an empty payload, or a payload that does not decode.
std::optional<DataURLPayload> decodedDataURL(std::string_view url);

}  // namespace Quillo
