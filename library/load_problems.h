// Checking mode of the definition parsers. While the driver loads its library
// no collector is attached and the parsers stop at the first error as they
// always did. With a collector attached to the text source (lmcheck), they
// report every problem with its place, go on after an error (the rest of the
// block, the next block, the next file) and tell the collector what each block
// read, so that checks beyond the parsers' own can name places too. A check
// builds no item or object records: its memory stays in proportion to the
// findings, whatever the size of the definitions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "library/definition_reader.h"

namespace lm {

struct ItemFields;
struct ObjectFields;

enum class Severity { Warning, Error };

struct LoadProblem {
    Severity severity = Severity::Error;
    TextPosition position;
    std::string code;            // a short stable name: "unknown-keyword"
    std::string driver_message;  // the driver's own text (CP1250); empty when it has none
    std::string explanation;     // English
};

// Where the parts of one block stood: its first word and the value of each
// keyword read (the last one when a keyword is given twice).
class BlockPositions {
public:
    TextPosition start;
    void Set(std::string_view keyword, TextPosition at);
    // The value's place, or `start` when the keyword was not read.
    TextPosition Of(std::string_view keyword) const;
    bool Has(std::string_view keyword) const;

private:
    std::vector<std::pair<std::string, TextPosition>> values_;
};

class LoadProblems {
public:
    virtual ~LoadProblems() = default;
    // The problems reported from here on are in `path` (until LeaveFile).
    virtual void EnterFile(const std::string& path) = 0;
    virtual void LeaveFile() = 0;

    void Add(LoadProblem problem) {
        if (problem.severity == Severity::Error) ++errors_;
        Take(std::move(problem));
    }
    // The errors added so far: a parser tells by it whether a block had any.
    int errors() const { return errors_; }

    // What the blocks read, whether or not the driver would keep them;
    // `failed` when the block had errors of its own.
    virtual void ItemRead(const ItemFields& /*fields*/, const BlockPositions& /*at*/,
                          bool /*failed*/) {}
    virtual void ObjectRead(const ObjectFields& /*fields*/, std::string_view /*bm_lib*/,
                            std::string_view /*bm_desktop*/, const BlockPositions& /*at*/,
                            bool /*failed*/) {}
    // A TOOL block; `at` has the place of its ID when given.
    virtual void ToolRead(std::uint16_t /*id*/, std::string_view /*bitmap*/,
                          const BlockPositions& /*at*/) {}
    // An OBJECTS entry of TOOLS.INI, before the driver looks for the file.
    virtual void ObjectFileNamed(std::string_view /*name*/, const std::string& /*path*/,
                                 TextPosition /*at*/) {}

protected:
    virtual void Take(LoadProblem problem) = 0;

private:
    int errors_ = 0;
};

// EnterFile and LeaveFile around one file's reading (nothing without a
// collector).
class ProblemFile {
public:
    ProblemFile(LoadProblems* problems, const std::string& path) : problems_(problems) {
        if (problems_ != nullptr) problems_->EnterFile(path);
    }
    ~ProblemFile() {
        if (problems_ != nullptr) problems_->LeaveFile();
    }
    ProblemFile(const ProblemFile&) = delete;
    ProblemFile& operator=(const ProblemFile&) = delete;

private:
    LoadProblems* problems_;
};

// Checking mode: a block, or a whole load, reads on after a failure. The first
// failure's error text is kept: it is the one the driver would have stopped
// with.
class FirstFailure {
public:
    // Keeps `error` when it is the first failure's, and clears it.
    void Keep(std::string& error) {
        if (!failed_) text_ = error;
        failed_ = true;
        error.clear();
    }
    // After a value was read: when it failed (ok false) while checking, keeps
    // its error text and sets ok again, so that the reading goes on.
    void ReadOn(bool& ok, std::string& error, bool checking) {
        if (ok || !checking) return;
        Keep(error);
        ok = true;
    }
    bool failed() const { return failed_; }
    const std::string& text() const { return text_; }

private:
    bool failed_ = false;
    std::string text_;
};

// Where a load stopped at an error: the file and the place of the last token
// read there.
struct LoadStopPlace {
    std::string file;
    TextPosition position;
};

// "FILE:LINE:COL" as compilers name a place, or "FILE" when the file could
// not be read at all.
std::string StopPlaceText(const LoadStopPlace& stop);

// What the driver does about a failure, as the explanations say it.
inline constexpr std::string_view kStopsLibrary =
    "the driver rejects this object and loads no object after it";
inline constexpr std::string_view kSkipsObject = "the driver skips this object without a word";

// Reports to the collector of `source`, if it has one.
void ReportProblem(TextSource& source, Severity severity, TextPosition at, std::string_view code,
                   std::string_view driver_message, std::string explanation);

// Checking mode: the input ran out inside a comment (reported once a source,
// at the comment's first word, as an error with the driver's message and
// what it leads to).
void ReportUnclosedComment(TextSource& source, std::string_view driver_message,
                           std::string_view consequence);

// A token as a message shows it: at most 40 bytes, in UTF-8.
std::string ShownToken(std::string_view token);

// A value reader failed (ok false) after `keyword`: reports what is wrong with
// the token it read (missing, not a number, no closing quote). `kind` names
// what was expected: "a whole number", "a number", "a quoted text".
void ReportBadValue(TextSource& source, std::string_view keyword, std::string_view kind,
                    std::string_view driver_message, std::string_view consequence);

// The value readers as the keyword parsers call them. While the driver loads,
// each is the plain reader. In checking mode a failed value is reported (with
// `driver_message`, the driver's text for it, and `consequence`) and the place
// of a good one is kept in `at`; texts longer than their field are reported.
class KeywordValues {
public:
    KeywordValues(TextSource& source, bool& ok, BlockPositions& at, std::string_view driver_message,
                  std::string_view consequence)
        : source_(source),
          ok_(ok),
          at_(at),
          driver_message_(driver_message),
          consequence_(consequence) {}

