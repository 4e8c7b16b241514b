#include "tools/lmcheck/collector.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <unordered_map>

#include "base/cp1250.h"
#include "library/texts.h"
#include "platform/system_files.h"
#include "tools/lmcheck/item_checks.h"

namespace lmcheck {

namespace {

bool CanBeOpened(const std::string& path) {
    static const std::unique_ptr<lm::Files> files = lm::MakeSystemFiles();
    return files->CanBeOpened(path);
}

using lm::Concat;
using lm::Severity;

// The item ident whose item holds the object's help index.
constexpr std::uint16_t kHelpIndexIdent = 9999;

bool IsFolder(const std::string& path) {
    std::error_code error;
#if defined(_WIN32)
    const std::u16string wide = lm::Cp1250ToUtf16(path);
    return std::filesystem::is_directory(
        std::filesystem::path(std::wstring(wide.begin(), wide.end())), error);
#else
    return std::filesystem::is_directory(path, error);
#endif
}

std::string Line(lm::TextPosition at) {
    return std::to_string(at.line);
}

// "LINE:COL" of a place, as the findings name places.
std::string Place(lm::TextPosition at) {
    return std::to_string(at.line) + ":" + std::to_string(at.column);
}

}  // namespace

Collector::Collector(std::string driver_dir, std::string shown_dir, std::size_t warnings_per_file)
    : driver_dir_(std::move(driver_dir)),
      shown_dir_(std::move(shown_dir)),
      warnings_per_file_(warnings_per_file) {}

std::string Collector::Shown(const std::string& path) const {
    if (path.compare(0, driver_dir_.size(), driver_dir_) == 0) {
        return shown_dir_ + lm::Cp1250ToUtf8(std::string_view(path).substr(driver_dir_.size()));
    }
    return lm::Cp1250ToUtf8(path);
}

void Collector::StartObject() {
    item_idents_.clear();
    item_names_.clear();
    help_index_ = false;
}

void Collector::EnterFile(const std::string& path) {
    files_.push_back(path);
    file_order_.emplace(Shown(path), file_order_.size());
    StartObject();
}

void Collector::LeaveFile() {
    if (!files_.empty()) files_.pop_back();
    StartObject();
}

void Collector::Take(lm::LoadProblem problem) {
    const bool error = problem.severity == Severity::Error;
    ++(error ? total_errors_ : total_warnings_);
    std::string file = files_.empty() ? shown_dir_ : Shown(files_.back());
    if (problem.code == "load-stops" && load_stop_.empty()) {
        // Reported after the object file that stops the load was read: the
        // objects and the tools finished before it are what the driver keeps.
        load_stop_ = Concat({file, ":", Place(problem.position)});
        objects_at_stop_ = objects_read_;
        tools_at_stop_ = tools_read_;
    }
    // Errors are all kept; warnings up to the limit of a file.
    FileCount& count = counts_[file];
    if (!error) {
        if (count.kept >= warnings_per_file_) {
            ++count.hidden;
            return;
        }
        ++count.kept;
    }
    findings_.push_back({std::move(file), problem.position, problem.severity,
                         std::move(problem.code), lm::Cp1250ToUtf8(problem.driver_message),
                         std::move(problem.explanation)});
}

void Collector::AddNotes(const Notes& notes) {
    for (const Note& note : notes) Take({note.severity, note.at, note.code, "", note.text});
}

void Collector::AddFileFinding(const std::string& path, Severity severity, std::string code,
                               std::string driver_message, std::string explanation) {
    files_.push_back(path);
    Take({severity, {1, 1}, std::move(code), std::move(driver_message), std::move(explanation)});
    files_.pop_back();
}

void Collector::ItemRead(const lm::ItemFields& fields, const lm::BlockPositions& at, bool failed) {
    // An item the parser found wrong would only repeat its faults here.
    if (!failed) AddNotes(CheckItem(fields, at));
    if (fields.ident > 255 && fields.ident != kHelpIndexIdent) {
        Take({Severity::Warning, at.Of("IDENT"), "ident-online", "",
              Concat({"item IDENT ", std::to_string(fields.ident),
                      " is above 255: online commands carry only its low byte, ",
                      std::to_string(fields.ident & 0xFF)})});
    }
    help_index_ = help_index_ || fields.ident == kHelpIndexIdent;
    if (at.Has("IDENT")) {
        const auto [first, added] = item_idents_.emplace(fields.ident, at.Of("IDENT"));
        if (!added) {
            Take({Severity::Error, at.Of("IDENT"), "duplicate-item", "",
                  Concat({"item IDENT ", std::to_string(fields.ident),
                          " is given twice in this object (first at line ", Line(first->second),
                          "); the host finds only the first"})});
        }
    }
    const std::string name = fields.name.substr(0, lm::kItemNameLimit);
    if (!name.empty()) {
        const auto [first, added] = item_names_.emplace(name, at.Of("JMENO"));
        if (!added) {
            Take({Severity::Error, at.Of("JMENO"), "duplicate-item-name", "",
                  Concat({"item JMENO \"", lm::ShownToken(name),
                          "\" is given twice in this object (first at line ", Line(first->second),
                          "); project lines name items, and only the first is found"})});
        }
    }
}

void Collector::ObjectRead(const lm::ObjectFields& fields, std::string_view bm_lib,
                           std::string_view bm_desktop, const lm::BlockPositions& at, bool failed) {
    // A failed object may have lost its items to the failure.
    if (!help_index_ && !failed) {
        Take({Severity::Warning, at.start, "no-help-index", "",
              "the object has no help index item (IDENT 9999): help on its blocks has no "
              "context"});
    }
    StartObject();
    if (!failed) ++objects_read_;
    CheckBitmap("BM_LIB", bm_lib, at);
    CheckBitmap("BM_DESKTOP", bm_desktop, at);
    if (!at.Has("IDENT")) {
        Take({Severity::Warning, at.start, "no-ident", "",
              "the object has no IDENT: the host knows it as object 0"});
        return;
    }
    if (fields.ident > 255) {
        Take({Severity::Warning, at.Of("IDENT"), "ident-online", "",
              Concat({"object IDENT ", std::to_string(fields.ident),
                      " is above 255: online commands carry only its low byte, ",
                      std::to_string(fields.ident & 0xFF)})});
    }
    const std::string file = files_.empty() ? std::string() : Shown(files_.back());
    const std::string name = fields.name.substr(0, lm::kObjectNameLimit);
    if (!name.empty()) {
        const auto [first_name, name_added] =
            object_names_.emplace(name, SeenName{file, at.Of("JMENO")});
        const bool same_place =
            first_name->second.file == file && first_name->second.at == at.Of("JMENO");
        if (!name_added && !same_place) {
            Take({Severity::Warning, at.Of("JMENO"), "duplicate-object-name", "",
                  Concat({"object JMENO \"", lm::ShownToken(name), "\" is also given in ",
                          first_name->second.file, ":", Place(first_name->second.at),
                          "; the host lists two objects of one name"})});
        }
    }
    const auto [first, added] = objects_.emplace(fields.ident, SeenObject{file, at.Of("IDENT")});
    // The same file read again (named twice in TOOLS.INI) is told there.
    const bool same_place = first->second.file == file && first->second.at == at.Of("IDENT");
    if (!added && !same_place) {
        Take({Severity::Error, at.Of("IDENT"), "duplicate-object", "",
              Concat({"object IDENT ", std::to_string(fields.ident), " is also given in ",
                      first->second.file, ":", Place(first->second.at),
                      "; the host would see two objects of one ident"})});
    }
}

void Collector::ToolRead(std::uint16_t id, std::string_view bitmap, const lm::BlockPositions& at) {
    ++tools_read_;
    CheckBitmap("BITMAP", bitmap, at);
    if (!at.Has("ID")) return;
    const auto [first, added] = tool_ids_.emplace(id, at.Of("ID"));
    if (!added) {
        Take({Severity::Error, at.Of("ID"), "duplicate-tool", "",
              Concat({"tool ID ", std::to_string(id), " is also given at line ",
                      Place(first->second),
                      "; the host sorts objects into tools by this id and finds only one"})});
    }
}

void Collector::CheckBitmap(std::string_view keyword, std::string_view name,
                            const lm::BlockPositions& at) {
    if (name.empty() || CanBeOpened(Concat({driver_dir_, name}))) return;
    Take({Severity::Warning, at.Of(keyword), "missing-bitmap", "",
          Concat({keyword, " names the bitmap ", lm::ShownToken(name),
                  ", which is not in the driver directory; the host shows none"})});
}

void Collector::ObjectFileNamed(std::string_view name, const std::string& path,
                                lm::TextPosition at) {
    const auto [first, added] = named_files_.emplace(path, at);
    if (!added) {
        Take({Severity::Warning, at, "named-twice", "",
              Concat({lm::ShownToken(name), " is named twice in TOOLS.INI (first at ",
                      Place(first->second), "); the driver reads its objects twice"})});
    }
    if (!files_.empty() && path == files_.front()) {
        Take({Severity::Error, at, "names-itself", "",
              "TOOLS.INI names itself as an object file; the driver reads it as one"});
    } else if (IsFolder(path)) {
        Take({Severity::Error, at, "missing-file", "",
              Concat({lm::ShownToken(name),
                      " is a folder, not an object file; the driver skips it"})});
    } else if (!CanBeOpened(path)) {
        Take({Severity::Error, at, "missing-file", "",
              Concat({"the object file ", lm::ShownToken(name),
                      " does not exist; the driver skips it without a word"})});
    }
}

std::vector<Finding> Collector::Findings() const {
    // Files in the order first read, each file's findings by place.
    std::unordered_map<std::string, std::size_t> file_order = file_order_;
    for (const Finding& f : findings_) file_order.emplace(f.file, file_order.size());
    std::vector<Finding> sorted = findings_;
    std::stable_sort(sorted.begin(), sorted.end(), [&](const Finding& a, const Finding& b) {
        if (a.severity != b.severity) return a.severity == Severity::Error;
        const std::size_t fa = file_order.at(a.file), fb = file_order.at(b.file);
        if (fa != fb) return fa < fb;
        if (a.position.line != b.position.line) return a.position.line < b.position.line;
        return a.position.column < b.position.column;
    });
    std::vector<Finding> shown;
    shown.reserve(sorted.size());
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        shown.push_back(sorted[i]);
        if (sorted[i].severity == Severity::Error) continue;
        const bool last_of_file = i + 1 == sorted.size() || sorted[i + 1].file != sorted[i].file;
        const FileCount& count = counts_.at(sorted[i].file);
        if (!last_of_file || count.hidden == 0) continue;
        Finding more = sorted[i];
        more.severity = Severity::Warning;
        more.code = "too-many";
        more.driver_message.clear();
        more.explanation = std::to_string(count.hidden) +
                           " more warnings in this file are not shown (--all shows them)";
        shown.push_back(std::move(more));
    }
    return shown;
}

}  // namespace lmcheck
