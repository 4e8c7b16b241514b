// The renderer's window classes and the module they belong to (form_window.cpp).
#pragma once

#include <windows.h>

namespace lm::win32 {

// The module set with SetRendererInstance, else the program's own.
HINSTANCE RendererInstance();
// Registers the window classes once: the driver window, the forms, the grid.
void RegisterRendererClasses();

}  // namespace lm::win32
