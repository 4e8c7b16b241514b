#include "base/cp1250.h"
#include "frame/entry.h"
