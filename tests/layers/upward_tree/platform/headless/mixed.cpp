#include "platform/win32/win32_platform.h"
