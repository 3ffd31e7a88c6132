// Reading and replaying recorded frame call streams.
#include "call_stream.h"

#include <GL/glu.h>
#include <GL/glut.h>
#include <cstdio>
#include <fstream>
#include <sstream>

// Entry points a display() frame may make, with the count of arguments each is logged with.
static const struct {
  const char *name;
  OpCode code;
  int argCount;
} entryPoints[] = {
    {"glClear", OP_CLEAR, 1},
    {"glLoadIdentity", OP_LOAD_IDENTITY, 0},
    {"gluLookAt", OP_LOOK_AT, 9},
    {"glLightfv", OP_LIGHT, 6},
    {"glMaterialfv", OP_MATERIAL, 6},
    {"glBegin", OP_BEGIN, 1},
    {"glEnd", OP_END, 0},
    {"glNormal3f", OP_NORMAL, 3},
    {"glVertex3f", OP_VERTEX, 3},
    {"glTranslatef", OP_TRANSLATE, 3},
    {"glScalef", OP_SCALE, 3},
    {"glGenLists", OP_GEN_LISTS, 1},
    {"glNewList", OP_NEW_LIST, 2},
    {"glEndList", OP_END_LIST, 0},
    {"glCallList", OP_CALL_LIST, 1},
    {"glFlush", OP_FLUSH, 0},
    {"glutSwapBuffers", OP_SWAP, 0},
};

GLuint replayLists[101];

bool loadStream(const std::string &path, Stream &stream) {
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string name;
    fields >> name;
    std::vector<double> args;
    for (double value; fields >> value;)
      args.push_back(value);
    int entry = 0, entryCount = sizeof entryPoints / sizeof entryPoints[0];
    while (entry < entryCount && name != entryPoints[entry].name)
      entry++;
    if (entry == entryCount || (int)args.size() != entryPoints[entry].argCount) {
      std::fprintf(stderr, "%s: cannot replay: %s\n", path.c_str(), line.c_str());
      return false;
    }
    Op op = {entryPoints[entry].code, {0, 0}, {0, 0, 0, 0}};
    if ((op.code == OP_CALL_LIST || op.code == OP_NEW_LIST) &&
        !(args[0] == 3 || args[0] == 15 || args[0] == 100)) {
      std::fprintf(stderr, "%s: unknown display list: %s\n", path.c_str(), line.c_str());
      return false;
    }
    if (op.code == OP_LOOK_AT) {
      std::array<GLdouble, 9> lookAt;
      for (int i = 0; i < 9; i++)
        lookAt[i] = args[i];
      stream.lookAts.push_back(lookAt);
    } else if (op.code == OP_LIGHT || op.code == OP_MATERIAL) {
      op.e[0] = (GLenum)args[0];
      op.e[1] = (GLenum)args[1];
      for (int i = 0; i < 4; i++)
        op.f[i] = (GLfloat)args[2 + i];
    } else if (op.code == OP_NORMAL || op.code == OP_VERTEX || op.code == OP_TRANSLATE ||
               op.code == OP_SCALE) {
      for (int i = 0; i < 3; i++)
        op.f[i] = (GLfloat)args[i];
    } else {
      for (size_t i = 0; i < args.size(); i++)
        op.e[i] = (GLenum)args[i];
    }
    if (op.code == OP_NEW_LIST) stream.builtTessellation = (int)op.e[0];
    stream.ops.push_back(op);
  }
  return !stream.ops.empty();
}

void replay(const Stream &stream) {
  const std::array<GLdouble, 9> *lookAt = stream.lookAts.data();
  GLuint generated = 0;
  for (const Op &op : stream.ops) {
    switch (op.code) {
    case OP_CLEAR:
      glClear(op.e[0]);
      break;
    case OP_LOAD_IDENTITY:
      glLoadIdentity();
      break;
    case OP_LOOK_AT: {
      const GLdouble *d = (lookAt++)->data();
      gluLookAt(d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7], d[8]);
      break;
    }
    case OP_LIGHT:
      glLightfv(op.e[0], op.e[1], op.f);
      break;
    case OP_MATERIAL:
      glMaterialfv(op.e[0], op.e[1], op.f);
      break;
    case OP_BEGIN:
      glBegin(op.e[0]);
      break;
    case OP_END:
      glEnd();
      break;
    case OP_NORMAL:
      glNormal3f(op.f[0], op.f[1], op.f[2]);
      break;
    case OP_VERTEX:
      glVertex3f(op.f[0], op.f[1], op.f[2]);
      break;
    case OP_TRANSLATE:
      glTranslatef(op.f[0], op.f[1], op.f[2]);
      break;
    case OP_SCALE:
      glScalef(op.f[0], op.f[1], op.f[2]);
      break;
    case OP_GEN_LISTS:
      generated = glGenLists((GLsizei)op.e[0]);
      break;
    case OP_NEW_LIST:
      replayLists[op.e[0]] = generated;
      glNewList(generated, op.e[1]);
      break;
    case OP_END_LIST:
      glEndList();
      break;
    case OP_CALL_LIST:
      glCallList(replayLists[op.e[0]]);
      break;
    case OP_FLUSH:
      glFlush();
      break;
    case OP_SWAP:
      glutSwapBuffers();
      break;
    }
  }
}
