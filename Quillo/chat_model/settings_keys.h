// The application's settings: one typed key per setting, with its stored name, value type and default,
// all in the standard user defaults.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Quillo/chat_model/conversation.h"
#include "Quillo/chat_model/font_size.h"
#include "Quillo/chat_model/inline_trigger.h"
#include "Quillo/chat_model/model.h"
#include "platform/ui/color.h"
#include "settings_store/bridges.h"
#include "settings_store/key.h"

namespace Quillo::Keys {

// Each key is made on its first use, once per process (safe when several threads touch it at once), with
// the standard suite of that moment, and registers its default there. Read and write them with
// Defaults::get / Defaults::set.
const Defaults::Key<std::string>& apiKey();
const Defaults::Key<std::vector<Conversation>>& conversations();
const Defaults::Key<Conversation>& mainConversations();  // default: new id, no messages, empty title
const Defaults::Key<bool>& showNative();
const Defaults::Key<Model>& apiModel();
const Defaults::Key<std::string>& menubarIconName();
const Defaults::Key<Model>& globalApiModel();
const Defaults::Key<Model>& inlineApiModel();
const Defaults::Key<bool>& showNormalApp();
const Defaults::Key<bool>& isNativeGPTEnabled();
const Defaults::Key<InlineTrigger>& inlineTrigger();
const Defaults::Key<std::string>& globalGPTKey();
const Defaults::Key<bool>& showTokenCount();
const Defaults::Key<bool>& playSoundWhenReplied();
const Defaults::Key<bool>& enableMarkdown();
const Defaults::Key<bool>& conversationModeEnabled();
const Defaults::Key<bool>& speakGlobalOutLoud();
const Defaults::Key<std::int64_t>& maxLengthForSpeaking();
const Defaults::Key<bool>& clickedDonate();
const Defaults::Key<double>& sidebarWidth();
const Defaults::Key<bool>& sidebarAlwaysShowButtons();
const Defaults::Key<std::string>& customSystemPrompt();
const Defaults::Key<ui::Color>& userChatColor();
const Defaults::Key<ui::Color>& assistantChatColor();
const Defaults::Key<bool>& webDefaultToGPT4();
const Defaults::Key<FontSize>& fontSize();
const Defaults::Key<std::string>& azureKey();
const Defaults::Key<bool>& useCustomAPI();

// The default system text of the native chat.
inline constexpr const char* defaultCustomSystemPrompt =
    "You're a helpful assistant named Quillo. Provide clear and thorough answers but be concise. Let's work "
    "this out in a step by step way to be sure we have the right answer.";

}  // namespace Quillo::Keys
