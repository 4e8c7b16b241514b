#include "exports/cw_exports.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "base/cp1250.h"
#include "exports/cw_program.h"
#include "exports/cw_side_files.h"
#include "exports/file_parameter.h"

namespace lm {
namespace {

// The file's text as it is now, for append mode: nothing when the file does
// not exist; a reason when it exists but cannot be read.
struct Existing {
    std::optional<std::string> text;
    std::string error;
};

// True when the folder of `path` lists its name (letter case aside): the
// file is there even when it cannot be opened now.
bool Listed(Files& files, const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string_view name = std::string_view(path).substr(slash + 1);
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (const std::string& listed : files.List(folder)) {
        if (std::equal(listed.begin(), listed.end(), name.begin(), name.end(),
                       [&](char a, char b) { return lower(a) == lower(b); })) {
            return true;
        }
    }
    return false;
}

Existing ReadExisting(Files& files, const std::string& path, bool append) {
    Existing existing;
    if (!append) return existing;
    if (!files.CanBeOpened(path)) {
        // A file that is there but cannot be opened now is not written anew
        // as if it were missing: that would lose what it holds.
        if (Listed(files, path)) existing.error = "soubor nelze přečíst."_cp;
        return existing;
    }
    existing.text = files.ReadWhole(path);
    if (!existing.text) existing.error = "soubor nelze přečíst."_cp;
    return existing;
}

}  // namespace

CwExports::CwExports(const ServiceContext& context)
    : platform_(context.platform),
      files_(context.files),
      log_(context.log),
      driver_dir_(context.driver_dir) {}

void CwExports::Export(const CwExportChoice& choice, const std::vector<CwItem>& selected,
                       const settings::TComSettings& settings) {
    const std::size_t chosen =
        static_cast<std::size_t>(std::count(choice.create.begin(), choice.create.end(), true));
    if (Write(choice, selected, settings) == chosen) {
        ShowAndRun(choice);
        return;
    }
    // The box has said which files were not written: Notepad would show an
    // earlier or no file, and Control Web would run a program whose files do
    // not belong together.
    log_.Write("CW_OUT: export stopped, Notepad and Control Web not started");
}

std::size_t CwExports::Write(const CwExportChoice& choice, const std::vector<CwItem>& selected,
                             const settings::TComSettings& settings) {
    const std::string range_error = CwChannelRangeError(choice.first_channel, selected.size());
    if (!range_error.empty()) {
        platform_.ShowMessageBox(BoxKind::Error, range_error);
        return 0;
    }
    const CwProgramNames names{choice.paths[kCwPar], choice.paths[kCwDmf], driver_dir_};
    std::string failures;
    std::size_t written = 0;
    for (std::size_t file = 0; file < kCwFileCount; ++file) {
        if (!choice.create[file]) continue;
        const std::string& path = choice.paths[file];
        const Existing existing = ReadExisting(files_, path, choice.append);
        CwFileText text;
        if (!existing.error.empty()) {
            text.error = existing.error;
        } else {
            std::optional<std::string_view> old;
            if (existing.text) old = *existing.text;
            switch (file) {
                case kCwPar:
                    text =
                        ParFileText(selected, choice.first_channel, choice.append, settings, old);
                    break;
                case kCwDmf:
                    text = DmfFileText(selected, choice.first_channel, choice.append, old);
                    break;
                default:
                    text = CwProgramText(file == kCwProgram ? CwProgramKind::ControlWeb
                                                            : CwProgramKind::ControlPanel,
                                         selected, choice.first_channel, choice.append, names, old);
                    break;
            }
        }
        if (text.error.empty()) {
            const FileStatus status = ReplaceWholeFile(files_, path, text.text);
            if (status) {
                ++written;
                continue;
            }
            text.error = status.reason;
        }
        log_.WriteWith([&] { return "CW_OUT: " + path + " not written: " + text.error; });
        if (!failures.empty()) failures += '\r';
        failures += FileErrorText(path, "zapsat", ":\r", text.error);
    }
    if (!failures.empty()) platform_.ShowMessageBox(BoxKind::Error, failures);
    return written;
}

void CwExports::ShowAndRun(const CwExportChoice& choice) {
    if (choice.show) {
        for (std::size_t file = 0; file < kCwFileCount; ++file) {
            if (choice.create[file]) {
                platform_.ShellOpen("NOTEPAD", FileParameter(choice.paths[file]), "",
                                    ShowMode::Show);
            }
        }
    }
    if (!choice.run) return;
    const int result =
        platform_.ShellOpen("CW.EXE", FileParameter(choice.paths[kCwProgram]), "", ShowMode::Show);
    if (result <= 32) {
        std::string text = "Chyba (kód "_cp;
        text += std::to_string(result);
        text += ") během startu Control Web."_cp;
        platform_.ShowMessageBox(BoxKind::Error, text);
    }
}

}  // namespace lm
