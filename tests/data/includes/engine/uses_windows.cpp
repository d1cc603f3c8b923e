// The include check must find both lines below.
#include <vector>
#include <Windows.h>
#include "platform/registry_key.h"
