// lmcheck: checks a driver directory with the driver's own parsers and prints
// every problem as compilers do, FILE:LINE:COL: error|warning: TEXT.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "tools/lmcheck/check_driver_dir.h"

namespace {

constexpr const char kUsage[] =
    "usage: lmcheck DRIVERDIR [--json] [--strict] [--all]\n"
    "\n"
    "Reads STARTUP.INI, TOOLS.INI and every object file it names, SETCOM.INI and\n"
    "profiles.ini with the KADEX driver's own parsers and reports every problem,\n"
    "one a line:\n"
    "  FILE:LINE:COL: error: DRIVER'S MESSAGE -- EXPLANATION [code]\n"
    "errors first, then warnings; then a summary line: the objects and tools\n"
    "the driver loads and, when it stops loading at a bad file, where.\n"
    "\n"
    "  --json     the findings as one JSON array instead (file, line, column,\n"
    "             severity, code, message, driver_message, explanation)\n"
    "  --strict   exit code 1 when there are warnings\n"
    "  --all      every warning (else at most 200 a file; errors are always all\n"
    "             shown)\n"
    "\n"
    "exit code: 0 clean (or warnings only), 1 warnings only with --strict,\n"
    "2 errors, or DRIVERDIR cannot be checked\n";

bool IsFolder(const char* path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir;
    bool json = false;
    bool strict = false;
    lmcheck::CheckOptions check;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--json") == 0) {
            json = true;
        } else if (std::strcmp(argv[i], "--strict") == 0) {
            strict = true;
        } else if (std::strcmp(argv[i], "--all") == 0) {
            check.warnings_per_file = static_cast<std::size_t>(-1);
        } else if (argv[i][0] == '-' || !dir.empty()) {
            std::fprintf(stderr, "lmcheck: unexpected argument %s\n\n%s", argv[i], kUsage);
            return 2;
        } else {
            dir = argv[i];
        }
    }
    if (dir.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (!IsFolder(dir.c_str())) {
        std::fprintf(stderr, "lmcheck: %s is no folder\n", dir.c_str());
        return 2;
    }
    const lmcheck::CheckResult result = lmcheck::CheckDriverDir(dir, check);
    if (json) {
        std::fputs(lmcheck::FormatJson(result.findings).c_str(), stdout);
    } else {
        for (const lmcheck::Finding& finding : result.findings) {
            std::puts(lmcheck::FormatLine(finding).c_str());
        }
        if (!result.load_stop.empty()) {
            std::printf("lmcheck: %s: the driver stops loading the library at %s\n", dir.c_str(),
                        result.load_stop.c_str());
        }
        std::printf("lmcheck: %s: %zu objects in %zu tools%s; %zu errors, %zu warnings\n",
                    dir.c_str(), result.objects, result.tools,
                    result.load_stop.empty() ? "" : " loaded", result.errors, result.warnings);
    }
    return lmcheck::ExitCode(result.errors, result.warnings, strict);
}
