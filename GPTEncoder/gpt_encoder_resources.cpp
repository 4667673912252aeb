#include "GPTEncoder/gpt_encoder_resources.h"

#include "platform/foundation/bundle.h"
#include "platform/foundation/log.h"

namespace GPTTokenizer {

std::shared_ptr<const Vocabulary> SharedVocabulary::get() {
  std::call_once(once_, [this] {
    try {
      std::optional<GPTEncoderDataFiles> files = locate_();
      if (!files) {
        throw std::runtime_error(
            "the resource bundle GPTEncoder.bundle with vocab.bpe and encoder.json was not found");
      }
      vocabulary_ = Vocabulary::read(*files);
    } catch (const std::exception& error) {
      foundation::log(std::string("GPTEncoder: token counting is unavailable: ") + error.what());
    }
  });
  return vocabulary_;
}

std::optional<GPTEncoderDataFiles> GPTEncoderResources::dataFiles(const foundation::Bundle& bundle) {
  std::shared_ptr<foundation::Bundle> resources = bundle.resourceBundle("GPTEncoder.bundle");
  if (!resources) return std::nullopt;
  std::optional<std::filesystem::path> mergeList = resources->pathForResource("vocab", "bpe");
  std::optional<std::filesystem::path> tokenTable = resources->pathForResource("encoder", "json");
  if (!mergeList || !tokenTable) return std::nullopt;
  return GPTEncoderDataFiles{*mergeList, *tokenTable};
}

std::optional<GPTEncoderDataFiles> GPTEncoderResources::dataFiles() {
  static const std::optional<GPTEncoderDataFiles> files = dataFiles(*foundation::Bundle::main());
  return files;
}

std::shared_ptr<const Vocabulary> GPTEncoderResources::vocabulary() {
  static SharedVocabulary shared([] { return dataFiles(); });
  return shared.get();
}

}  // namespace GPTTokenizer
