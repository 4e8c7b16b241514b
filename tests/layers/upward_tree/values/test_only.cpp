#include "tests/support/fake_platform.h"
