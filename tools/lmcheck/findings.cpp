#include "tools/lmcheck/findings.h"

#include <cstdio>

namespace lmcheck {

namespace {

const char* SeverityWord(lm::Severity severity) {
    return severity == lm::Severity::Error ? "error" : "warning";
}

// The message part of a line: the driver's text, then the explanation.
std::string MessageOf(const Finding& finding) {
    if (finding.driver_message.empty()) return finding.explanation;
    return finding.driver_message + " -- " + finding.explanation;
}

// A JSON string: quotes, backslashes and control characters escaped; the
// texts are UTF-8 already.
std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

}  // namespace

std::string FormatLine(const Finding& finding) {
    return finding.file + ":" + std::to_string(finding.position.line) + ":" +
           std::to_string(finding.position.column) + ": " + SeverityWord(finding.severity) + ": " +
           MessageOf(finding) + " [" + finding.code + "]";
}

std::string FormatJson(const std::vector<Finding>& findings) {
    std::string json = "[";
    for (std::size_t i = 0; i < findings.size(); ++i) {
        const Finding& f = findings[i];
        json += i == 0 ? "\n" : ",\n";
        json += "  {\"file\": " + JsonString(f.file) +
                ", \"line\": " + std::to_string(f.position.line) +
                ", \"column\": " + std::to_string(f.position.column) +
                ", \"severity\": " + JsonString(SeverityWord(f.severity)) +
                ", \"code\": " + JsonString(f.code) + ", \"message\": " + JsonString(MessageOf(f)) +
                ", \"driver_message\": " + JsonString(f.driver_message) +
                ", \"explanation\": " + JsonString(f.explanation) + "}";
    }
    return json + (findings.empty() ? "]\n" : "\n]\n");
}

int ExitCode(std::size_t errors, std::size_t warnings, bool strict) {
    if (errors > 0) return 2;
    return strict && warnings > 0 ? 1 : 0;
}

}  // namespace lmcheck
