// Writes the tokenizer's two data files from a published rank table of GPT-2's vocabulary:
//   gpt2_vocabulary_converter <rank table module (gpt2.js)> <output folder>
// The output folder receives vocab.bpe and encoder.json.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "tools/gpt2_vocabulary/rank_table.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: " << argv[0] << " <rank table module> <output folder>\n";
    return 2;
  }
  try {
    std::ifstream input(argv[1], std::ios::binary);
    if (!input) throw std::runtime_error(std::string("cannot read ") + argv[1]);
    std::ostringstream module;
    module << input.rdbuf();
    const GPTVocabulary::VocabularyFiles files = GPTVocabulary::convertRankTable(module.str());

    const std::filesystem::path folder = argv[2];
    std::filesystem::create_directories(folder);
    for (const auto& [name, content] :
         {std::pair{"vocab.bpe", &files.mergeList}, std::pair{"encoder.json", &files.tokenTable}}) {
      std::ofstream output(folder / name, std::ios::binary | std::ios::trunc);
      output << *content;
      output.close();
      if (!output) throw std::runtime_error("cannot write " + (folder / name).string());
    }
  } catch (const std::exception& error) {
    std::cerr << argv[0] << ": " << error.what() << "\n";
    return 1;
  }
  return 0;
}
