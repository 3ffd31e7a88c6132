// A frame's GL calls as data: read from the text that fizzgrid_bench_cpu writes and replayed,
// without the game, into whichever GL the program links (the real one or the recording double).
//
// Stream text, one call per line: the entry point's name, then its arguments as the recording
// double logs them (float arrays expanded), printed so that they read back exactly. A display
// list is named by its tessellation (3, 15 or 100), not by an id, so that a replay can map it to
// a list of its own.
#pragma once

#include <GL/gl.h>
#include <array>
#include <string>
#include <vector>

enum OpCode {
  OP_CLEAR,
  OP_LOAD_IDENTITY,
  OP_LOOK_AT,
  OP_LIGHT,
  OP_MATERIAL,
  OP_BEGIN,
  OP_END,
  OP_NORMAL,
  OP_VERTEX,
  OP_TRANSLATE,
  OP_SCALE,
  OP_GEN_LISTS,
  OP_NEW_LIST,
  OP_END_LIST,
  OP_CALL_LIST,
  OP_FLUSH,
  OP_SWAP,
};

// One call, decoded before timing: enums and list tessellations in e, floats in f.
struct Op {
  OpCode code;
  GLenum e[2];
  GLfloat f[4];
};

struct Stream {
  std::vector<Op> ops;
  std::vector<std::array<GLdouble, 9>> lookAts; // gluLookAt's doubles, in call order
  int builtTessellation = 0;                    // the list the frame builds, 0 if none
};

// The replay's own sphere lists, indexed by tessellation (3, 15, 100). A replayed frame that
// builds a list stores its id here; one that calls a list takes it from here.
extern GLuint replayLists[101];

// Reads one frame's calls. False, with a message on stderr, if the file cannot be read or holds
// a call that a display() frame does not make.
bool loadStream(const std::string &path, Stream &stream);

// Makes the frame's calls, in order, with the recorded arguments.
void replay(const Stream &stream);
