// The collector of a driver directory check: takes the parsers' problems and
// what their blocks read, runs the checks beyond the parsers' own on them, and
// keeps every finding with the file it belongs to.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "library/data_items.h"
#include "library/objects.h"
#include "tools/lmcheck/findings.h"
#include "tools/lmcheck/notes.h"

namespace lmcheck {

class Collector : public lm::LoadProblems {
public:
    // `driver_dir` is the folder as the parsers name it (ending with the
    // separator); file names in the findings begin with `shown_dir` instead.
    // At most `warnings_per_file` warnings are kept for one file; errors are
    // all kept.
    Collector(std::string driver_dir, std::string shown_dir,
              std::size_t warnings_per_file = kWarningsPerFile);
    static constexpr std::size_t kWarningsPerFile = 200;

    void EnterFile(const std::string& path) override;
    void LeaveFile() override;
    void ItemRead(const lm::ItemFields& fields, const lm::BlockPositions& at, bool failed) override;
    void ObjectRead(const lm::ObjectFields& fields, std::string_view bm_lib,
                    std::string_view bm_desktop, const lm::BlockPositions& at,
                    bool failed) override;
    void ToolRead(std::uint16_t id, std::string_view bitmap, const lm::BlockPositions& at) override;
    void ObjectFileNamed(std::string_view name, const std::string& path,
                         lm::TextPosition at) override;

    // A finding about a file as a whole (a missing STARTUP.INI).
    void AddFileFinding(const std::string& path, lm::Severity severity, std::string code,
                        std::string driver_message, std::string explanation);

    // The findings: every error, then the warnings; each kind by file in the
    // order first read and by place in the file. When a file had more
    // warnings than kept, a last warning of that file tells how many more.
    std::vector<Finding> Findings() const;
    std::size_t total_errors() const { return total_errors_; }
    std::size_t total_warnings() const { return total_warnings_; }
    // The objects read without an error of their own.
    std::size_t objects_read() const { return objects_read_; }
    // Where the driver stops loading the library (the object file named in
    // TOOLS.INI, as shown), and the objects and tools read before it: what
    // the driver loads. Empty when it loads everything.
    const std::string& load_stop() const { return load_stop_; }
    std::size_t objects_before_stop() const { return objects_at_stop_; }
    std::size_t tools_before_stop() const { return tools_at_stop_; }

protected:
    // The parsers' problems come through Add, which counts their errors; the
    // collector's own findings go straight here, so that they never make a
    // parser take a block for failed.
    void Take(lm::LoadProblem problem) override;

private:
    struct SeenObject {
        std::string file;
        lm::TextPosition at;
    };
    struct FileCount {
        std::size_t kept = 0;  // warnings
        std::size_t hidden = 0;
    };
    struct SeenName {
        std::string file;
        lm::TextPosition at;
    };

    std::string Shown(const std::string& path) const;
    void AddNotes(const Notes& notes);
    void CheckBitmap(std::string_view keyword, std::string_view name, const lm::BlockPositions& at);
    void StartObject();

    std::string driver_dir_;
    std::string shown_dir_;
    std::vector<std::string> files_;  // the files being read, innermost last
    std::vector<Finding> findings_;
    std::unordered_map<std::string, FileCount> counts_;        // by shown file name
    std::unordered_map<std::string, std::size_t> file_order_;  // as first read
    std::size_t total_errors_ = 0;
    std::size_t total_warnings_ = 0;
    std::size_t objects_read_ = 0;
    std::size_t warnings_per_file_;
    std::size_t tools_read_ = 0;
    std::string load_stop_;
    std::size_t objects_at_stop_ = 0;
    std::size_t tools_at_stop_ = 0;
    // Every object's name, every tool's id, every object file named in
    // TOOLS.INI: where first given.
    std::unordered_map<std::string, SeenName> object_names_;
    std::unordered_map<std::uint16_t, lm::TextPosition> tool_ids_;
    std::unordered_map<std::string, lm::TextPosition> named_files_;
    // The object being read: its items' idents and names, where first given.
    std::unordered_map<std::uint16_t, lm::TextPosition> item_idents_;
    std::unordered_map<std::string, lm::TextPosition> item_names_;
    bool help_index_ = false;
    // Every object's ident, where first given.
    std::unordered_map<std::uint16_t, SeenObject> objects_;
};

}  // namespace lmcheck
