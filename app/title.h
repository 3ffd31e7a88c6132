// The window's title, in one place: main gives it to the native window, and web/CMakeLists.txt
// reads the quoted string on the #define line below into the page's <title>.
#pragma once

#define WINDOW_TITLE "Fizzgrid -- Quillon Final Project"
