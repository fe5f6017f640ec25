#pragma once
// window: Levara's one window and the real dialogs it shows; the levara program
// (main.cpp) puts them together. The package's icon is the window's (staff_icon.h).
#include "window/file_types.h"
#include "window/main_window.h"
#include "window/qt_dialogs.h"
#include "window/staff_icon.h"
#include "window/text_menu.h"
