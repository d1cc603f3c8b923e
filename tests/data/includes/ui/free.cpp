// Allowed: the window layer includes what it likes.
#include <windows.h>
#include "ui/main_dlg.h"
