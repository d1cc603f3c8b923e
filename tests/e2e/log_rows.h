#pragma once
// The log's rows as the screen shows them. The log is an owner-drawn list
// that keeps its texts inside the program, so from outside only the colour a
// row is drawn in tells an error row from a message row.

#include <windows.h>

// How many of the list's rows show the error colour. Each row is scrolled
// into view and read back from the screen, with the window kept on top
// meanwhile; the list is left scrolled to its top row.
int CountErrorRows(HWND list);
