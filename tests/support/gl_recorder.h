// Recording double for the GL, GLU and GLUT entry points the game calls.
//
// Tests link this library instead of the real GL, GLU and GLUT. Every call is appended to
// glrec::log with its arguments (enums as numbers, pointers to floats expanded, strings in text),
// tagged with the number of frames swapped before it and the display list being compiled. A frame
// ends at glutSwapBuffers. glGenLists hands out 1, 2, 3 ... The registration calls keep the
// callback pointers so tests can check them and drive the game as the toolkit would.
#pragma once

#include <string>
#include <vector>

namespace glrec {

struct Call {
  std::string name;         // the entry point, e.g. "glVertex3f"
  std::vector<double> args; // scalar arguments in order; float arrays expanded in place
  std::string text;         // the string argument of glutCreateWindow
  int frame = 0;            // frames swapped before this call
  unsigned compiling = 0;   // list id being compiled when the call was made, 0 if none
};

extern std::vector<Call> log;
extern int framesSwapped;
extern unsigned long long callCount; // every call, also while logging is off
extern bool logging;                 // false: count calls and frames only, allocate nothing

extern void (*displayFunc)(void);
extern void (*reshapeFunc)(int, int);
extern void (*keyboardFunc)(unsigned char, int, int);
extern void (*specialFunc)(int, int, int);
extern void (*idleFunc)(void);
extern char **initArgv; // the argv that glutInit received, to check it is handed on unchanged

// Clears the log and the counters; the next glGenLists id is kept, as a real context keeps it.
void reset(void);

// The calls named `name`, in order.
std::vector<Call> named(const std::string &name);
// The calls made in frame `frame` (those made before its glutSwapBuffers, the swap included).
std::vector<Call> inFrame(int frame);
// How many logged calls are named `name`.
int count(const std::string &name);
// "glVertex3f(1, 2, 3)", for failure messages.
std::string describe(const Call &call);

} // namespace glrec
