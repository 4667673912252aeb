#include "Quillo/chat_model/settings_keys.h"

namespace Quillo::Keys {

// Function-local statics: made on first use, thread-safe, in the standard suite.
#define QUILLO_SETTINGS_KEY(Type, name, defaultValue)          \
  const Defaults::Key<Type>& name() {                          \
    static const Defaults::Key<Type> key(#name, defaultValue); \
    return key;                                                \
  }

QUILLO_SETTINGS_KEY(std::string, apiKey, "")
QUILLO_SETTINGS_KEY(std::vector<Conversation>, conversations, {})
QUILLO_SETTINGS_KEY(Conversation, mainConversations,
                    Conversation(foundation::UUID(), {}, "", defaultConversationPrompt))
QUILLO_SETTINGS_KEY(bool, showNative, false)
QUILLO_SETTINGS_KEY(Model, apiModel, Model::turbo)
QUILLO_SETTINGS_KEY(std::string, menubarIconName, "menubar")
QUILLO_SETTINGS_KEY(Model, globalApiModel, Model::turbo)
QUILLO_SETTINGS_KEY(Model, inlineApiModel, Model::turbo)
QUILLO_SETTINGS_KEY(bool, showNormalApp, true)
QUILLO_SETTINGS_KEY(bool, isNativeGPTEnabled, false)
QUILLO_SETTINGS_KEY(InlineTrigger, inlineTrigger, InlineTrigger::shiftReturn)
QUILLO_SETTINGS_KEY(std::string, globalGPTKey, "+gpt")
QUILLO_SETTINGS_KEY(bool, showTokenCount, false)
QUILLO_SETTINGS_KEY(bool, playSoundWhenReplied, false)
QUILLO_SETTINGS_KEY(bool, enableMarkdown, false)
QUILLO_SETTINGS_KEY(bool, conversationModeEnabled, false)
QUILLO_SETTINGS_KEY(bool, speakGlobalOutLoud, false)
QUILLO_SETTINGS_KEY(std::int64_t, maxLengthForSpeaking, 200)
QUILLO_SETTINGS_KEY(bool, clickedDonate, false)
QUILLO_SETTINGS_KEY(double, sidebarWidth, 400.0)
QUILLO_SETTINGS_KEY(bool, sidebarAlwaysShowButtons, false)
QUILLO_SETTINGS_KEY(std::string, customSystemPrompt, defaultCustomSystemPrompt)
QUILLO_SETTINGS_KEY(ui::Color, userChatColor, ui::Color::teal())
QUILLO_SETTINGS_KEY(ui::Color, assistantChatColor, ui::Color::controlBackgroundColor())
QUILLO_SETTINGS_KEY(bool, webDefaultToGPT4, false)
QUILLO_SETTINGS_KEY(FontSize, fontSize, FontSize::small)
QUILLO_SETTINGS_KEY(std::string, azureKey, "")
QUILLO_SETTINGS_KEY(bool, useCustomAPI, false)

#undef QUILLO_SETTINGS_KEY

}  // namespace Quillo::Keys
