#include "Quillo/web_chat/main_chat_view.h"

#include "Quillo/web_chat/web_view_wrapper.h"
#include "platform/ui/views.h"

namespace Quillo {

ui::AnyView MainChatView::body() const {
  using namespace ui;
  FrameModifier frame;
  frame.minHeight = 600;
  frame.alignment = Alignment::center();
  return AnyView(
             WebViewWrapper(*urlString_, resetThread_.binding(), nullptr, Binding<std::string>::constant("")))
      .frame(frame);
}

}  // namespace Quillo
