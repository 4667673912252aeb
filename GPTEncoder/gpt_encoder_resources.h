// Where the application finds the tokenizer's two data files, and the one vocabulary parsed from them.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "GPTEncoder/vocabulary.h"

namespace foundation {
class Bundle;
}

namespace GPTTokenizer {

// A vocabulary made at most once, however many ask for it and from whichever threads: the first request
// locates, reads and parses the files; every later one gets the same vocabulary, or nothing without a
// second diagnostic when the first failed (written as "GPTEncoder: token counting is unavailable: <reason>").
class SharedVocabulary {
 public:
  explicit SharedVocabulary(std::function<std::optional<GPTEncoderDataFiles>()> locate)
      : locate_(std::move(locate)) {}

  std::shared_ptr<const Vocabulary> get();

 private:
  std::function<std::optional<GPTEncoderDataFiles>()> locate_;
  std::once_flag once_;
  std::shared_ptr<const Vocabulary> vocabulary_;
};

// The data files are not part of the program: they live in the resource bundle "GPTEncoder.bundle" as
// "vocab.bpe" and "encoder.json".
class GPTEncoderResources {
 public:
  // The two files' paths in the resource bundle inside `bundle`, or nothing when no such resource bundle
  // holds both.
  static std::optional<GPTEncoderDataFiles> dataFiles(const foundation::Bundle& bundle);
  // The same for the application's main bundle, looked up once per process (safe from any thread); the
  // result is remembered.
  static std::optional<GPTEncoderDataFiles> dataFiles();

  // The vocabulary of the application's data files, parsed once per process; nothing when they are
  // missing or invalid.
  static std::shared_ptr<const Vocabulary> vocabulary();
};

}  // namespace GPTTokenizer
