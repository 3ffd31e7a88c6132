// The GL calls that reach WebGL (clear, viewport, depth test, flush), and the one shader pair that
// draws the lit triangles of fixed_function.cpp.
#include <GL/gl.h>
#include <webgl/webgl1.h>

#include "fixed_function.h"

namespace {

// Positions come in clip space and colours already lit, so the shaders only pass them through;
// the rasteriser interpolates the colours (Gouraud).
const char *vertexShader = "attribute vec4 position;\n"
                           "attribute vec4 colour;\n"
                           "varying vec4 shade;\n"
                           "void main() { gl_Position = position; shade = colour; }\n";
const char *fragmentShader = "precision mediump float;\n"
                             "varying vec4 shade;\n"
                             "void main() { gl_FragColor = shade; }\n";

GLuint compile(GLenum kind, const char *source) {
  GLuint shader = emscripten_glCreateShader(kind);
  emscripten_glShaderSource(shader, 1, &source, nullptr);
  emscripten_glCompileShader(shader);
  GLint compiled = 0;
  emscripten_glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
  if (!compiled) fixedgl::unsupported("WebGL refused the shader");
  return shader;
}

// Made on the first draw, once the toolkit has made the context current, and again after the
// context is restored.
GLuint buffer;
// The GL state given so far, kept to give it again to a restored context.
GLclampf clearColour[4];
bool depthTest;
GLint viewport[4];
// Triangles handed to WebGL since the start, for a page or a test to read (trianglesDrawn).
unsigned long drawnTriangles;

void prepare(void) {
  if (buffer != 0) return;
  GLuint program = emscripten_glCreateProgram();
  emscripten_glAttachShader(program, compile(GL_VERTEX_SHADER, vertexShader));
  emscripten_glAttachShader(program, compile(GL_FRAGMENT_SHADER, fragmentShader));
  emscripten_glBindAttribLocation(program, 0, "position");
  emscripten_glBindAttribLocation(program, 1, "colour");
  emscripten_glLinkProgram(program);
  GLint linked = 0;
  emscripten_glGetProgramiv(program, GL_LINK_STATUS, &linked);
  if (!linked) fixedgl::unsupported("WebGL refused the shader program");
  emscripten_glUseProgram(program);
  emscripten_glGenBuffers(1, &buffer);
  emscripten_glBindBuffer(GL_ARRAY_BUFFER, buffer);
  const GLsizei stride = sizeof(fixedgl::Vertex);
  emscripten_glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, stride, (const void *)0);
  emscripten_glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, stride,
                                   (const void *)sizeof(float[4]));
  emscripten_glEnableVertexAttribArray(0);
  emscripten_glEnableVertexAttribArray(1);
}

// Draws the triangles lit so far in one call, in the order given.
void drawPending(void) {
  std::vector<fixedgl::Vertex> &triangles = fixedgl::pendingTriangles();
  if (triangles.empty()) return;
  prepare();
  emscripten_glBufferData(GL_ARRAY_BUFFER, triangles.size() * sizeof(fixedgl::Vertex),
                          triangles.data(), GL_STREAM_DRAW);
  emscripten_glDrawArrays(GL_TRIANGLES, 0, (GLsizei)triangles.size());
  drawnTriangles += triangles.size() / 3;
  triangles.clear();
}

void notInList(const char *call) {
  if (fixedgl::recordingList()) fixedgl::unsupported(call);
}

} // namespace

unsigned long fixedgl::trianglesDrawn(void) { return drawnTriangles; }

void fixedgl::remakeGpuObjects(void) {
  buffer = 0; // the lost context took the program and buffer with it
  prepare();
  emscripten_glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
  if (depthTest) emscripten_glEnable(GL_DEPTH_TEST);
  emscripten_glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
}

void fixedgl::frameMatrices(float modelview[16], float projection[16], int viewportNow[4]) {
  currentMatrices(modelview, projection);
  for (int k = 0; k < 4; k++)
    viewportNow[k] = viewport[k];
}

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
  notInList("glClearColor inside a display list");
  clearColour[0] = red, clearColour[1] = green, clearColour[2] = blue, clearColour[3] = alpha;
  emscripten_glClearColor(red, green, blue, alpha);
}

void glClear(GLbitfield mask) {
  notInList("glClear inside a display list");
  if ((mask & ~(GLbitfield)(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT)) != 0)
    fixedgl::unsupported("glClear: a buffer other than colour and depth");
  drawPending();
  emscripten_glClear(mask);
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  notInList("glViewport inside a display list");
  drawPending(); // what was lit so far belongs to the old viewport
  viewport[0] = x, viewport[1] = y, viewport[2] = width, viewport[3] = height;
  emscripten_glViewport(x, y, width, height);
}

void glEnable(GLenum capability) {
  notInList("glEnable inside a display list");
  if (fixedgl::enableFixedFunction(capability, true)) return;
  if (capability != GL_DEPTH_TEST) fixedgl::unsupported("glEnable: an unsupported capability");
  drawPending();
  depthTest = true;
  emscripten_glEnable(capability); // GL's default depth function, GL_LESS, is WebGL's too
}

void glFlush() {
  notInList("glFlush inside a display list");
  drawPending();
  emscripten_glFlush();
}
