#include "exports/export_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "exports/order_lines.h"

namespace lm {
namespace {

TEST(ExportText, LinesOfPiecesAsTheirTextsAndDecimals) {
    ExportText out;
    out.LineOf("a", 'b', std::string("c"), std::string_view(), static_cast<std::uint8_t>(200),
               static_cast<std::int16_t>(-5), std::numeric_limits<std::int64_t>::min(), ' ',
               std::numeric_limits<std::uint64_t>::max());
    out.Add("x");
    out.AddNumber(-7, 4);
    out.AddUnsigned(12345, 3);
    out.EndLine();
    out.Line("");
    EXPECT_EQ(out.text(),
              "abc200-5-9223372036854775808 18446744073709551615\r\nx  -712345\r\n\r\n");
}

TEST(ExportText, PiecesGoToTheSinkWholeLinesAtATime) {
    std::string sunk;
    int pieces = 0;
    ExportText out([&](std::string_view piece) {
        EXPECT_TRUE(piece.ends_with("\r\n"));
        EXPECT_TRUE(pieces == 0 || piece.size() < 2 * ExportText::kPieceBytes);
        sunk += piece;
        ++pieces;
    });
    // A line longer than a piece, then short lines past the next piece.
    const std::string long_line(ExportText::kPieceBytes + 1000, 'L');
    out.Line(long_line);
    std::string expected = long_line + "\r\n";
    for (int i = 0; i < 30000; ++i) {
        out.LineOf("line ", i);
        expected += "line " + std::to_string(i) + "\r\n";
    }
    out.Flush();
    EXPECT_EQ(pieces, 3);
    EXPECT_TRUE(sunk == expected) << "the sink got other bytes than the lines";
    EXPECT_EQ(out.text(), "");
}

TEST(OrderLines, FieldsRightAlignedInThreeAndNeverCut) {
    struct Row {
        unsigned ident, instance, item;
        OrderBytes bytes;
        const char* line;
    };
    const Row rows[] = {
        {0, 9, 10, {99, 100, 1, 0}, "QQwrite   0   9  10  99 100   1   0"},
        {255, 255, 255, {255, 255, 255, 255}, "QQwrite 255 255 255 255 255 255 255"},
        {256, 1, 2, {3, 4, 5, 6}, "QQwrite 256   1   2   3   4   5   6"},
        {1, 1000, 65535, {0, 0, 0, 7}, "QQwrite   1 1000 65535   0   0   0   7"},
    };
    for (const Row& row : rows) {
        ExportText out;
        WriteOrderLine(out, row.ident, row.instance, row.item, row.bytes);
        EXPECT_EQ(out.text(), std::string(row.line) + "\r\n");
    }
}

}  // namespace
}  // namespace lm
