// The sanitizer-built game on a private X server: it starts, plays a won game with real GL and
// quits with 'q', and neither AddressSanitizer, UndefinedBehaviorSanitizer nor LeakSanitizer
// reports anything (Mesa's own blocks left at exit are suppressed in lsan.supp).
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <string>

#include "x_harness.h"

namespace {

TEST(SanitizedGame, PlaysAWinAndQuitsWithNoReport) {
  xh::XServer server;
  xh::Game game(server, {},
                {{"ASAN_OPTIONS", "detect_leaks=1:abort_on_error=0"},
                 {"UBSAN_OPTIONS", "print_stacktrace=1"},
                 {"LSAN_OPTIONS", "suppressions=" LSAN_SUPPRESSIONS ":print_suppressions=0"},
                 {"LD_PRELOAD", KEEP_MODULES_LIBRARY}});
  ASSERT_TRUE(game.waitWindow(60)) << game.stderrText();
  std::optional<xh::Image> first = game.waitFrame({}, 60);
  ASSERT_TRUE(first.has_value()) << game.stderrText();

  // Player 1 wins on the third move, (0, 0), (1, 0), (0, 0): every sphere list gets built.
  game.tap({XK_Left, XK_Left, XK_Left, XK_Left, XK_Down, XK_Down, XK_Down, XK_Down, XK_Return,
            XK_Right, XK_Return, XK_Left, XK_Return});
  std::optional<xh::Image> won = game.waitSettled({}, 60);
  ASSERT_TRUE(won.has_value()) << game.stderrText();
  EXPECT_NE(*won, *first) << "the winner's screen looks like the empty board";
  game.tap(XK_q);

  std::optional<int> status = game.waitExit(60);
  std::string errors = game.stderrText();
  ASSERT_TRUE(status.has_value()) << "the game did not quit on 'q'\n" << errors;
  EXPECT_EQ(*status, 0) << errors;
  EXPECT_EQ(errors.find("Sanitizer"), std::string::npos) << errors;
  EXPECT_EQ(errors.find("runtime error"), std::string::npos) << errors;
}

} // namespace
