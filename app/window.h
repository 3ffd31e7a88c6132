// The window's title and size, in one place: main gives them to the native window, and the page,
// the benchmarks and the tests read the #define lines below (the quoted string, the number).
#pragma once

#define WINDOW_TITLE "Fizzgrid -- Quillon Final Project"
#define WINDOW_SIZE 600 // pixels, width and height alike
