// The include check must find the line below: the seam stands below the file processing.
#include "fs/code_page.h"
#include "fileops/cpy_layout.h"
