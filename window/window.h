#pragma once
// window: Levara's one window and the real dialogs it shows; the levara program
// (main.cpp) puts them together.
#include "window/main_window.h"
#include "window/qt_dialogs.h"
