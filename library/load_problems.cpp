#include "library/load_problems.h"

#include <algorithm>
#include <array>

#include "base/cp1250.h"
#include "library/texts.h"

namespace lm {

namespace {

constexpr std::array<std::string_view, 10> kListWords = {
    "D_IN",       "D_IN_END", "D_OUT",      "D_OUT_END", "D_INIT",
    "D_INIT_END", "D_PROM",   "D_PROM_END", "DATA_USER", "DATA_USER_END",
};

constexpr std::array<std::string_view, 14> kObjectValueWords = {
    "LEVEL", "IDENT",  "JMENO",      "NAZEV",    "VSTUPU",  "VYSTUPU",  "INIT_PROM",
    "PROM",  "BM_LIB", "BM_DESKTOP", "VER_HIGH", "VER_LOW", "ATRIBUTY", "OBJECT_END",
};

constexpr std::array<std::string_view, 19> kItemWords = {
    "IDENT",    "JMENO",    "HELP1",    "HELP2",  "TYP",      "DELKA",  "FORMAT",
    "POZICE_X", "POZICE_Y", "ATRIBUTY", "LABEL",  "INDEX",    "SUBTYP", "SUBINDEX",
    "DEFAULT",  "MIN",      "MAX",      "CW_OUT", "ITEM_END",
};

template <std::size_t N>
bool In(const std::array<std::string_view, N>& words, std::string_view word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

}  // namespace

std::string ShownToken(std::string_view token) {
    std::string shown = Cp1250ToUtf8(token.substr(0, 40));
    if (token.size() > 40) shown += "...";
    return shown;
}

std::string StopPlaceText(const LoadStopPlace& stop) {
    std::string text = stop.file;
    if (stop.position.line == 0) return text;
    text += ':';
    text += std::to_string(stop.position.line);
    text += ':';
    text += std::to_string(stop.position.column);
    return text;
}

void BlockPositions::Set(std::string_view keyword, TextPosition at) {
    for (auto& value : values_) {
        if (value.first == keyword) {
            value.second = at;
            return;
        }
    }
    values_.emplace_back(std::string(keyword), at);
}

TextPosition BlockPositions::Of(std::string_view keyword) const {
    for (const auto& value : values_) {
        if (value.first == keyword) return value.second;
    }
    return start;
}

bool BlockPositions::Has(std::string_view keyword) const {
    return std::any_of(values_.begin(), values_.end(),
                       [&](const auto& value) { return value.first == keyword; });
}

void ReportUnclosedComment(TextSource& source, std::string_view driver_message,
                           std::string_view consequence) {
    const TextPosition at = source.UnclosedComment();
    if (at.line == 0 || source.problems() == nullptr || source.comment_reported()) return;
    source.set_comment_reported();
    ReportProblem(source, Severity::Error, at, "unclosed-comment", driver_message,
                  Concat({"the comment opened here is never closed: ", consequence}));
}

void ReportProblem(TextSource& source, Severity severity, TextPosition at, std::string_view code,
                   std::string_view driver_message, std::string explanation) {
    LoadProblems* problems = source.problems();
    if (problems == nullptr) return;
    problems->Add(LoadProblem{severity, at, std::string(code), std::string(driver_message),
                              std::move(explanation)});
}

void ReportBadValue(TextSource& source, std::string_view keyword, std::string_view kind,
                    std::string_view driver_message, std::string_view consequence) {
    if (source.problems() == nullptr) return;
    const std::string_view token = source.TokenText();
    if (source.Eof()) source.MarkSpent();
    std::string what;
    if (token.empty()) {
        what = Concat({keyword, ": the file ends where ", kind, " should follow"});
    } else if (kind == "a quoted text") {
        const std::string_view first_word = token.substr(0, token.find_first_of(" \t\r\n"));
        what = Concat({keyword, ": the text ", ShownToken(first_word),
                       " has no closing double quote before the end of the file"});
    } else {
        what = Concat({keyword, ": ", ShownToken(token), " is not ", kind});
    }
    ReportProblem(source, Severity::Error, source.TokenPosition(), "bad-value", driver_message,
                  Concat({what, "; ", consequence}));
}

void ReportCut(TextSource& source, std::string_view keyword, std::string_view text,
               std::size_t limit) {
    if (source.problems() == nullptr || text.size() <= limit) return;
    ReportProblem(
        source, Severity::Warning, source.TokenPosition(), "text-cut", "",
        Concat({keyword, " is ", std::to_string(text.size()),
                text.size() >= kMaxText ? " or more" : "", " characters long; the driver keeps ",
                std::to_string(limit), ": \"", ShownToken(text.substr(0, limit)), "\""}));
}

void ReportSwallowingString(TextSource& source, std::string_view keyword, std::string_view text) {
    if (source.problems() == nullptr || !source.TokenSpansLines()) return;
    if (text.find('"') == std::string_view::npos) return;
    ReportProblem(source, Severity::Warning, source.TokenPosition(), "missing-quote", "",
                  Concat({keyword,
                          ": the text runs over several lines and holds a double quote; its "
                          "closing quote is most likely missing, and the driver reads \"",
                          ShownToken(text), "\""}));
}

void ReportNarrowed(TextSource& source, std::string_view keyword, long long value, int bits,
                    bool is_signed) {
    const unsigned long long mask = bits >= 64 ? ~0ULL : (1ULL << bits) - 1;
    long long kept = static_cast<long long>(static_cast<unsigned long long>(value) & mask);
    if (is_signed && bits < 64 && (kept >> (bits - 1)) != 0)
        kept -= static_cast<long long>(mask) + 1;
    ReportProblem(source, Severity::Warning, source.TokenPosition(), "number-cut", "",
                  Concat({keyword, " ", std::to_string(value), " does not fit the field of ",
                          std::to_string(bits), " bits; the driver keeps ", std::to_string(kept)}));
}

void KeywordValues::Checked(std::string_view keyword, std::string_view kind) {
    if (ok_) {
        Kept(keyword);
    } else {
        ReportBadValue(source_, keyword, kind, driver_message_, consequence_);
    }
}

void KeywordValues::CheckedText(std::string_view keyword, std::string_view value,
                                std::size_t limit) {
    if (!ok_) {
        ReportBadValue(source_, keyword, "a quoted text", driver_message_, consequence_);
        return;
    }
    Kept(keyword);
    ReportSwallowingString(source_, keyword, value);
    ReportCut(source_, keyword, value, limit);
}

bool IsObjectKeyword(std::string_view word) {
    return In(kObjectValueWords, word) || In(kListWords, word);
}

bool IsItemKeyword(std::string_view word) {
    return In(kItemWords, word);
}

bool IsStructureWord(std::string_view word) {
    return word == "OBJECT" || word == "OBJECT_END" || word == "ITEM" || In(kListWords, word);
}

}  // namespace lm
