// display and reshape: the frame's call order, the camera and light, and the projection.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/frame.h"
#include "game/state.h"
#include "render/board.h"
#include "render/sphere.h"
#include "stream.h"

// The starting position with the camera at `heading`; no sphere is on the board.
static void startingPosition(int heading) {
  clearBoard();
  cursorX = cursorY = 4;
  currentPlayer = 1;
  gamePhase = PHASE_AWAIT_MOVE;
  swingAngle = heading;
  eyePosition[0] = eyePosition[1] = 0.0f;
  eyePosition[2] = 55.0f;
  glrec::reset();
}

TEST(Display, ClearsPlacesCameraAndLightThenDrawsTheBoardAndSwaps) {
  startingPosition(750);
  drawBoard();
  std::vector<glrec::Call> board = glrec::log;
  glrec::reset();
  display();
  std::vector<glrec::Call> &frame = glrec::log;
  ASSERT_GT(frame.size(), 6u);
  std::vector<glrec::Call> head(frame.begin(), frame.begin() + 4);
  head[2].args.clear(); // the look-at values have a test of their own
  expectStream(head, {{"glClear", {GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT}},
                      {"glLoadIdentity", {}},
                      {"gluLookAt", {}},
                      {"glLightfv", {GL_LIGHT0, GL_POSITION, 0, 0, 55, 1}}});
  expectStream(boardCalls(frame), wantsOf(board));
  expectStream({frame.end() - 2, frame.end()}, {{"glFlush", {}}, {"glutSwapBuffers", {}}});
  EXPECT_EQ(glrec::framesSwapped, 1);
}

TEST(Display, LooksFromTheEyeAlongTheHeading) {
  const struct {
    int heading;
    double centreX, centreZ;
  } cases[] = {
      {750, -0.00000398, 54.0}, {740, -0.0627944, 54.0019735}, {760, 0.0627865, 54.001973}};
  for (const auto &c : cases) {
    startingPosition(c.heading);
    display();
    std::vector<glrec::Call> look = glrec::named("gluLookAt");
    ASSERT_EQ(look.size(), 1u);
    const std::vector<double> &a = look[0].args;
    SCOPED_TRACE(c.heading);
    EXPECT_EQ(std::vector<double>(a.begin(), a.begin() + 3), (std::vector<double>{0, 0, 55}));
    EXPECT_NEAR(a[3], c.centreX, 1e-7);
    EXPECT_EQ(a[4], 0.0);
    EXPECT_NEAR(a[5], c.centreZ, 1e-7);
    EXPECT_EQ(std::vector<double>(a.begin() + 6, a.end()), (std::vector<double>{0, 1, 0}));
    expectStream(glrec::named("glLightfv"), {{"glLightfv", {GL_LIGHT0, GL_POSITION, 0, 0, 55, 1}}});
  }
}

TEST(Reshape, SetsTheViewportAndASquareFrustumWithoutDrawing) {
  const int sizes[][2] = {{600, 600}, {800, 400}, {600, 0}};
  for (const auto &size : sizes) {
    glrec::reset();
    reshape(size[0], size[1]);
    expectStream(glrec::log, {{"glViewport", {0, 0, (double)size[0], (double)size[1]}},
                              {"glMatrixMode", {GL_PROJECTION}},
                              {"glLoadIdentity", {}},
                              {"glFrustum", {-1, 1, -1, 1, 1, 500}},
                              {"glMatrixMode", {GL_MODELVIEW}}});
    EXPECT_EQ(glrec::framesSwapped, 0);
  }
}
