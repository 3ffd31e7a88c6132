# Package lists shared by the scripts (sourced, not run).
# To build and run the game: a compiler, CMake, and the GL/GLU/GLUT development files. The Mesa
# DRI package brings the software renderer for machines without a GPU driver.
BUILD_PACKAGES=(g++ make cmake pkg-config freeglut3-dev libglu1-mesa-dev libgl1-mesa-dev
  libx11-dev libgl1-mesa-dri)
# To build the game as one web page (scripts/web.sh): Emscripten (it brings its own clang, node and
# the node modules it runs), CMake and make; base64 (coreutils) inlines the icon; rsvg-convert
# draws the published site's icons.
WEB_PACKAGES=(emscripten cmake make librsvg2-bin)
# To serve the site on the local network (scripts/serve.sh): Python's HTTP server, and qrencode for
# the QR code of its address.
SERVE_PACKAGES=(python3 qrencode)
# To make the Debian package (cpack -G DEB fetches them itself): dpkg-shlibdeps and file, with which
# CPack reads the package's dependencies off the binary.
PACKAGE_PACKAGES=(dpkg-dev file)
# For the benchmark and screenshot programs: Google Benchmark, libpng, and an X server to draw in.
BENCH_PACKAGES=(libbenchmark-dev libpng-dev xvfb)
# To play the page in a browser for the web tests and the browser benchmarks: Debian's Chromium,
# which draws WebGL in software (SwiftShader) where there is no GPU, driven through its WebDriver
# by Python's Selenium, with Pillow to read its screenshots.
BROWSER_PACKAGES=(chromium chromium-driver python3-selenium python3-pil)
# To run the tests: GoogleTest and the benchmark programs' packages (the tests run those programs
# briefly); for the end-to-end tests xdotool to send real key events (XTEST), ImageMagick to read
# and compare the window's pixels, xprop and glxinfo to read its properties and visual, Python's
# Xlib to play a window manager's part and rsvg-convert to draw the icon's artwork again;
# for the package checks the packaging tools, the validators of the desktop entry, the AppStream
# metadata, the manual page and the Debian package, a software centre's catalogue builder and the
# SVG loader with which it draws the icon, hardening-check (devscripts), and gio to start the game
# from its menu entry; for the web tests the browser's packages, and for the site's test serve.sh's,
# zbarimg to read its QR code and ip to bring up the loopback of the test's own network.
TEST_PACKAGES=(libgtest-dev "${BENCH_PACKAGES[@]}" "${BROWSER_PACKAGES[@]}" xdotool imagemagick x11-utils mesa-utils
  python3-xlib librsvg2-bin "${PACKAGE_PACKAGES[@]}" desktop-file-utils appstream appstream-compose
  mandoc lintian librsvg2-common devscripts libglib2.0-bin "${SERVE_PACKAGES[@]}" zbar-tools
  iproute2)
# For the sanitizer and fuzzing stages of the tests: clang and its runtimes (AddressSanitizer,
# UndefinedBehaviorSanitizer, libFuzzer).
SANITIZER_PACKAGES=(clang libclang-rt-dev)