    std::int32_t Int(std::string_view keyword) {
        const std::int32_t value = READ_INT(source_, ok_);
        if (source_.problems() != nullptr) Checked(keyword, "a whole number");
        return value;
    }
    double Real(std::string_view keyword) {
        const double value = READ_REAL(source_, ok_);
        if (source_.problems() != nullptr) Checked(keyword, "a number the driver can hold");
        return value;
    }
    // A quoted text, reported when it is longer than `limit`.
    std::string Text(std::string_view keyword, std::size_t limit) {
        std::string value = READ_STRING(source_, ok_);
        if (source_.problems() != nullptr) CheckedText(keyword, value, limit);
        return value;
    }
    // An integer kept in the low bits of a T.
    template <typename T>
    T IntAs(std::string_view keyword);
    // Keeps the place of the last token as the value of `keyword`.
    void Kept(std::string_view keyword) {
        if (source_.problems() != nullptr) at_.Set(keyword, source_.TokenPosition());
    }

private:
    // Checking mode, after a value was read.
    void Checked(std::string_view keyword, std::string_view kind);
    void CheckedText(std::string_view keyword, std::string_view value, std::size_t limit);

    TextSource& source_;
    bool& ok_;
    BlockPositions& at_;
    std::string_view driver_message_;
    std::string_view consequence_;
};

// Checking mode: a text value longer than the field that receives it (a text
// of 255 characters may have been longer: the reader keeps no more).
void ReportCut(TextSource& source, std::string_view keyword, std::string_view text,
               std::size_t limit);

// Checking mode: a quoted text that runs over lines and holds a double quote
// inside has most likely lost its closing quote and swallowed what followed.
void ReportSwallowingString(TextSource& source, std::string_view keyword, std::string_view text);

// Checking mode: an integer that does not fit the `bits` of its field.
void ReportNarrowed(TextSource& source, std::string_view keyword, long long value, int bits,
                    bool is_signed = false);

// Stores `value` in a field of T's width, reporting in checking mode when bits
// are lost (the driver keeps the low bits).
template <typename T>
T Narrow(TextSource& source, std::string_view keyword, std::int32_t value) {
    const T kept = static_cast<T>(value);
    if (source.problems() != nullptr && static_cast<std::int32_t>(kept) != value) {
        ReportNarrowed(source, keyword, value, static_cast<int>(sizeof(T) * 8));
    }
    return kept;
}

template <typename T>
T KeywordValues::IntAs(std::string_view keyword) {
    return Narrow<T>(source_, keyword, Int(keyword));
}

// The keywords of an OBJECT block (item list keywords and OBJECT_END
// included) and of an ITEM block (ITEM_END included).
bool IsObjectKeyword(std::string_view word);
bool IsItemKeyword(std::string_view word);
// The words that open or close a block of an object file other than an item's
// own end: OBJECT, OBJECT_END, ITEM and the item list keywords. Met inside an
// item or an attribute group they mean that an end is missing.
bool IsStructureWord(std::string_view word);

}  // namespace lm
