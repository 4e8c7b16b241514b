#include "online/rozid7_start.h"
#include "library/object.h"
