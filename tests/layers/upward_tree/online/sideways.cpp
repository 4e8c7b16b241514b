#include "dialogs/object_dialog.h"
#include "exports/netlist.h"
