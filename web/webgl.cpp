// The GPU side of the back-end: GL 1.1's per-vertex lighting as a WebGL vertex shader, the draws
// that fixed_function.cpp builds handed to WebGL, and the GL calls that reach WebGL themselves.
#include <GL/gl.h>
#include <cstring>
#include <emscripten/html5.h>
#include <map>
#include <webgl/webgl1.h>

#include "fixed_function.h"

namespace {

// GL 1.1's lighting equation for one vertex, light 0 only, a viewer at infinity along +z and no
// two-sided lighting, in single precision as Mesa computes it. The uniforms are packed in vec4s
// so that each group is one call: matrices (projection times modelview, modelview, normal
// matrix's columns), light (eye-space position; ambient, diffuse, specular; the model's global
// ambient) and material (ambient and alpha; diffuse and shininess; specular and light 0 on;
// emission and GL_NORMALIZE on).
const char *vertexShader = R"(
attribute vec3 position;
attribute vec3 normal;
uniform vec4 matrices[11];
uniform vec4 light[5];
uniform vec4 material[4];
varying vec4 shade;
void main() {
  vec4 object = vec4(position, 1.0);
  gl_Position = mat4(matrices[0], matrices[1], matrices[2], matrices[3]) * object;
  vec3 colour = material[3].xyz + light[4].xyz * material[0].xyz;
  if (material[2].w != 0.0) {
    vec3 n = mat3(matrices[8].xyz, matrices[9].xyz, matrices[10].xyz) * normal;
    if (material[3].w != 0.0 && dot(n, n) > 0.0) n = normalize(n);
    vec3 eye = (mat4(matrices[4], matrices[5], matrices[6], matrices[7]) * object).xyz;
    vec3 toLight = light[0].w != 0.0 ? light[0].xyz / light[0].w - eye : light[0].xyz;
    if (dot(toLight, toLight) > 0.0) toLight = normalize(toLight);
    float diffuse = dot(n, toLight);
    float specular = 0.0;
    if (diffuse > 0.0) {
      float nh = max(dot(n, normalize(toLight + vec3(0.0, 0.0, 1.0))), 0.0);
      // pow(x, 0) is 1 for every x, 0 included, as Mesa draws shininess 0.
      specular = material[1].w == 0.0 ? 1.0 : nh > 0.0 ? pow(nh, material[1].w) : 0.0;
    } else {
      diffuse = 0.0;
    }
    colour += light[1].xyz * material[0].xyz + diffuse * light[2].xyz * material[1].xyz +
              specular * light[3].xyz * material[2].xyz;
  }
  shade = vec4(clamp(colour, 0.0, 1.0), material[0].w);
}
)";
const char *fragmentShader = "precision mediump float;\n"
                             "varying vec4 shade;\n"
                             "void main() { gl_FragColor = shade; }\n";

// The uniform groups as the shader takes them.
struct Packed {
  float matrices[44], light[20], material[16];
};

void pack(const fixedgl::Uniforms &u, Packed &p) {
  std::memset(&p, 0, sizeof p);
  std::memcpy(p.matrices, u.modelviewProjection, sizeof u.modelviewProjection);
  std::memcpy(p.matrices + 16, u.modelview, sizeof u.modelview);
  for (int column = 0; column < 3; column++)
    std::memcpy(p.matrices + 32 + 4 * column, u.normalMatrix + 3 * column, sizeof(float[3]));
  std::memcpy(p.light, u.lightPosition, sizeof u.lightPosition);
  const float *lightColours[4] = {u.lightAmbient, u.lightDiffuse, u.lightSpecular, u.globalAmbient};
  for (int k = 0; k < 4; k++)
    std::memcpy(p.light + 4 + 4 * k, lightColours[k], sizeof(float[3]));
  const float *colours[4] = {u.ambient, u.diffuse, u.specular, u.emission};
  const float extra[4] = {u.alpha, u.shininess, u.light0, u.normalize};
  for (int k = 0; k < 4; k++) {
    std::memcpy(p.material + 4 * k, colours[k], sizeof(float[3]));
    p.material[4 * k + 3] = extra[k];
  }
}

struct ListBuffer {
  GLuint buffer, indices;
  unsigned long version; // of the recording they hold
};

// Everything the back-end keeps on the GPU, made on the first draw (the toolkit has made the
// context current by then) and again after remakeGpuObjects.
struct Gpu {
  GLuint program = 0;
  GLuint frameVertices = 0; // each frame's immediate-mode vertices
  GLint matrices, light, material;
  std::map<GLuint, ListBuffer> lists;
  GLuint bound = 0;           // the buffer the attributes read, 0 when unknown
  GLuint boundIndices = 0;    // the index buffer bound, 0 when unknown
  bool uniformsKnown = false; // whether `uniforms` holds what the program has
  Packed uniforms;
} gpu;

// The GL state given so far, kept to give it again to a restored context, which starts afresh.
int viewport[4];
GLclampf clearColour[4];
bool depthTest;

