// The GPU side of the back-end: GL 1.1's per-vertex lighting as a WebGL vertex shader, the draws
// that fixed_function.cpp builds handed to WebGL, and the GL calls that reach WebGL themselves.
#include "webgl.h"

#include <GL/gl.h>
#include <cstring>
#include <emscripten/html5.h>
#include <map>
#include <webgl/webgl1.h>

namespace {

// GL 1.1's lighting equation for one vertex as the game lights it: light 0 alone, at a point (w
// not 0), with GL's default colours (no ambient, white diffuse and specular); the light model's
// global ambient 0.2; a viewer at infinity along +z; no two-sided lighting; GL_NORMALIZE on; no
// emission; shininess 0, so the specular term is the material's whole specular colour wherever
// the light reaches the face, as Mesa draws it (0 to the power 0 is 1). In single precision, yet
// not Mesa's own arithmetic: measured on the README's pictures, the board's faces come within 1
// level of Mesa's, the winner's sphere's shading 2 to 8 levels off in places. The uniforms are
// the 15 vec4s of fixedgl::Uniforms.
const char *vertexShader = R"(
attribute vec3 position;
attribute vec3 normal;
uniform vec4 u[15];
varying vec4 shade;
void main() {
  vec4 object = vec4(position, 1.0);
  gl_Position = mat4(u[0], u[1], u[2], u[3]) * object;
  vec3 n = mat3(u[8].xyz, u[9].xyz, u[10].xyz) * normal;
  if (dot(n, n) > 0.0) n = normalize(n);
  vec3 toLight = u[11].xyz / u[11].w - (mat4(u[4], u[5], u[6], u[7]) * object).xyz;
  if (dot(toLight, toLight) > 0.0) toLight = normalize(toLight);
  float diffuse = max(dot(n, toLight), 0.0);
  vec3 lit = diffuse * u[13].xyz + (diffuse > 0.0 ? u[14].xyz : vec3(0.0));
  shade = vec4(clamp(0.2 * u[12].xyz + lit, 0.0, 1.0), 1.0);
}
)";
const char *fragmentShader = "precision mediump float;\n"
                             "varying vec4 shade;\n"
                             "void main() { gl_FragColor = shade; }\n";
static_assert(sizeof(fixedgl::Uniforms) == 15 * 4 * sizeof(float), "the shader's 15 vec4s");

// A mesh's copy on the GPU.
struct Held {
  GLuint vertices, indices;
  unsigned long version; // of the mesh it holds
};

// Everything the back-end keeps on the GPU, made on the first draw (the toolkit has made the
// context current by then) and again after remakeGpuObjects.
struct Gpu {
  GLuint program = 0;
  GLint uniforms;
  std::map<GLuint, Held> meshes;
  GLuint bound = ~0u;         // the mesh the attributes read, none yet
  bool uniformsKnown = false; // whether `last` holds what the program has
  fixedgl::Uniforms last;
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
  // Meshes are drawn by 32-bit indices. A context restored after a loss comes back with no
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
  gpu.uniforms = emscripten_glGetUniformLocation(program, "u");
  emscripten_glEnableVertexAttribArray(0);
  emscripten_glEnableVertexAttribArray(1);
  gpu.program = program;
}

// The mesh's buffers bound for the attributes and indices, its vertices and indices sent first
// when the GPU's copy is stale (mesh 0 at every hand-off that draws from it, a list once per
// recording).
void bindMesh(GLuint number) {
  Held &held = gpu.meshes[number];
  const fixedgl::Mesh &mesh = fixedgl::mesh(number);
  bool stale = held.version != mesh.version;
  if (number == gpu.bound && !stale) return;
  if (held.vertices == 0) {
    emscripten_glGenBuffers(1, &held.vertices);
    emscripten_glGenBuffers(1, &held.indices);
  }
  emscripten_glBindBuffer(GL_ARRAY_BUFFER, held.vertices);
  emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, held.indices);
  if (stale) {
    GLenum usage = number == 0 ? GL_STREAM_DRAW : GL_STATIC_DRAW;
    emscripten_glBufferData(GL_ARRAY_BUFFER, mesh.vertices.size() * sizeof(fixedgl::Vertex),
                            mesh.vertices.data(), usage);
    emscripten_glBufferData(GL_ELEMENT_ARRAY_BUFFER, mesh.indices.size() * sizeof(GLuint),
                            mesh.indices.data(), usage);
    held.version = mesh.version;
  }
  const GLsizei stride = sizeof(fixedgl::Vertex);
  emscripten_glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, (const void *)0);
  emscripten_glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride,
                                   (const void *)sizeof(float[3]));
  gpu.bound = number;
}

void notInList(const char *call) {
  if (fixedgl::recordingList()) fixedgl::unsupported(call, " inside a display list");
}

} // namespace

void fixedgl::drawPending(void) {
  if (pendingDraws().empty()) return;
  prepare();
  for (const Draw &draw : pendingDraws()) {
    bindMesh(draw.mesh);
    if (!gpu.uniformsKnown || std::memcmp(&draw.uniforms, &gpu.last, sizeof gpu.last) != 0)
      emscripten_glUniform4fv(gpu.uniforms, 15, draw.uniforms.modelviewProjection);
    gpu.last = draw.uniforms;
    gpu.uniformsKnown = true;
    // 32-bit indices: OES_element_index_uint, asked for in prepare
    emscripten_glDrawElements(GL_TRIANGLES, (GLsizei)draw.count, GL_UNSIGNED_INT,
                              (const void *)(draw.first * sizeof(GLuint)));
  }
  clearPending();
}

void fixedgl::remakeGpuObjects(void) {
  // The lost context took every object with it: nothing to delete, only to forget.
  gpu = Gpu();
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
  notInList("glClearColor");
  clearColour[0] = red;
  clearColour[1] = green;
  clearColour[2] = blue;
  clearColour[3] = alpha;
  emscripten_glClearColor(red, green, blue, alpha);
}

void glClear(GLbitfield mask) {
  notInList("glClear");
  if ((mask & ~(GLbitfield)(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT)) != 0)
    fixedgl::unsupported("glClear: a buffer other than colour and depth");
  fixedgl::drawPending();
  emscripten_glClear(mask);
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  notInList("glViewport");
  fixedgl::drawPending(); // what was drawn so far belongs to the old viewport
  emscripten_glViewport(x, y, width, height);
  viewport[0] = x;
  viewport[1] = y;
  viewport[2] = width;
  viewport[3] = height;
}

void glEnable(GLenum capability) {
  notInList("glEnable");
  if (fixedgl::enableFixedFunction(capability)) return;
  if (capability != GL_DEPTH_TEST) fixedgl::unsupported("glEnable: an unknown capability");
  fixedgl::drawPending();
  depthTest = true;
  emscripten_glEnable(capability); // GL's default depth function, GL_LESS, is WebGL's too
}

// GL runs it at once, in a list too. The frame goes to WebGL at glutSwapBuffers (swap.cpp), as a
// native swap shows it: a flush itself shows nothing, and a page that drew here would show half
// frames.
void glFlush() {}
