#include "messages/message_form.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

namespace vocapost {
namespace {

TEST(MessageFormTest, HasItsSizeAndIsCentredOnTheScreen) {
  MessageForm form;
  EXPECT_EQ(form.size(), QSize(327, 140));  // 4905 x 2100 twips
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(form.x(), ((screen.width() * 15 - 4905) / 2 + 7) / 15);
  EXPECT_EQ(form.y(), ((screen.height() * 15 - 2100) / 2 + 7) / 15);
  EXPECT_FALSE(form.isVisible());
}

TEST(MessageFormTest, ShowsTheStartUpPicture) {
  MessageForm form;
  const QPixmap picture = form.Picture()->pixmap();
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.size(), QSize(320, 135));
}

TEST(MessageFormTest, PostedWindowMessagesReachTheInstalledProcedure) {
  MessageForm form;
  std::vector<std::tuple<uint32_t, uintptr_t, intptr_t>> seen;
  form.InstallProcedure([&](uint32_t m, uintptr_t w, intptr_t l) {
    seen.emplace_back(m, w, l);
    return intptr_t{1};
  });
  QCoreApplication::postEvent(&form, new WindowMessageEvent(0x3C0, 7, -2));
  QCoreApplication::postEvent(&form, new WindowMessageEvent(0x3BD, 0, 0));
  EXPECT_TRUE(seen.empty()) << "messages arrive only through the event loop";
  QCoreApplication::processEvents();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], std::make_tuple(0x3C0u, uintptr_t{7}, intptr_t{-2}));
  EXPECT_EQ(std::get<0>(seen[1]), 0x3BDu);
}

TEST(MessageFormTest,
     InstallingReturnsThePreviousProcedureForChainingAndRestoring) {
  MessageForm form;
  const WindowProcedure original =
      form.InstallProcedure([](uint32_t m, uintptr_t, intptr_t) {
        return intptr_t(m == 1 ? 10 : 0);
      });
  ASSERT_TRUE(original);
  EXPECT_EQ(original(1, 0, 0), 0);
  WindowProcedure first =
      form.InstallProcedure(nullptr);  // back to the default
  EXPECT_EQ(form.CallProcedure(1, 0, 0), 0);
  form.InstallProcedure([first](uint32_t m, uintptr_t w, intptr_t l) {
    return m == 2 ? intptr_t{20} : first(m, w, l);
  });
  EXPECT_EQ(form.CallProcedure(2, 0, 0), 20);
  EXPECT_EQ(form.CallProcedure(1, 0, 0), 10);
  form.InstallProcedure(original);
  EXPECT_EQ(form.CallProcedure(2, 0, 0), 0);
}

TEST(MessageFormTest, ProcedureMayReplaceItselfWhileRunning) {
  MessageForm form;
  WindowProcedure previous;
  int calls = 0;
  previous = form.InstallProcedure([&, owned = std::string(1000, 'x')](
                                       uint32_t, uintptr_t, intptr_t) {
    form.InstallProcedure(previous);  // destroys this procedure's stored copy
    ++calls;
    return static_cast<intptr_t>(owned.size());  // still safe to use
  });
  EXPECT_EQ(form.CallProcedure(1, 0, 0), 1000);
  EXPECT_EQ(form.CallProcedure(1, 0, 0), 0);
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace vocapost
