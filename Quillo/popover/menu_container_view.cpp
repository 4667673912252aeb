#include "Quillo/popover/menu_container_view.h"

#include <utility>

#include "Quillo/app/mode_controls.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/chat_views/main_chat.h"
#include "Quillo/config/update_notices.h"
#include "Quillo/web_chat/chat_page_address.h"
#include "Quillo/web_chat/chat_view.h"
#include "platform/appkit/application.h"
#include "platform/ui/control_styles.h"
#include "platform/ui/views.h"

namespace Quillo {

MenuContainerView::MenuContainerView(std::shared_ptr<ConfigManager> config,
                                     std::shared_ptr<updater::StandardUpdaterController> updaterController)
    : showNative_(Keys::showNative()),
      config_(std::move(config)),
      updaterController_(std::move(updaterController)) {}

void MenuContainerView::copyConversationToPasteboard() const {
  copyTranscriptToPasteboard(appState_->mainConversations.get());
}

void MenuContainerView::clearMainConversation() const {
  auto conversation = appState_->mainConversations.get();
  conversation.messages.clear();
  appState_->mainConversations.set(std::move(conversation));
  appState_->api.get()->setHistoryList({});
}

ui::AnyView MenuContainerView::header() const {
  using namespace ui;
  const auto self = *this;
  const auto showNative = showNative_.binding();
  const auto& updater = updaterController_->updater();
  return HStack(
             labelsHidden(modePicker(showNative)).frame(130, std::nullopt), showNativeButton(showNative),
             showWebButton(showNative), Spacer(),
             conditional(config_->shouldUpdate(),
                         UpdateAvailableView(std::make_shared<CheckForUpdatesViewModel>(updater), updater)),
             Spacer(),
             conditional(showNative_.get(), Button([self] { self.copyConversationToPasteboard(); },
                                                   Image::systemName("doc.on.doc.fill"))
                                                .help("Copy the entire conversation to your clipboard")),
             conditional(!appState_->mainConversations.get().messages.empty(),
                         Button("Clear", [self] { self.clearMainConversation(); })),
             settingsButton(),
             Button([] { appkit::Application::shared().terminate(); },
                    Image::systemName("xmark.circle.fill").font(Font::title2()))
                 .buttonStyle(ButtonStyle::plain)
                 .keyboardShortcut("q"))
      .padding(Edges::horizontal)
      .padding(Edges::vertical, 6)
      .padding(Edges::top, 4)
      .background(Color::controlBackgroundColor());
}

ui::AnyView MenuContainerView::body() const {
  using namespace ui;
  auto state = appState_.get();
  auto content =
      conditional(showNative_.get(), MainChat(state->apiBinding(), state->mainConversationsBinding()),
                  ChatView(chatPageAddress()));
  return VStack(HorizontalAlignment::center, 0.0, header(), content)
      .frame(ChatView::width(*size_), kPopoverHeight);
}

}  // namespace Quillo
