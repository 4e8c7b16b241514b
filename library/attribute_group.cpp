#include "library/attribute_group.h"

#include "library/load_problems.h"
#include "library/texts.h"

namespace lm {

namespace {

// Checking mode: a word that belongs to the object file's structure, not to
// an attribute group, tells that a parenthesis is missing.
bool EndsGroup(std::string_view token) {
    return IsObjectKeyword(token) || IsItemKeyword(token) || IsStructureWord(token);
}

void ReportMissing(TextSource& source, TextPosition group_at, const std::string& message,
                   std::string_view parenthesis, std::string_view before) {
    // The driver says its message only when the file ends; before a keyword it
    // reads on, taking the keywords for attribute names.
    ReportProblem(source, Severity::Error, group_at, "missing-parenthesis",
                  before.empty() ? std::string_view(message) : std::string_view(),
                  before.empty() ? Concat({"ATRIBUTY: '", parenthesis,
                                           "' missing before the end of the file; ", kStopsLibrary})
                                 : Concat({"ATRIBUTY: '", parenthesis, "' missing before ", before,
                                           "; the driver reads on past it"}));
}

}  // namespace

bool ReadAttributeGroup(TextSource& source, std::span<const AttributeName> names,
                        std::string_view routine, std::string& error, std::size_t error_limit,
                        std::uint32_t& attributes) {
    LoadProblems* const checking = source.problems();
    const TextPosition group_at = checking != nullptr ? source.TokenPosition() : TextPosition{};
    attributes = 0;
    std::string token;
    bool skipped = false;
    do {
        token = READ_TOKEN(source);
        if (checking != nullptr && !token.empty() && token != "(") {
            if (EndsGroup(token)) {
                SetErrorText(error, error_limit,
                             Concat({routine, ": Nenalezena pocatecni zavorka skupiny - \"(\""}));
                ReportMissing(source, group_at, error, "(", token);
                source.Unread();
                return false;
            }
            if (!skipped) {
                ReportProblem(source, Severity::Warning, source.TokenPosition(), "ignored-word", "",
                              Concat({"ATRIBUTY: \"", ShownToken(token),
                                      "\" before '(' is skipped by the driver"}));
            }
            skipped = true;
        }
    } while (!token.empty() && token != "(");
    if (token.empty()) {
        SetErrorText(error, error_limit,
                     Concat({routine, ": Nenalezena pocatecni zavorka skupiny - \"(\""}));
        ReportMissing(source, group_at, error, "(", "");
        return false;
    }
    while (true) {
        token = READ_TOKEN(source);
        if (token.empty() || (checking != nullptr && EndsGroup(token))) {
            SetErrorText(error, error_limit,
                         Concat({routine, ": Nenalezena koncova zavorka skupiny - \")\""}));
            ReportMissing(source, group_at, error, ")", token);
            if (!token.empty()) source.Unread();
            return false;
        }
        if (token == ")") return true;
        bool known = false;
        for (const AttributeName& name : names) {
            if (token == name.name) {
                attributes += name.value;  // wraps like the 32-bit word it is
                known = true;
            }
        }
        if (!known && checking != nullptr) {
            ReportProblem(source, Severity::Warning, source.TokenPosition(), "unknown-attribute",
                          "",
                          Concat({"ATRIBUTY: \"", ShownToken(token),
                                  "\" is no attribute name here; the driver ignores it"}));
        }
    }
}

}  // namespace lm