GLuint compile(GLenum kind, const char *source) {
  GLuint shader = emscripten_glCreateShader(kind);
  emscripten_glShaderSource(shader, 1, &source, nullptr);
  emscripten_glCompileShader(shader);
  GLint compiled = 0;
  emscripten_glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
  if (!compiled) fixedgl::unsupported("WebGL refused the shader");
  return shader;
}

void prepare(void) {
  if (gpu.program != 0) return;
  // Lists are drawn by 32-bit indices. A context restored after a loss comes back with no
  // extension enabled, so it is asked for here, on every context the program is made on.
  if (!emscripten_webgl_enable_extension(emscripten_webgl_get_current_context(),
                                         "OES_element_index_uint"))
    fixedgl::unsupported("WebGL without 32-bit indices (OES_element_index_uint)");
  GLuint program = emscripten_glCreateProgram();
  emscripten_glAttachShader(program, compile(GL_VERTEX_SHADER, vertexShader));
  emscripten_glAttachShader(program, compile(GL_FRAGMENT_SHADER, fragmentShader));
  emscripten_glBindAttribLocation(program, 0, "position");
  emscripten_glBindAttribLocation(program, 1, "normal");
  emscripten_glLinkProgram(program);
  GLint linked = 0;
  emscripten_glGetProgramiv(program, GL_LINK_STATUS, &linked);
  if (!linked) fixedgl::unsupported("WebGL refused the shader program");
  emscripten_glUseProgram(program);
  gpu.matrices = emscripten_glGetUniformLocation(program, "matrices");
  gpu.light = emscripten_glGetUniformLocation(program, "light");
  gpu.material = emscripten_glGetUniformLocation(program, "material");
  emscripten_glGenBuffers(1, &gpu.frameVertices);
  emscripten_glEnableVertexAttribArray(0);
  emscripten_glEnableVertexAttribArray(1);
  gpu.program = program;
}

void readFrom(GLuint buffer) {
  if (buffer == gpu.bound) return;
  emscripten_glBindBuffer(GL_ARRAY_BUFFER, buffer);
  const GLsizei stride = sizeof(fixedgl::Vertex);
  emscripten_glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, (const void *)0);
  emscripten_glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride,
                                   (const void *)sizeof(float[3]));
  gpu.bound = buffer;
}

// The list's buffers, its vertices and indices sent once per recording; its indices bound.
GLuint listBuffer(GLuint list) {
  unsigned long version = 0;
  const std::vector<GLuint> *indices = nullptr;
  const std::vector<fixedgl::Vertex> *vertices = fixedgl::listVertices(list, &indices, &version);
  if (vertices == nullptr) fixedgl::unsupported("a draw of a list that is gone");
  ListBuffer &held = gpu.lists[list];
  if (held.buffer == 0) {
    emscripten_glGenBuffers(1, &held.buffer);
    emscripten_glGenBuffers(1, &held.indices);
  }
  if (held.indices != gpu.boundIndices) {
    emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, held.indices);
    gpu.boundIndices = held.indices;
  }
  if (held.version != version) {
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, held.buffer);
    gpu.bound = 0; // bound, but the attributes still read the buffer before
    emscripten_glBufferData(GL_ARRAY_BUFFER, vertices->size() * sizeof(fixedgl::Vertex),
                            vertices->data(), GL_STATIC_DRAW);
    emscripten_glBufferData(GL_ELEMENT_ARRAY_BUFFER, indices->size() * sizeof(GLuint),
                            indices->data(), GL_STATIC_DRAW);
    held.version = version;
  }
  return held.buffer;
}

// Frees the buffers of lists deleted since (the benchmark page deletes its rebuilt lists).
void forgetDeletedLists(void) {
  unsigned long version;
  const std::vector<GLuint> *indices;
  for (auto held = gpu.lists.begin(); held != gpu.lists.end();) {
    if (fixedgl::listVertices(held->first, &indices, &version) != nullptr) {
      ++held;
      continue;
    }
    emscripten_glDeleteBuffers(1, &held->second.buffer);
    emscripten_glDeleteBuffers(1, &held->second.indices);
    if (gpu.bound == held->second.buffer) gpu.bound = 0;
    if (gpu.boundIndices == held->second.indices) gpu.boundIndices = 0;
    held = gpu.lists.erase(held);
  }
}

void setUniforms(const fixedgl::Uniforms &u) {
  Packed p;
  pack(u, p);
  bool known = gpu.uniformsKnown;
  if (!known || std::memcmp(p.matrices, gpu.uniforms.matrices, sizeof p.matrices) != 0)
    emscripten_glUniform4fv(gpu.matrices, 11, p.matrices);
  if (!known || std::memcmp(p.light, gpu.uniforms.light, sizeof p.light) != 0)
    emscripten_glUniform4fv(gpu.light, 5, p.light);
  if (!known || std::memcmp(p.material, gpu.uniforms.material, sizeof p.material) != 0)
    emscripten_glUniform4fv(gpu.material, 4, p.material);
  gpu.uniforms = p;
  gpu.uniformsKnown = true;
}

void notInList(const char *call) {
  if (fixedgl::recordingList()) fixedgl::unsupported(call);
}

} // namespace

