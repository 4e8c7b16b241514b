// The word reader of the definition files (TOOLS.INI, the object definition
// files, STARTUP.INI).
//
// A definition file is a stream of words separated by TAB, LF, CR and space;
// every other byte, quotes and punctuation included, belongs to a word. Bytes
// above 127 are kept as they are (CP1250). A word starting with '{' opens a
// comment and a word ending with '}' closes it. There is no line syntax: a
// keyword and its value may share a line or not. The input ends at the end of
// the bytes or at the first byte 26 (Ctrl-Z).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lm {

class LoadProblems;

// A place in a definition file: line and column, both from 1 (0 = no place).
// Lines end at CR, LF or CR LF (each one line end, so files from any system
// are placed alike); columns count bytes (the files are CP1250, one byte a
// character), a TAB counting as one.
struct TextPosition {
    std::uint32_t line = 0;
    std::uint32_t column = 0;
    bool operator==(const TextPosition&) const = default;
};

// A definition file held in memory and read from front to back.
class TextSource {
public:
    // Takes the whole file; nothing from the first byte 26 on is read.
    explicit TextSource(std::string bytes);

    // True when no word is left before the end of input: only delimiters, or
    // nothing. Files with CR LF and with LF line ends thus end alike.
    bool Eof() const { return pos_ >= end_; }

    // The next word in full, however long; empty at end of input. The view
    // stays valid while the source lives.
    std::string_view NextWord();

    // Where the last token handed out begins (for a quoted string: its first
    // word); the position at the end of input once the input has run out.
    // Only the offset is kept while reading: the line and column are counted
    // when asked for, so a reader that never asks pays nothing.
    TextPosition TokenPosition() const { return PositionAt(token_start_); }
    // The last token as it stands in the file, from its first byte to the end
    // of its last word (a quoted string with its quotes and line breaks).
    std::string_view TokenText() const;
    // True when the last token runs over more than one line.
    bool TokenSpansLines() const;
    // The line and column of a byte offset; cheap when asked in file order.
    TextPosition PositionAt(std::size_t offset) const;
    // Where the next word begins: the end of input when none is left.
    TextPosition NextPosition() const { return PositionAt(pos_); }
    // Reads the last token again: the next word read begins where it began.
    void Unread() { pos_ = token_start_; }
    // A quoted string spans several words: the token is from the first word's
    // start to the end of the last one.
    void SetTokenStart(std::size_t offset) { token_start_ = offset; }
    std::size_t token_start() const { return token_start_; }

    // The collector that the parsers report problems to while a driver
    // directory is checked; null (nothing reported, nothing resynchronised)
    // while the driver loads its library.
    LoadProblems* problems() const { return problems_; }
    void set_problems(LoadProblems* problems) { problems_ = problems; }
    // Checking mode: a failed value has run to the end of input (a text
    // without its closing quote). The blocks it ran through then lack their
    // ends for that reason alone, which is not reported again.
    void MarkSpent() { spent_ = true; }
    bool spent() const { return spent_; }

    // The input ran out inside a comment: where its first word stands (no
    // place while every comment read was closed). A comment left open
    // swallows every word after it, so the readers name it as the cause.
    // Marking it also marks the source spent.
    TextPosition UnclosedComment() const;
    void MarkUnclosedComment(std::size_t offset);
    bool comment_reported() const { return comment_reported_; }
    void set_comment_reported() { comment_reported_ = true; }

private:
    void SkipDelimiters();

    std::string bytes_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    std::size_t token_start_ = 0;
    std::size_t token_end_ = 0;
    LoadProblems* problems_ = nullptr;
    bool spent_ = false;
    static constexpr std::size_t kNoComment = static_cast<std::size_t>(-1);
    std::size_t unclosed_comment_ = kNoComment;
    bool comment_reported_ = false;
    // The last place counted, from which the next count goes on.
    mutable std::size_t counted_offset_ = 0;
    mutable std::size_t counted_line_start_ = 0;
    mutable std::uint32_t counted_line_ = 1;
};

// What the readers say of a comment that is never closed (the place where it
// opens goes with it).
inline constexpr std::string_view kUnclosedCommentText = "Neukoncena poznamka, chybi }";

// The next word cut to `max_length` characters (taken within 1..255; the rest
// of a longer word is read and dropped). Empty at end of input.
std::string READ_WORD(TextSource& source, std::size_t max_length);

// The next word outside comments, cut to 255 characters; empty at end of
// input. A word that begins with '{' opens a comment, a word that ends with
// '}' closes it (the full word is looked at, even when it is longer than the
// 255 characters returned), so `{x}` and `{a b c}` are skipped whole and a
// stray `abc}` is skipped as well. Input that ends inside a comment, or just
// after one, gives the empty word: comment text never comes out as a token.
std::string READ_TOKEN(TextSource& source);

// The next token as a signed 32-bit integer (decimal within the 32-bit range,
// or hexadecimal after `$`, `x`, `X`, `0x`, `0X`). `ok` is false, and the
// result 0, for an empty token or one that is not wholly a number.
std::int32_t READ_INT(TextSource& source, bool& ok);

// As READ_INT, but the token is read as a 64-bit integer and its low 32 bits
// are returned: 4294967295 and -1 both give 4294967295.
std::uint32_t READ_CARDINAL(TextSource& source, bool& ok);

// The next token as a real (sign, digits, point, exponent E). Magnitudes
// below about 2.9E-39 give 0. `ok` is false, and the result 0, for an empty or
// invalid token and for a magnitude beyond the driver's real range (about
// 1.7E38): such a value cannot be held, and a clamped limit would silently
// change the meaning of the definition.
double READ_REAL(TextSource& source, bool& ok);

// A text written between double quotes, possibly over several words and
// lines: the tokens up to the first one that ends with a double quote, joined
// by single spaces, without the opening quote (which may be missing) and the
// closing quote, cut to 255 characters. "NONE" and "none" give an empty
// text. `ok` is false, and the text empty, when the input ends before a
// closing quote.
std::string READ_STRING(TextSource& source, bool& ok);

}  // namespace lm
