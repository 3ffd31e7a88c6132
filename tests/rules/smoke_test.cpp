#include <gtest/gtest.h>
#include "game/bursts.h"
#include "game/state.h"
TEST(Smoke, EmptyBoardHasNoWinner) { EXPECT_EQ(checkWinner(), 0); }
