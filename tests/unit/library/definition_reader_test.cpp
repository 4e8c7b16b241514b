#include "library/definition_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/cp1250.h"
#include "library/texts.h"

namespace lm {
namespace {

// Every token up to the end of input.
std::vector<std::string> Tokens(std::string_view text) {
    TextSource source{std::string(text)};
    std::vector<std::string> tokens;
    for (std::string token = READ_TOKEN(source); !token.empty(); token = READ_TOKEN(source))
        tokens.push_back(token);
    return tokens;
}

using Words = std::vector<std::string>;

TEST(DefinitionReader, TokensAndComments) {
    const struct {
        std::string_view text;
        Words tokens;
    } rows[] = {
        {"", {}},
        {" \t\r\n \r\n\t", {}},
        {"LEVEL 3", {"LEVEL", "3"}},
        {"LEVEL\r\n3\r\n", {"LEVEL", "3"}},
        {"LEVEL\n3\n", {"LEVEL", "3"}},
        {"A=1;(B) \"q\"", {"A=1;(B)", "\"q\""}},  // only four delimiters
        {"{x} IDENT 5", {"IDENT", "5"}},
        {"{a b c} IDENT", {"IDENT"}},
        {"{ comment } IDENT 5", {"IDENT", "5"}},
        {"{\r\n multi\r\n line\r\n}\r\nIDENT", {"IDENT"}},
        {"abc} IDENT", {"IDENT"}},                   // a stray closing word is skipped too
        {"a{b c}d IDENT", {"a{b", "c}d", "IDENT"}},  // braces inside a word do nothing
        {"{ outer { inner } IDENT", {"IDENT"}},      // no nesting
        {"IDENT {x}", {"IDENT"}},                    // a comment at the end is no token
        {"IDENT { never closed", {"IDENT"}},
        {"IDENT\r\n{ never closed\r\n", {"IDENT"}},
        {"OBJECT\x1AIDENT 5", {"OBJECT"}},  // byte 26 ends the input
        {"OBJ\x1A", {"OBJ"}},
        {"\x1A OBJECT", {}},
    };
    for (const auto& row : rows) EXPECT_EQ(Tokens(row.text), row.tokens) << row.text;
}

TEST(DefinitionReader, OnlyDelimitersGiveOneEmptyToken) {
    TextSource source{" \r\n\t "};
    EXPECT_TRUE(source.Eof());
    EXPECT_EQ(READ_TOKEN(source), "");
    EXPECT_TRUE(source.Eof());
}

TEST(DefinitionReader, EndOfInputRightAfterTheLastWordWhateverTheLineEnds) {
    for (std::string_view text : {"LEVEL 3", "LEVEL 3\n", "LEVEL 3\r\n", "LEVEL 3 \r\n\r\n\t"}) {
        TextSource source{std::string(text)};
        EXPECT_EQ(READ_TOKEN(source), "LEVEL");
        EXPECT_FALSE(source.Eof());
        EXPECT_EQ(READ_TOKEN(source), "3");
        EXPECT_TRUE(source.Eof()) << text;
    }
}

TEST(DefinitionReader, LongWordsAreCut) {
    const std::string word(300, 'w');
    TextSource source{word + " NEXT"};
    EXPECT_EQ(READ_TOKEN(source), std::string(255, 'w'));
    EXPECT_EQ(READ_TOKEN(source), "NEXT");

    TextSource words{"abcdef ghi"};
    EXPECT_EQ(READ_WORD(words, 3), "abc");
    EXPECT_EQ(READ_WORD(words, 1000), "ghi");  // never more than 255
    EXPECT_EQ(READ_WORD(words, 255), "");

    const std::string huge(10000, 'x');
    TextSource one{huge};
    EXPECT_EQ(READ_WORD(one, 255).size(), 255u);
    EXPECT_TRUE(one.Eof());
}

TEST(DefinitionReader, ReadWordSeesCommentsAsWords) {
    TextSource source{"{x} y"};
    EXPECT_EQ(READ_WORD(source, 255), "{x}");
    EXPECT_EQ(READ_WORD(source, 255), "y");
}

TEST(DefinitionReader, CommentClosedByALongWord) {
    // The closing brace counts even past the 255 characters a word keeps.
    EXPECT_EQ(Tokens("{ " + std::string(300, 'c') + "} IDENT"), Words{"IDENT"});
}

TEST(DefinitionReader, BytesAbove127AreKept) {
    const std::string text = std::string("JMENO \"") + std::string("Žluťoučký kůň"_cp) + "\"";
    TextSource source{text};
    EXPECT_EQ(READ_TOKEN(source), "JMENO");
    bool ok = false;
    EXPECT_EQ(READ_STRING(source, ok), "Žluťoučký kůň"_cp);
    EXPECT_TRUE(ok);
    EXPECT_EQ(Tokens("\xA0\xFF\x80"), Words{"\xA0\xFF\x80"});  // 0xA0 is no delimiter
}

TEST(DefinitionReader, Strings) {
    const struct {
        std::string_view text;
        bool ok;
        std::string value;
        std::string next;  // the token after the string
    } rows[] = {
        {"\"AND\" X", true, "AND", "X"},
        {"\"NONE\" X", true, "", "X"},
        {"\"none\" X", true, "", "X"},
        {"\"None\" X", true, "None", "X"},
        {"\"NONE \" X", true, "NONE ", "X"},
        {"\"two   spaces\" X", true, "two spaces", "X"},
        {"\"over\r\n  two\tlines\" X", true, "over two lines", "X"},
        {"\"a {skipped} b\" X", true, "a b", "X"},
        {"unquoted words end\" X", true, "unquoted words end", "X"},
        {"\"\" X", true, "", "X"},
        {"\" X", true, "", "X"},
        {"\"a\"b\" X", true, "a\"b", "X"},
        {"\"never closed", false, "", ""},
        {"\"never closed\r\n", false, "", ""},
        {"\"closed only {in a comment\"}", false, "", ""},
        {"", false, "", ""},
    };
    for (const auto& row : rows) {
        TextSource source{std::string(row.text)};
        bool ok = !row.ok;
        EXPECT_EQ(READ_STRING(source, ok), row.value) << row.text;
        EXPECT_EQ(ok, row.ok) << row.text;
        EXPECT_EQ(READ_TOKEN(source), row.next) << row.text;
    }
}

TEST(DefinitionReader, LongStringsKeepTheirFirst255Characters) {
    std::string content;
    for (int i = 0; i < 60; ++i) content += "word" + std::to_string(i % 10) + " ";
    content += "end";  // 363 characters
    TextSource source{"\"" + content + "\" NEXT"};
    bool ok = false;
    EXPECT_EQ(READ_STRING(source, ok), content.substr(0, 255));
    EXPECT_TRUE(ok);
    EXPECT_EQ(READ_TOKEN(source), "NEXT");

    // One word of 300 characters closed by its quote.
    const std::string word(300, 'q');
    TextSource one{"\"" + word + "\" NEXT"};
    EXPECT_EQ(READ_STRING(one, ok), word.substr(0, 255));
    EXPECT_TRUE(ok);
    EXPECT_EQ(READ_TOKEN(one), "NEXT");

    // Exactly 255 characters keep every one and lose only the quotes.
    const std::string exact(255, 'e');
    TextSource edge{"\"" + exact + "\""};
    EXPECT_EQ(READ_STRING(edge, ok), exact);
}

TEST(DefinitionReader, Integers) {
    const struct {
        std::string_view text;
        bool ok;
        std::int32_t value;
    } rows[] = {
        {"5", true, 5},
        {"$1F", true, 31},
        {"0x1F", true, 31},
        {"x1F", true, 31},
        {"2147483647", true, 2147483647},
        {"2147483648", false, 0},
        {"12a", false, 0},
        {"{5}", false, 0},
        {"", false, 0},
    };
    for (const auto& row : rows) {
        TextSource source{std::string(row.text)};
        bool ok = !row.ok;
        EXPECT_EQ(READ_INT(source, ok), row.value) << row.text;
        EXPECT_EQ(ok, row.ok) << row.text;
    }
}

TEST(DefinitionReader, Cardinals) {
    const struct {
        std::string_view text;
        bool ok;
        std::uint32_t value;
    } rows[] = {
        {"4294967295", true, 4294967295u}, {"-1", true, 4294967295u},
        {"4294967296", true, 0},  // low 32 bits of a 64-bit number
        {"9223372036854775808", false, 0}, {"", false, 0},
    };
    for (const auto& row : rows) {
        TextSource source{std::string(row.text)};
        bool ok = !row.ok;
        EXPECT_EQ(READ_CARDINAL(source, ok), row.value) << row.text;
        EXPECT_EQ(ok, row.ok) << row.text;
    }
}

TEST(DefinitionReader, Reals) {
    const struct {
        std::string_view text;
        bool ok;
        double value;
    } rows[] = {
        {"-1.5E3", true, -1500}, {"1.7E38", true, 1.7e38},
        {"1.8E38", false, 0},  // beyond the range of the driver's reals
        {"1E-40", true, 0},    // below it: zero
        {"1,5", false, 0},       {"", false, 0},
    };
    for (const auto& row : rows) {
        TextSource source{std::string(row.text)};
        bool ok = !row.ok;
        EXPECT_EQ(READ_REAL(source, ok), row.value) << row.text;
        EXPECT_EQ(ok, row.ok) << row.text;
    }
}

TEST(DefinitionReader, ValuesFollowTheirKeywordsOverLines) {
    TextSource source{"MIN\r\n-10.5 MAX 100 JMENO\r\n\"A B\"\r\nIDENT $10 { end }\r\n"};
    bool ok = false;
    EXPECT_EQ(READ_TOKEN(source), "MIN");
    EXPECT_EQ(READ_REAL(source, ok), -10.5);
    EXPECT_EQ(READ_TOKEN(source), "MAX");
    EXPECT_EQ(READ_REAL(source, ok), 100);
    EXPECT_EQ(READ_TOKEN(source), "JMENO");
    EXPECT_EQ(READ_STRING(source, ok), "A B");
    EXPECT_EQ(READ_TOKEN(source), "IDENT");
    EXPECT_EQ(READ_INT(source, ok), 16);
    EXPECT_TRUE(ok);
    EXPECT_EQ(READ_TOKEN(source), "");
    EXPECT_TRUE(source.Eof());
}

// Where each token stood: "TOKEN@LINE:COLUMN", a string as "\"TEXT\"@...".
std::vector<std::string> Placed(std::string_view text) {
    TextSource source{std::string(text)};
    std::vector<std::string> placed;
    auto at = [&] {
        const TextPosition p = source.TokenPosition();
        return Concat({"@", std::to_string(p.line), ":", std::to_string(p.column)});
    };
    for (std::string token = READ_TOKEN(source); !token.empty(); token = READ_TOKEN(source)) {
        if (token == "S") {
            bool ok = false;
            const std::string value = READ_STRING(source, ok);
            placed.push_back(Concat({"\"", value, "\"", at(), ok ? "" : "!"}));
        } else {
            placed.push_back(Concat({token, at()}));
        }
    }
    placed.push_back(Concat({"end", at()}));
    return placed;
}

TEST(DefinitionReader, EveryTokenKeepsItsLineAndColumn) {
    const struct {
        std::string_view text;
        Words placed;
    } rows[] = {
        {"LEVEL 3", {"LEVEL@1:1", "3@1:7", "end@1:8"}},
        {"{ c }\r\n  IDENT\t5\r\n", {"IDENT@2:3", "5@2:9", "end@3:1"}},
        {"A\nB\r\n\r\n   C", {"A@1:1", "B@2:1", "C@4:4", "end@4:5"}},
        {"{ one\r\ntwo }\r\nX", {"X@3:1", "end@3:2"}},
        // A string is placed at its first word, wherever it ends.
        {"S \"two\r\n  words\" X", {"\"two words\"@1:3", "X@2:10", "end@2:11"}},
        {"A S \"never closed", {"A@1:1", "\"\"@1:5!", "end@1:18"}},
        {"A\x1A\nB", {"A@1:1", "end@1:2"}},
        // CR, LF and CR LF each end one line, whatever the file mixes.
        {"A\rB\r\r  C", {"A@1:1", "B@2:1", "C@4:3", "end@4:4"}},
        {"A\r\nB\nC\rD\n\rE", {"A@1:1", "B@2:1", "C@3:1", "D@4:1", "E@6:1", "end@6:2"}},
        {"\n\r\r\nX", {"X@4:1", "end@4:2"}},
        {"S \"two\r  words\" X", {"\"two words\"@1:3", "X@2:10", "end@2:11"}},
    };
    for (const auto& row : rows) EXPECT_EQ(Placed(row.text), row.placed) << row.text;
}

TEST(DefinitionReader, AnUnclosedCommentIsPlacedAtItsFirstWord) {
    const struct {
        std::string_view text;
        TextPosition open;  // {} when every comment closes
    } rows[] = {
        {"IDENT 5 {x} A", {}},
        {"IDENT\r  { never\r closed", {2, 3}},
        {"{ a } B\r\n{c {d", {2, 1}},  // the first word of the comment left open
        {"A {x", {1, 3}},
        {"A {x}", {}},
    };
    for (const auto& row : rows) {
        TextSource source{std::string(row.text)};
        while (!READ_TOKEN(source).empty()) {
        }
        EXPECT_EQ(source.UnclosedComment(), row.open) << row.text;
    }
}

TEST(DefinitionReader, PositionsAskedOutOfOrderAndTokensReadAgain) {
    TextSource source{"ONE\nTWO THREE\n"};
    READ_TOKEN(source);
    const std::size_t one = source.token_start();
    EXPECT_EQ(READ_TOKEN(source), "TWO");
    EXPECT_TRUE(source.TokenPosition() == (TextPosition{2, 1}));
    EXPECT_TRUE(source.PositionAt(one) == (TextPosition{1, 1}));  // back to an earlier place
    EXPECT_TRUE(source.NextPosition() == (TextPosition{2, 5}));
    source.Unread();
    EXPECT_EQ(READ_TOKEN(source), "TWO");
    EXPECT_EQ(READ_TOKEN(source), "THREE");
    EXPECT_FALSE(source.TokenSpansLines());
}

}  // namespace
}  // namespace lm
