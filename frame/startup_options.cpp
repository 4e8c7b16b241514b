#include "frame/startup_options.h"

#include "base/bounded_text.h"
#include "base/cp1250.h"
#include "library/definition_reader.h"
#include "library/load_problems.h"
#include "library/texts.h"

namespace lm {
namespace {

std::string_view OnOff(bool on) {
    return on ? "ON" : "OFF";
}

bool* OptionOf(StartupOptions& options, std::string_view keyword) {
    if (keyword == "HIDE_DIALOG") return &options.hide_dialog;
    if (keyword == "LOGFILE") return &options.log_file;
    if (keyword == "STATUS_DIALOG") return &options.status_dialog;
    return nullptr;
}

}  // namespace

bool LoadStartup(Files& files, const std::string& driver_dir, std::string& label,
                 std::size_t label_limit, StartupOptions& options, LogSink& log,
                 LoadProblems* problems, TextPosition* unclosed_comment) {
    log.Write("Load StartUp.Ini");
    const std::string path = driver_dir + kStartupFileName;
    if (!files.CanBeOpened(path)) return false;
    log.Write("file exists");
    auto bytes = files.ReadWhole(path);
    if (!bytes) return false;
    const ProblemFile file(problems, path);
    TextSource source(std::move(*bytes));
    source.set_problems(problems);
    bool ok = true;
    bool all_read = true;  // checking: the reading goes on after a bad value
    std::string keyword;
    do {
        keyword = READ_TOKEN(source);
        const TextPosition keyword_at =
            problems != nullptr ? source.TokenPosition() : TextPosition{};
        std::string value;
        if (keyword == "LAB") {
            label = Bounded(READ_TOKEN(source), label_limit);
        } else if (bool* option = OptionOf(options, keyword)) {
            value = READ_TOKEN(source);
            if (value == "ON") {
                *option = true;
            } else if (value == "OFF") {
                *option = false;
            } else {
                ok = false;
            }
        } else if (problems != nullptr && !keyword.empty()) {
            problems->Add({Severity::Warning, keyword_at, "ignored-word", "",
                           Concat({"\"", ShownToken(keyword),
                                   "\" is no keyword of STARTUP.INI; the driver skips it"})});
        }
        if (!ok) log.WriteWith([&] { return "error item " + keyword + ", value = " + value; });
        if (!ok && problems != nullptr) {
            problems->Add({Severity::Error, value.empty() ? keyword_at : source.TokenPosition(),
                           "bad-value", "Chyba startovacího souboru"_cp,
                           Concat({keyword, ": \"", ShownToken(value),
                                   "\" is neither ON nor OFF (upper case); the driver stops "
                                   "reading STARTUP.INI here and keeps the options read before"})});
            all_read = false;
            ok = true;
        }
    } while (!keyword.empty() && ok && !source.Eof());
    // A comment left open swallows every option after it: told with the
    // place where it opens, not taken for the end of the file.
    const TextPosition comment = source.UnclosedComment();
    if (comment.line != 0) {
        log.WriteWith([&] {
            return Concat({"STARTUP.INI ERROR: ", StopPlaceText({path, comment}), ": ",
                           kUnclosedCommentText});
        });
        ReportUnclosedComment(source, "Chyba startovacího souboru"_cp,
                              "it swallows every option after it; the driver shows an error box "
                              "and applies none of the options");
        if (unclosed_comment != nullptr) *unclosed_comment = comment;
        return false;
    }
    return ok && all_read;
}

FileStatus SaveStartup(Files& files, const std::string& driver_dir, const std::string& label,
                       const StartupOptions& options) {
    return ReplaceWholeFile(
        files, driver_dir + kStartupFileName,
        JoinCrLfLines({"HIDE_DIALOG " + std::string(OnOff(options.hide_dialog)),
                       "LOGFILE " + std::string(OnOff(options.log_file)),
                       "STATUS_DIALOG " + std::string(OnOff(options.status_dialog)),
                       "LAB " + label}));
}

}  // namespace lm
