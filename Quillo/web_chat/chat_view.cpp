#include "Quillo/web_chat/chat_view.h"

#include "Quillo/web_chat/web_view_wrapper.h"
#include "platform/ui/views.h"

namespace Quillo {

double ChatView::width(std::int64_t size) {
  switch (size) {
    case 0:
      return 400;
    case 1:
      return 500;
    default:
      return 600;
  }
}

ui::AnyView ChatView::body() const {
  using namespace ui;
  return VStack(
             HorizontalAlignment::center, 0.0,
             WebViewWrapper(*urlString_, resetThread_.binding(), nullptr, Binding<std::string>::constant("")))
      .frame(width(*size_), std::nullopt);
}

}  // namespace Quillo
