#include "library/definition_reader.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "base/bounded_text.h"
#include "values/number_syntax.h"
#include "values/short_real.h"

namespace lm {

namespace {

constexpr char kEndOfFile = 26;

constexpr std::array<bool, 256> kDelimiter = [] {
    std::array<bool, 256> table{};
    table['\t'] = table['\n'] = table['\r'] = table[' '] = true;
    return table;
}();

bool IsDelimiter(char c) {
    return kDelimiter[static_cast<unsigned char>(c)];
}

// The next word outside comments, in full; empty at end of input. Input
// that ends inside a comment leaves the comment's first word marked.
std::string_view NextToken(TextSource& source) {
    bool in_comment = false;
    std::size_t opened_at = 0;
    while (true) {
        const std::string_view word = source.NextWord();
        if (word.empty()) {  // NextWord only comes back empty at end of input
            if (in_comment) source.MarkUnclosedComment(opened_at);
            return {};
        }
        bool accepted = !in_comment;
        if (word.front() == '{') {
            if (!in_comment) opened_at = source.token_start();
            in_comment = true;
            accepted = false;
        }
        if (word.back() == '}') {
            in_comment = false;
            accepted = false;
        }
        if (accepted) return word;
    }
}

}  // namespace

TextSource::TextSource(std::string bytes) : bytes_(std::move(bytes)) {
    const void* stop = std::memchr(bytes_.data(), kEndOfFile, bytes_.size());
    end_ = stop ? static_cast<std::size_t>(static_cast<const char*>(stop) - bytes_.data())
                : bytes_.size();
    SkipDelimiters();
}

void TextSource::SkipDelimiters() {
    while (pos_ < end_ && IsDelimiter(bytes_[pos_])) ++pos_;
}

std::string_view TextSource::NextWord() {
    const std::size_t start = pos_;
    while (pos_ < end_ && !IsDelimiter(bytes_[pos_])) ++pos_;
    const std::string_view word(bytes_.data() + start, pos_ - start);
    token_start_ = start;
    token_end_ = pos_;
    SkipDelimiters();
    return word;
}

std::string_view TextSource::TokenText() const {
    const std::size_t end = std::max(token_start_, token_end_);
    return std::string_view(bytes_).substr(token_start_, end - token_start_);
}

bool TextSource::TokenSpansLines() const {
    return TokenText().find_first_of("\r\n") != std::string_view::npos;
}

void TextSource::MarkUnclosedComment(std::size_t offset) {
    if (unclosed_comment_ == kNoComment) unclosed_comment_ = offset;
    // The blocks the comment ran through lack their ends for that reason
    // alone.
    spent_ = true;
}

TextPosition TextSource::UnclosedComment() const {
    return unclosed_comment_ == kNoComment ? TextPosition{} : PositionAt(unclosed_comment_);
}

TextPosition TextSource::PositionAt(std::size_t offset) const {
    offset = std::min(offset, end_);
    if (offset < counted_offset_) {
        counted_offset_ = counted_line_start_ = 0;
        counted_line_ = 1;
    }
    // CR, LF and CR LF each end one line: a LF right after a CR only moves
    // the line's start past itself.
    const char* data = bytes_.data();
    for (std::size_t i = counted_offset_; i < offset; ++i) {
        const char c = data[i];
        if (c != '\n' && c != '\r') continue;
        if (c == '\r' || i == 0 || data[i - 1] != '\r') ++counted_line_;
        counted_line_start_ = i + 1;
    }
    counted_offset_ = offset;
    return {counted_line_, static_cast<std::uint32_t>(offset - counted_line_start_ + 1)};
}

std::string READ_WORD(TextSource& source, std::size_t max_length) {
    return Bounded(source.NextWord(), std::clamp<std::size_t>(max_length, 1, kMaxText));
}

std::string READ_TOKEN(TextSource& source) {
    return Bounded(NextToken(source));
}

std::int32_t READ_INT(TextSource& source, bool& ok) {
    const std::optional<std::int32_t> value = ParseInt32(Bounded(NextToken(source)));
    ok = value.has_value();
    return value.value_or(0);
}

std::uint32_t READ_CARDINAL(TextSource& source, bool& ok) {
    const std::optional<std::int64_t> value = ParseInt64(Bounded(NextToken(source)));
    ok = value.has_value();
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(value.value_or(0)));
}

double READ_REAL(TextSource& source, bool& ok) {
    std::optional<double> value = ParseDecimalReal(Bounded(NextToken(source)));
    if (value) value = LimitToShortReal(*value);
    ok = value.has_value();
    return value.value_or(0.0);
}

std::string READ_STRING(TextSource& source, bool& ok) {
    // The tokens joined by single spaces, kept only as far as the result can
    // reach: an opening quote, 255 characters and the closing quote.
    constexpr std::size_t kKept = kMaxText + 2;
    std::string joined;
    std::size_t joined_length = 0;  // of the whole join, however long
    std::size_t start = 0;          // of the first word: where the string begins
    while (true) {
        const std::string_view token = NextToken(source);
        if (joined_length == 0) start = source.token_start();
        if (token.empty()) {
            source.SetTokenStart(start);
            ok = false;
            return {};
        }
        if (joined_length > 0) {
            ++joined_length;
            if (joined.size() < kKept) joined += ' ';
        }
        joined_length += token.size();
        if (joined.size() < kKept) joined.append(token.substr(0, kKept - joined.size()));
        if (token.back() == '"') break;
    }
    source.SetTokenStart(start);
    ok = true;
    std::string_view text = joined;
    if (!text.empty() && text.front() == '"') text.remove_prefix(1);
    // The closing quote ends the join; when the join was cut it lies beyond
    // the kept part, which then still holds more than 255 characters.
    if (joined_length == joined.size() && !text.empty()) text.remove_suffix(1);
    std::string result = Bounded(text);
    if (result == "NONE" || result == "none") result.clear();
    return result;
}

}  // namespace lm
