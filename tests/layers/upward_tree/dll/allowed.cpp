#include "platform/win32/win32_platform.h"
#include "platform/headless/headless_platform.h"
