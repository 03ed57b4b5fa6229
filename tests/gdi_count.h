// Counting the GDI objects of this process.
#pragma once

#include <windows.h>

// The process's GDI objects in use, comparable between two moments of one process.
long CountGdiObjects();
