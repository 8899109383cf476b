#pragma once
// How the window's worker threads ask for a repaint: they are handed the window and a function
// that invalidates it, so that all drawing stays on the user-interface thread. Platform-free.
using WindowRepaint = void (*)(void* window);
