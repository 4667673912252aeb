#include "Quillo/chat_model/clearer_error.h"

#include <gtest/gtest.h>

using namespace Quillo;

TEST(FailureAdvice, MatchesKnownFailuresIgnoringCaseAndAccents) {
  const std::string modelAdvice(adviceText(ClearerError::doesNotExist));
  const std::string paymentAdvice(adviceText(ClearerError::exceeded));
  struct Case {
    const char* failure;
    std::optional<std::string> advice;
  };
  const Case cases[] = {
      {"The model `gpt-4` does not exist or you do not have access to it.", modelAdvice},
      {"You exceeded your current quota, please check your plan and billing details.", paymentAdvice},
      {"YOU EXCEEDED YOUR CURRENT QUOTA", paymentAdvice},
      {"You éxcéeded yoür current quota", paymentAdvice},
      {"exceeded your current quota; the model does not exist or you do not have access", modelAdvice},
      {"The model does not exist or you", std::nullopt},  // only the beginning of a match text
      {"exceeded your", std::nullopt},
      {"", std::nullopt},
      {"Invalid response", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failure);
    EXPECT_EQ(adviceForFailure(c.failure), c.advice);
  }
}

TEST(FailureAdvice, CasesAndTextsAreFixed) {
  EXPECT_EQ(allClearerErrors[0], ClearerError::doesNotExist);
  EXPECT_EQ(allClearerErrors[1], ClearerError::exceeded);
  EXPECT_EQ(rawValue(ClearerError::doesNotExist), "doesNotExist");
  EXPECT_EQ(fromRawValue(std::type_identity<ClearerError>{}, "exceeded"), ClearerError::exceeded);
  EXPECT_EQ(fromRawValue(std::type_identity<ClearerError>{}, "other"), std::nullopt);
  const std::string_view model = adviceText(ClearerError::doesNotExist);
  EXPECT_TRUE(
      model.starts_with("You do not have access to the model you have selected. To access GPT4 models "));
  EXPECT_TRUE(
      model.ends_with("Check this page for more information: https://help.openai.com"
                      "/en/articles/7102672-how-can-i-access-gpt-4."));
  EXPECT_TRUE(adviceText(ClearerError::exceeded).ends_with("with a credit card linked to it."));
}
