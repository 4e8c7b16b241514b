#include "platform/win32/win32_platform.h"
#include <windows.h>
#include "settings/unmade.h"
