// Where the application finds the tokenizer's two data files.
#pragma once

#include <optional>

#include "GPTEncoder/gpt_encoder.h"

namespace GPTTokenizer {

// The data files are not part of the program: they live in the resource bundle "GPTEncoder.bundle" as
// "vocab.bpe" and "encoder.json".
class GPTEncoderResources {
 public:
  // The two files' paths, or nothing when no resource bundle holding both is found. Looked up once per
  // process (safe from any thread); the result is remembered.
  static std::optional<GPTEncoderDataFiles> dataFiles();
};

}  // namespace GPTTokenizer
