// The wired main window's tests share the main window's fixture.
#pragma once

#include "tests/gui/main_window_fixture.h"
