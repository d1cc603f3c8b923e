// The include check must find the line below.
#include "ui/main_dlg.h"
