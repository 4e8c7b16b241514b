#include "tests/e2e/dll_host.h"

int main(int argc, char** argv) {
    return lm::test::RunWithDllPath(argc, argv, "lm_dll_host_calls_tests");
}
