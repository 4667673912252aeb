#include "GPTEncoder/gpt_encoder_resources.h"

#include <filesystem>
#include <system_error>

namespace GPTTokenizer {
namespace {

std::optional<GPTEncoderDataFiles> filesIn(const std::filesystem::path& bundle) {
  std::error_code error;
  GPTEncoderDataFiles files{bundle / "vocab.bpe", bundle / "encoder.json"};
  if (std::filesystem::is_regular_file(files.mergeList, error) &&
      std::filesystem::is_regular_file(files.tokenTable, error)) {
    return files;
  }
  return std::nullopt;
}

std::optional<GPTEncoderDataFiles> locate() {
  std::error_code error;
  std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::nullopt;
  const std::filesystem::path folder = executable.parent_path();
  // The application's resource folder first, then the folder of the program itself.
  for (const auto& candidate : {folder / "resources" / "GPTEncoder.bundle", folder / "GPTEncoder.bundle"}) {
    if (auto files = filesIn(candidate)) return files;
  }
  return std::nullopt;
}

}  // namespace

std::optional<GPTEncoderDataFiles> GPTEncoderResources::dataFiles() {
  static const std::optional<GPTEncoderDataFiles> files = locate();  // once per process, thread-safe
  return files;
}

}  // namespace GPTTokenizer
