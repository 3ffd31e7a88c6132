// Shared fixtures for the rule tests: the starting state, board set-up and whole-state snapshots.
#include "rules_support.h"

#include <cstring>
#include <sstream>

#include "game/input.h"
#include "game/sequencer.h"
#include "game/state.h"
#include "gl_recorder.h"

void startGame() {
  setStartingState();
  burstStep = 0; // zero at process start, which main relies on
  glrec::reset();
  glrec::logging = true;
}

void setBoard(std::initializer_list<Cell> cells) {
  clearBoard();
  for (const Cell &c : cells) {
    orbCount[c.x][c.y] = c.orbs;
    cellOwner[c.x][c.y] = c.owner;
    burstFlag[c.x][c.y] = c.flag;
  }
}

std::string boardDiff(std::initializer_list<Cell> expected) {
  int want[8][8][3] = {};
  for (const Cell &c : expected) {
    want[c.x][c.y][0] = c.orbs;
    want[c.x][c.y][1] = c.owner;
    want[c.x][c.y][2] = c.flag;
  }
  std::ostringstream out;
  for (int x = 0; x < 8; x++) {
    for (int y = 0; y < 8; y++) {
      const int *w = want[x][y];
      if (orbCount[x][y] != w[0] || cellOwner[x][y] != w[1] || burstFlag[x][y] != w[2])
        out << "(" << x << "," << y << ") orbs/owner/flag " << orbCount[x][y] << "/"
            << cellOwner[x][y] << "/" << burstFlag[x][y] << ", expected " << w[0] << "/" << w[1]
            << "/" << w[2] << "\n";
    }
  }
  return out.str();
}

int totalOrbs() {
  int sum = 0;
  for (int x = 0; x < 8; x++)
    for (int y = 0; y < 8; y++)
      sum += orbCount[x][y];
  return sum;
}

GameSnapshot snapshot() {
  GameSnapshot s;
  std::memcpy(s.orbs, orbCount, sizeof s.orbs);
  std::memcpy(s.owner, cellOwner, sizeof s.owner);
  std::memcpy(s.flag, burstFlag, sizeof s.flag);
  s.player = currentPlayer;
  s.phase = gamePhase;
  s.step = burstStep;
  s.cursorX = cursorX;
  s.cursorY = cursorY;
  s.angle = swingAngle;
  s.back = swingBack;
  return s;
}

std::string snapshotDiff(const GameSnapshot &a, const GameSnapshot &b) {
  std::ostringstream out;
  auto field = [&](const char *name, long long was, long long now) {
    if (was != now) out << name << " " << was << " -> " << now << "\n";
  };
  for (int x = 0; x < 8; x++) {
    for (int y = 0; y < 8; y++) {
      std::string at = "(" + std::to_string(x) + "," + std::to_string(y) + ") ";
      field((at + "orbs").c_str(), a.orbs[x][y], b.orbs[x][y]);
      field((at + "owner").c_str(), a.owner[x][y], b.owner[x][y]);
      field((at + "flag").c_str(), a.flag[x][y], b.flag[x][y]);
    }
  }
  field("currentPlayer", a.player, b.player);
  field("gamePhase", a.phase, b.phase);
  field("burstStep", a.step, b.step);
  field("cursorX", a.cursorX, b.cursorX);
  field("cursorY", a.cursorY, b.cursorY);
  field("swingAngle", a.angle, b.angle);
  field("swingBack", a.back, b.back);
  return out.str();
}

int tick(int n) {
  int before = glrec::framesSwapped;
  for (int i = 0; i < n; i++)
    idle();
  return glrec::framesSwapped - before;
}

int pressKey(unsigned char key) {
  int before = glrec::framesSwapped;
  keyboard(key, 0, 0);
  return glrec::framesSwapped - before;
}

int pressSpecial(int key) {
  int before = glrec::framesSwapped;
  special(key, 0, 0);
  return glrec::framesSwapped - before;
}
