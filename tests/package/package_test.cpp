// Package checks: the Debian package that CPack makes of this build, and an install elsewhere.
//
// One process for the whole suite, so the package is built once: its metadata and file list, its
// dependencies resolved by apt on this system, the game it carries started from an extracted copy,
// its desktop entry validated, and `cmake --install` under another prefix with DESTDIR.
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "x_harness.h"

namespace {

namespace fs = std::filesystem;

struct Result {
  int status; // the command's exit status, or -1 if it did not exit normally
  std::string output;
};

// Runs a shell command with its stderr joined to its stdout.
Result run(const std::string &command) {
  Result result{-1, ""};
  FILE *pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
    result.output.append(buffer, got);
  int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string trimmed(const std::string &text) {
  return text.substr(0, text.find_last_not_of(" \n") + 1);
}

std::string quoted(const fs::path &path) { return "'" + path.string() + "'"; }

std::string readFile(const fs::path &path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// The value of `key=` in a desktop entry, or "" if absent.
std::string entryValue(const std::string &entry, const std::string &key) {
  std::istringstream lines(entry);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
  }
  return "";
}

// Everything installed, relative to the installation prefix, in sorted order.
const char *const installedFiles[] = {
    "bin/fizzgrid",
    "share/applications/fizzgrid.desktop",
    "share/doc/fizzgrid/README.md",
    "share/icons/hicolor/scalable/apps/fizzgrid.svg",
    "share/man/man6/fizzgrid.6",
};

class PackageTest : public ::testing::Test {
protected:
  // A scratch folder and, in it, the package made by cpack from this build's configuration.
  static void SetUpTestSuite() {
    char pattern[] = "/tmp/fizzgrid-package-XXXXXX";
    if (!mkdtemp(pattern)) return; // no package: every test says so
    scratch = pattern;
    Result made = run(std::string(CPACK_COMMAND) + " -G DEB --config " + quoted(CPACK_CONFIG) +
                      " -B " + quoted(scratch));
    cpackOutput = made.output;
    for (const fs::directory_entry &entry : fs::directory_iterator(scratch)) {
      if (entry.path().extension() == ".deb") package = entry.path();
    }
    if (made.status == 0 && !package.empty())
      run("dpkg-deb -x " + quoted(package) + " " + quoted(scratch / "root"));
  }
  static void TearDownTestSuite() {
    if (!scratch.empty()) fs::remove_all(scratch);
  }

  void SetUp() override {
    ASSERT_FALSE(package.empty()) << "cpack made no package:\n" << cpackOutput;
  }

  static std::string field(const std::string &name) {
    return trimmed(run("dpkg-deb -f " + quoted(package) + " " + name).output);
  }

  static fs::path scratch, package;
  static std::string cpackOutput;
};

fs::path PackageTest::scratch, PackageTest::package;
std::string PackageTest::cpackOutput;

TEST_F(PackageTest, ControlFieldsAndRuntimeDependencies) {
  EXPECT_EQ(package.filename().string(),
            "fizzgrid_1.0.0_" + field("Architecture") + ".deb"); // as the README names it
  EXPECT_EQ(field("Package"), "fizzgrid");
  EXPECT_EQ(field("Version"), "1.0.0");
  EXPECT_EQ(field("Section"), "games");
  EXPECT_EQ(field("Architecture"), trimmed(run("dpkg --print-architecture").output));
  EXPECT_EQ(field("Recommends"), "libgl1-mesa-dri");
  // Read off the binary by dpkg-shlibdeps: the C library, GLUT, GLU and GL.
  std::string depends = field("Depends");
  for (const char *library : {"libc6", "libglut", "libglu1", "libopengl0"})
    EXPECT_NE(depends.find(library), std::string::npos) << library << " in " << depends;
}

TEST_F(PackageTest, CarriesTheGameItsDesktopEntryIconManualAndReadme) {
  std::string listing = run("dpkg-deb -c " + quoted(package)).output;
  for (const char *file : installedFiles) {
    EXPECT_NE(listing.find(" ./usr/" + std::string(file) + "\n"), std::string::npos) << file;
  }
  fs::perms mode = fs::status(scratch / "root/usr/bin/fizzgrid").permissions();
  EXPECT_NE(mode & fs::perms::others_exec, fs::perms::none);
}

TEST_F(PackageTest, DependenciesResolveOnThisSystem) {
  Result simulated = run("apt-get install --simulate " + quoted(package));
  EXPECT_EQ(simulated.status, 0) << simulated.output;
  EXPECT_NE(simulated.output.find("Inst fizzgrid "), std::string::npos) << simulated.output;
}

TEST_F(PackageTest, ExtractedGameOpensItsWindowAndQuitsWithQ) {
  xh::XServer server;
  xh::Game game(server, {}, {}, (scratch / "root/usr/bin/fizzgrid").string());
  ASSERT_TRUE(game.waitWindow()) << "no window titled \"" << xh::Game::title << "\"\n"
                                 << game.stderrText();
  // The first frame: the cursor's tile (4, 4) in player 1's red, around pixel (329, 271).
  EXPECT_TRUE(game.waitFrame([](const xh::Image &image) {
    xh::Rgb cursor = image.at(329, 271);
    return image.width == 600 && image.height == 600 && cursor.r >= 150 &&
           cursor.r - cursor.g >= 50;
  }));
  game.tap(XK_q);
  EXPECT_EQ(game.waitExit(), std::optional<int>(0)) << game.stderrText();
}

TEST_F(PackageTest, DesktopEntryIsValidAndFindsTheGameAndItsIcon) {
  fs::path root = scratch / "root";
  fs::path desktop = root / "usr/share/applications/fizzgrid.desktop";
  Result validated = run(std::string(DESKTOP_FILE_VALIDATE) + " " + quoted(desktop));
  EXPECT_EQ(validated.status, 0) << validated.output;
  EXPECT_EQ(validated.output, "");
  std::string entry = readFile(desktop);
  std::string categories = ";" + entryValue(entry, "Categories");
  EXPECT_NE(categories.find(";Game;"), std::string::npos) << categories;
  EXPECT_TRUE(fs::exists(root / "usr/bin" / entryValue(entry, "Exec")));
  EXPECT_TRUE(fs::exists(root / "usr/share/icons/hicolor/scalable/apps" /
                         (entryValue(entry, "Icon") + ".svg")));
}

TEST_F(PackageTest, InstallUnderAnotherPrefixStaysInsideDestdir) {
  fs::path destdir = scratch / "destdir";
  Result installed = run("DESTDIR=" + quoted(destdir) + " " + CMAKE_COMMAND + " --install " +
                         quoted(BUILD_DIR) + " --prefix /opt/fizzgrid");
  ASSERT_EQ(installed.status, 0) << installed.output;
  std::string expected, found;
  for (const char *file : installedFiles)
    expected += std::string("opt/fizzgrid/") + file + "\n";
  std::vector<std::string> files;
  for (const fs::directory_entry &entry : fs::recursive_directory_iterator(destdir)) {
    if (!entry.is_directory()) files.push_back(fs::relative(entry.path(), destdir).string());
  }
  std::sort(files.begin(), files.end());
  for (const std::string &file : files)
    found += file + "\n";
  EXPECT_EQ(found, expected);
}

} // namespace
