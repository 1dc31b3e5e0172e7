#include "messages/message_form.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

namespace vocapost {
namespace {

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
