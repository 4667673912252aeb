// The address of the chat service's web page that the web chats open.
#pragma once

#include <string>

namespace Quillo {

// The chat service's page, without a trailing slash.
inline constexpr const char* kChatPageOrigin = "https://chat.openai.com";
// Its GPT-4 page, opened instead of the root page while `webDefaultToGPT4` is on.
inline constexpr const char* kChatPageGPT4Path = "/chat?model=gpt-4";

// The root page, or the GPT-4 page while the setting `webDefaultToGPT4` is on (read now).
std::string chatPageAddress();

}  // namespace Quillo
