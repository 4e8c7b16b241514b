// CwExports: writes the Control Web files the user chose (PAR, DMF, CW, CP)
// for the selected items and then opens them in Notepad or starts Control Web
// with the program text.
//
// Each file is built whole in memory and replaces the earlier one (a
// temporary file renamed over it), in append mode as well, so a failure never
// leaves a half-written file for the supervisory system. A file that cannot be
// read for appending or written is left out while the others are still
// written: every file numbers the same channels, so they stay aligned. The
// user is told in one error box which files were left out and why, and the
// export stops there: Notepad and Control Web are not started. Channel
// numbers beyond 65535 are refused before anything is written. Append mode
// to a file that does not exist or is blank writes it whole.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "base/log_sink.h"
#include "exports/cw_items.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "service/service_context.h"
#include "settings/com_settings.h"

namespace lm {

// The four files in the order they are written.
enum CwFile { kCwPar = 0, kCwDmf = 1, kCwProgram = 2, kCwPanel = 3 };
inline constexpr std::size_t kCwFileCount = 4;

// What the user chose in the options dialog.
struct CwExportChoice {
    std::array<std::string, kCwFileCount> paths;
    std::array<bool, kCwFileCount> create{};
    bool append = false;
    long first_channel = 100;
    bool show = false;  // open the files in Notepad afterwards
    bool run = false;   // start Control Web with the CW file afterwards
};

class CwExports {
public:
    // The context's driver directory ends with the path separator.
    explicit CwExports(const ServiceContext& context);

    // The export the user asked for: Write, then ShowAndRun only when every
    // chosen file was written; a file not written stops the export there.
    void Export(const CwExportChoice& choice, const std::vector<CwItem>& selected,
                const settings::TComSettings& settings);
    // Writes the chosen files; returns how many were written. Every failure
    // has been shown to the user.
    std::size_t Write(const CwExportChoice& choice, const std::vector<CwItem>& selected,
                      const settings::TComSettings& settings);
    // Notepad with each chosen file (when asked), then Control Web with the
    // CW file (when asked); a failed start shows its result code.
    void ShowAndRun(const CwExportChoice& choice);

private:
    Platform& platform_;
    Files& files_;
    LogSink& log_;
    std::string driver_dir_;
};

}  // namespace lm
