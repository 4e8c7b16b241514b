#include "exports/netlist.h"
#include "online/run.h"
#include "frame/entry.h"
