#include "Quillo/web_chat/chat_page_address.h"

#include "Quillo/chat_model/settings_keys.h"

namespace Quillo {

std::string chatPageAddress() {
  std::string address = kChatPageOrigin;
  if (Defaults::get(Keys::webDefaultToGPT4())) address += kChatPageGPT4Path;
  return address;
}

}  // namespace Quillo
