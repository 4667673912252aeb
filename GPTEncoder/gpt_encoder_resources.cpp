#include "GPTEncoder/gpt_encoder_resources.h"

#include "platform/foundation/bundle.h"

namespace GPTTokenizer {
namespace {

std::optional<GPTEncoderDataFiles> locate() {
  std::shared_ptr<foundation::Bundle> bundle =
      foundation::Bundle::main()->resourceBundle("GPTEncoder.bundle");
  if (!bundle) return std::nullopt;
  std::optional<std::filesystem::path> mergeList = bundle->pathForResource("vocab", "bpe");
  std::optional<std::filesystem::path> tokenTable = bundle->pathForResource("encoder", "json");
  if (!mergeList || !tokenTable) return std::nullopt;
  return GPTEncoderDataFiles{*mergeList, *tokenTable};
}

}  // namespace

std::optional<GPTEncoderDataFiles> GPTEncoderResources::dataFiles() {
  static const std::optional<GPTEncoderDataFiles> files = locate();  // once per process, thread-safe
  return files;
}

}  // namespace GPTTokenizer
