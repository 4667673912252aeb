#include "Quillo/chat_views/typing_indicator.h"

#include "platform/ui/views.h"

namespace Quillo {

ui::AnyView LoadingBubble::body() const {
  using namespace ui;
  const bool animate = *animate_;
  // Each dot starts its endless bob a tenth of a second after the one before it, which makes the wave.
  auto dot = [animate](int k) {
    return Circle()
        .frame(6, 6)
        .foregroundStyle(Color::secondary())
        .offset(0, animate ? 2 : -1)
        .animation(Animation::spring(0.5, 1.0, 0).repeatForever(true).delay(k / 10.0), animate);
  };
  return HStack(HStack(dot(1), dot(2), dot(3))
                    .padding(16)
                    .background(Color::gray().opacity(0.15))
                    .clipShape(RoundedRectangle(16, CornerStyle::continuous))
                    .padding(Edges::horizontal, 16)
                    .padding(Edges::bottom, 10),
                Spacer().minLength(60))
      .onAppear([flag = animate_] { flag.set(!*flag); });
}

}  // namespace Quillo
