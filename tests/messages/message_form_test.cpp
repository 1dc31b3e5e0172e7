#include "messages/message_form.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

namespace vocapost {
namespace {

TEST(MessageFormTest, ShowsThePictureAtItsSizeCentredOnTheScreen) {
  MessageForm form;
  EXPECT_EQ(form.size(), QSize(327, 140));  // 4905 x 2100 twips
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(form.pos(), QPoint(((screen.width() * 15 - 4905) / 2 + 7) / 15,
                               ((screen.height() * 15 - 2100) / 2 + 7) / 15));
  EXPECT_EQ(form.Picture()->pixmap().size(), QSize(320, 135));
  EXPECT_FALSE(form.isVisible());
}

TEST(MessageFormTest, PostedMessagesReachTheProcedureWhichMayReplaceItself) {
  MessageForm form;
  std::vector<std::tuple<uint32_t, uintptr_t, intptr_t>> seen;
  WindowProcedure previous;
  previous = form.InstallProcedure([&, owned = std::string(1000, 'x')](
                                       uint32_t m, uintptr_t w, intptr_t l) {
    seen.emplace_back(m, w, l);
    form.InstallProcedure(previous);  // destroys this procedure's stored copy
    return static_cast<intptr_t>(owned.size());  // still safe to use
  });
  QCoreApplication::postEvent(&form, new WindowMessageEvent(0x3C0, 7, -2));
  EXPECT_TRUE(seen.empty()) << "messages arrive only through the event loop";
  QCoreApplication::processEvents();
  EXPECT_EQ(seen,
            (std::vector{std::make_tuple(0x3C0u, uintptr_t{7}, intptr_t{-2})}));
  EXPECT_EQ(form.CallProcedure(1, 0, 0), 0) << "the default is back";
  EXPECT_EQ(seen.size(), 1u);
}

}  // namespace
}  // namespace vocapost
