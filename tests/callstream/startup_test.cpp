// Start-up: the calls main makes, the callbacks it registers and the state it leaves behind.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/frame.h"
#include "game/input.h"
#include "game/sequencer.h"
#include "game/state.h"
#include "render/sphere.h"
#include "stream.h"

int runFizzgridMain(int argc, char **argv); // app/main.cpp built with main renamed

static char program[] = "fizzgrid", option[] = "-iconic", extra[] = "word";
static char *argv[] = {program, option, extra, nullptr};

// Runs main on a board and state far from the starting ones, so every value it sets shows.
static int runMainFromScrambledState() {
  for (int x = 0; x < 8; x++)
    for (int y = 0; y < 8; y++)
      orbCount[x][y] = cellOwner[x][y] = burstFlag[x][y] = x + y + 1;
  cursorX = cursorY = 0;
  currentPlayer = 2;
  gamePhase = PHASE_PLAYER2_WON;
  swingAngle = 760;
  swingBack = 1;
  eyePosition[0] = eyePosition[1] = eyePosition[2] = 9.0f;
  glrec::reset();
  return runFizzgridMain(3, argv);
}

// First in this binary, so burstStep and the lists are still what the process started with.
TEST(Startup, LeavesTheStartingStateAndUnsetValuesAtZero) {
  EXPECT_EQ(runMainFromScrambledState(), 0);
  for (int x = 0; x < 8; x++) {
    for (int y = 0; y < 8; y++) {
      EXPECT_EQ(orbCount[x][y], 0) << x << "," << y;
      EXPECT_EQ(cellOwner[x][y], 0) << x << "," << y;
      EXPECT_EQ(burstFlag[x][y], 0) << x << "," << y;
    }
  }
  EXPECT_EQ(cursorX, 4);
  EXPECT_EQ(cursorY, 4);
  EXPECT_EQ(currentPlayer, 1);
  EXPECT_EQ(gamePhase, PHASE_AWAIT_MOVE);
  EXPECT_EQ(swingAngle, 750);
  EXPECT_EQ(swingBack, 0);
  EXPECT_EQ(eyePosition[0], 0.0f);
  EXPECT_EQ(eyePosition[1], 0.0f);
  EXPECT_EQ(eyePosition[2], 55.0f);
  EXPECT_EQ(burstStep, 0);
  EXPECT_EQ(sphereList3, 0u);
  EXPECT_EQ(sphereList15, 0u);
  EXPECT_EQ(sphereList100, 0u);
}

TEST(Startup, MakesItsCallsInOrderAndRegistersTheFiveCallbacks) {
  runMainFromScrambledState();
  expectStream(glrec::log, {
                               {"glutInit", {3}},
                               {"glutInitDisplayMode", {18}},
                               {"glutInitWindowSize", {600, 600}},
                               {"glutInitWindowPosition", {0, 0}},
                               {"glutCreateWindow", {}},
                               {"glClearColor", {0, 0, 0, 1}},
                               {"glutDisplayFunc", {}},
                               {"glutReshapeFunc", {}},
                               {"glutKeyboardFunc", {}},
                               {"glutSpecialFunc", {}},
                               {"glutIdleFunc", {}},
                               {"glEnable", {GL_DEPTH_TEST}},
                               {"glEnable", {GL_LIGHTING}},
                               {"glEnable", {GL_LIGHT0}},
                               {"glEnable", {GL_NORMALIZE}},
                               {"glShadeModel", {GL_SMOOTH}},
                               {"glutMainLoop", {}},
                           });
  EXPECT_EQ(glrec::named("glutCreateWindow").at(0).text, "Fizzgrid -- Quillon Final Project");
  EXPECT_EQ(glrec::initArgv, argv);
  EXPECT_EQ(glrec::displayFunc, &display);
  EXPECT_EQ(glrec::reshapeFunc, &reshape);
  EXPECT_EQ(glrec::keyboardFunc, &keyboard);
  EXPECT_EQ(glrec::specialFunc, &special);
  EXPECT_EQ(glrec::idleFunc, &idle);
}

TEST(Startup, LeavesBurstStepAndTheListsToTheirOwners) {
  burstStep = 6;
  sphereList3 = 7, sphereList15 = 8, sphereList100 = 9;
  runMainFromScrambledState();
  EXPECT_EQ(burstStep, 6);
  EXPECT_EQ(sphereList3, 7u);
  EXPECT_EQ(sphereList15, 8u);
  EXPECT_EQ(sphereList100, 9u);
  burstStep = 0;
  sphereList3 = sphereList15 = sphereList100 = 0;
}

TEST(Startup, IdleDrawsNothingAfterwards) {
  runMainFromScrambledState();
  glrec::reset();
  for (int tick = 0; tick < 5; tick++)
    glrec::idleFunc();
  EXPECT_TRUE(glrec::log.empty());
  EXPECT_EQ(glrec::framesSwapped, 0);
}
