#include "tools/lmcheck/check_driver_dir.h"

#include <algorithm>

#include "base/bounded_text.h"
#include "base/cp1250.h"
#include "base/log_sink.h"
#include "frame/startup_options.h"
#include "library/texts.h"
#include "library/tools.h"
#include "platform/headless/headless_platform.h"
#include "tools/lmcheck/collector.h"
#include "tools/lmcheck/path_kind.h"
#include "tools/lmcheck/settings_checks.h"

namespace lmcheck {

using namespace lm::literals;

namespace {

// Only blanks and line ends.
bool Blank(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

}  // namespace

CheckResult CheckDriverDir(const std::string& dir, const CheckOptions& options) {
    lm::HeadlessPlatform platform;
    platform.SetQuiet(true);
    return CheckDriverDir(platform, dir, options);
}

CheckResult CheckDriverDir(lm::Platform& platform, const std::string& dir,
                           const CheckOptions& check) {
    std::string driver_dir = dir.empty() ? std::string(".") : dir;
    if (driver_dir.back() != '/' && driver_dir.back() != '\\') driver_dir.push_back('/');
    Collector collector(driver_dir, driver_dir, check.warnings_per_file);
    lm::NoLog log;
    lm::Files& files = platform.files();

    const std::string startup = lm::Concat({driver_dir, lm::kStartupFileName});
    if (files.CanBeOpened(startup)) {
        std::string label;
        lm::StartupOptions options;
        lm::LoadStartup(files, driver_dir, label, lm::kMaxText, options, log, &collector);
    } else if (const PathKind kind = KindOfPath(startup); kind != PathKind::Missing) {
        // The driver takes it for missing and writes its defaults over it:
        // over a folder that fails, and init objects then loads no library.
        collector.AddFileFinding(
            startup, lm::Severity::Error, "unreadable-startup",
            "Startovacího soubor STARTUP.INI nebyl nalezen. Bylo použito počáteční nastavení."_cp,
            kind == PathKind::Folder
                ? "STARTUP.INI is a folder: the driver cannot write its default file there "
                  "and loads no library (init objects fails with error 1)"
                : "STARTUP.INI is there but cannot be read as a file (no plain file, or no "
                  "right to read it): the driver takes it for missing, writes one with every "
                  "option off where it can, and else loads no library");
    } else {
        collector.AddFileFinding(
            startup, lm::Severity::Warning, "no-startup",
            "Startovacího soubor STARTUP.INI nebyl nalezen. Bylo použito počáteční nastavení."_cp,
            "STARTUP.INI is missing: the driver writes one with every option off");
    }

    lm::ObjectLibrary library(platform);
    std::string error;
    const std::string tools = lm::Concat({driver_dir, "TOOLS.INI"});
    lm::LOAD_TOOLS(files, tools, driver_dir, library, error, lm::kMaxText, log, &collector);
    if (library.tools.empty()) {
        // Read but without a tool, the library the host gets is empty.
        if (const auto text = files.ReadWhole(tools)) {
            collector.AddFileFinding(tools, lm::Severity::Error, "empty-library", "",
                                     Blank(*text)
                                         ? "TOOLS.INI is empty: the driver loads no library"
                                         : "TOOLS.INI names no TOOL: the driver loads no library");
        }
    }
    CheckSettings(files, driver_dir, collector);
    CheckResult result;
    result.findings = collector.Findings();
    result.errors = collector.total_errors();
    result.warnings = collector.total_warnings();
    result.load_stop = collector.load_stop();
    if (result.load_stop.empty()) {
        result.objects = collector.objects_read();
        result.tools = library.tools.size();
    } else {
        result.objects = collector.objects_before_stop();
        result.tools = std::min(collector.tools_before_stop(), library.tools.size());
    }
    return result;
}

}  // namespace lmcheck
