// The renderer's window classes and the module they belong to (form_window.cpp).
#pragma once

#include <windows.h>

#include "ui/form.h"

namespace lm::win32 {

// The module set with SetRendererInstance, else the program's own.
HINSTANCE RendererInstance();
// Registers the window classes once: the driver window, the forms, the grid.
void RegisterRendererClasses();
// A class of control windows: double clicks, the arrow cursor, no background.
bool RegisterChildClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure);

// The keyboard (form_keyboard.cpp): whether a control begins a group of
// controls in which the arrow keys move (`previous`: the control before it
// in the form's table that has a window), and the focus given to a control
// as the keyboard gives it (an edit box's text selected).
bool StartsGroup(const ui::Control& control, const ui::Control* previous);
void FocusControl(HWND control);

}  // namespace lm::win32