void fixedgl::drawPending(void) {
  const std::vector<Draw> &draws = pendingDraws();
  if (draws.empty()) return;
  prepare();
  forgetDeletedLists();
  const std::vector<Vertex> &vertices = pendingVertices();
  if (!vertices.empty()) {
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, gpu.frameVertices);
    gpu.bound = 0;
    emscripten_glBufferData(GL_ARRAY_BUFFER, vertices.size() * sizeof(Vertex), vertices.data(),
                            GL_STREAM_DRAW);
  }
  for (const Draw &draw : draws) {
    readFrom(draw.list == 0 ? gpu.frameVertices : listBuffer(draw.list));
    setUniforms(draw.uniforms);
    if (draw.list == 0)
      emscripten_glDrawArrays(GL_TRIANGLES, (GLint)draw.first, (GLsizei)draw.count);
    else // 32-bit indices: OES_element_index_uint, asked for in prepare
      emscripten_glDrawElements(GL_TRIANGLES, (GLsizei)draw.count, GL_UNSIGNED_INT,
                                (const void *)(draw.first * sizeof(GLuint)));
  }
  clearPending();
}

void fixedgl::remakeGpuObjects(void) {
  // The lost context took every object with it: nothing to delete, only to forget.
  gpu.program = gpu.frameVertices = gpu.bound = gpu.boundIndices = 0;
  gpu.lists.clear();
  gpu.uniformsKnown = false;
  prepare();
  emscripten_glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
  if (depthTest) emscripten_glEnable(GL_DEPTH_TEST);
  emscripten_glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
}

void fixedgl::frameMatrices(float modelview[16], float projection[16], int viewportNow[4]) {
  currentMatrices(modelview, projection);
  std::memcpy(viewportNow, viewport, sizeof viewport);
}

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
  notInList("glClearColor inside a display list");
  clearColour[0] = red;
  clearColour[1] = green;
  clearColour[2] = blue;
  clearColour[3] = alpha;
  emscripten_glClearColor(red, green, blue, alpha);
}

void glClear(GLbitfield mask) {
  notInList("glClear inside a display list");
  if ((mask & ~(GLbitfield)(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT)) != 0)
    fixedgl::unsupported("glClear: a buffer other than colour and depth");
  fixedgl::drawPending();
  emscripten_glClear(mask);
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  notInList("glViewport inside a display list");
  fixedgl::drawPending(); // what was drawn so far belongs to the old viewport
  emscripten_glViewport(x, y, width, height);
  viewport[0] = x;
  viewport[1] = y;
  viewport[2] = width;
  viewport[3] = height;
}

static void enable(GLenum capability, bool on) {
  if (fixedgl::enableFixedFunction(capability, on)) return;
  if (capability != GL_DEPTH_TEST)
    fixedgl::unsupported("glEnable/glDisable: an unknown capability");
  fixedgl::drawPending();
  depthTest = on;
  // GL's default depth function, GL_LESS, is WebGL's too.
  if (on)
    emscripten_glEnable(capability);
  else
    emscripten_glDisable(capability);
}

void glEnable(GLenum capability) {
  notInList("glEnable inside a display list");
  enable(capability, true);
}

void glDisable(GLenum capability) {
  notInList("glDisable inside a display list");
  enable(capability, false);
}

// The frame goes to WebGL at glutSwapBuffers (swap.cpp), as a native swap shows it: a flush
// itself shows nothing, and a page that drew here would show half frames.
void glFlush() { notInList("glFlush inside a display list"); }

void glFinish() {
  notInList("glFinish inside a display list");
  fixedgl::drawPending();
  emscripten_glFinish();
}

// GL 1.1 calls of the same names as WebGL's, which would otherwise reach WebGL and change what it
// draws behind the back-end's back (culling, blending, a depth function of their own ...): none
// of the game's, so each ends the program rather than draw something else than GL would.
#define LOUD(call, parameters)                                                                     \
  void call parameters { fixedgl::unsupported(#call " is not supported"); }
LOUD(glCullFace, (GLenum))
LOUD(glFrontFace, (GLenum))
LOUD(glDepthFunc, (GLenum))
LOUD(glDepthMask, (GLboolean))
LOUD(glBlendFunc, (GLenum, GLenum))
LOUD(glColorMask, (GLboolean, GLboolean, GLboolean, GLboolean))
LOUD(glLineWidth, (GLfloat))
LOUD(glPolygonOffset, (GLfloat, GLfloat))
LOUD(glScissor, (GLint, GLint, GLsizei, GLsizei))
LOUD(glHint, (GLenum, GLenum))
LOUD(glStencilFunc, (GLenum, GLint, GLuint))
LOUD(glStencilOp, (GLenum, GLenum, GLenum))
LOUD(glClearDepth, (GLclampd))
LOUD(glClearStencil, (GLint))
LOUD(glDrawArrays, (GLenum, GLint, GLsizei))
LOUD(glDrawElements, (GLenum, GLsizei, GLenum, const GLvoid *))
LOUD(glBindTexture, (GLenum, GLuint))
LOUD(glTexImage2D, (GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const GLvoid *))
LOUD(glTexParameteri, (GLenum, GLenum, GLint))
