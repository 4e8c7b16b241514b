#include "values/number_texts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace lm {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNan = std::numeric_limits<double>::quiet_NaN();

TEST(RealDefaultText, Table) {
    const struct {
        double x;
        const char* text;
    } rows[] = {
        {1.5, " 1.50000000000000E+0000"},
        {-1.5, "-1.50000000000000E+0000"},
        {0.0, " 0.00000000000000E+0000"},
        {-0.0, " 0.00000000000000E+0000"},
        {0.1, " 1.00000000000000E-0001"},
        {123456.789, " 1.23456789000000E+0005"},
        {-0.000999987125396728515625, "-9.99987125396729E-0004"},
        {std::nextafter(10.0, 0.0), " 1.00000000000000E+0001"},  // rounds into the next decade
        {1.7e38, " 1.70000000000000E+0038"},
        {1e300, " 1.00000000000000E+0300"},
        {-2.5e-300, "-2.50000000000000E-0300"},
        {std::numeric_limits<double>::denorm_min(), " 4.94065645841247E-0324"},
        {kInf, "+infinity"},
        {-kInf, "-infinity"},
        {kNan, "NaN/x87 err"},
    };
    for (const auto& row : rows) {
        const std::string text = REAL_DEFAULT_TEXT(row.x);
        EXPECT_EQ(text, row.text) << row.x;
        if (std::isfinite(row.x)) {
            EXPECT_EQ(text.size(), 23u) << row.x;
        }
    }
}

TEST(RealText, Table) {
    const struct {
        double x;
        int width;
        int decimals;
        const char* text;
    } rows[] = {
        {2.5, 0, 0, "3"},
        {-2.5, 0, 0, "-3"},
        {0.125, 0, 2, "0.13"},
        {-0.125, 0, 2, "-0.13"},
        {3.5, 0, 0, "4"},
        {0.5, 0, 0, "1"},
        {0.05, 0, 0, "0"},
        {0.049, 0, 1, "0.0"},
        {9.995, 0, 2, "9.99"},  // the double lies below the half
        {99.96, 0, 1, "100.0"},
        {1.5, 8, 2, "    1.50"},
        {-1.5, 8, 2, "   -1.50"},
        {12345.678, 3, 1, "12345.7"},  // never cut by the width
        {0.0, 0, 0, "0"},
        {0.0, 5, 3, "0.000"},
        {-0.0, 0, 1, "0.0"},
        {-0.001, 0, 2, "0.00"},  // rounds to zero: no minus
        {-0.006, 0, 2, "-0.01"},
        {12.344970703125, 0, 3, "12.345"},
        {1e20, 0, 0, "100000000000000000000"},
        // Reduced to 18 significant digits before rounding.
        {123456789012345685803008.0, 0, 0, "123456789012345686000000"},
        {1e-20, 0, 25, "0.0000000000000000000100000"},
        {1.0, -5, 1, "1.0"},  // a negative width counts as 0
        {1.0, 0, -2, "1"},    // negative decimals count as 0
        {kInf, 12, 2, "   +infinity"},
        {-kInf, 0, 0, "-infinity"},
        {kNan, 0, 0, "NaN/x87 err"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(REAL_TEXT(row.x, row.width, row.decimals), row.text)
            << row.x << " w" << row.width << " d" << row.decimals;
    }
}

TEST(RealText, HugeWidthAndDecimalsAreBounded) {
    EXPECT_EQ(REAL_TEXT(1.0, 100000, 0).size(), 255u);
    const std::string many = REAL_TEXT(1.0, 0, 100000);
    EXPECT_EQ(many.size(), 2u + 255u);
    EXPECT_EQ(many.substr(0, 4), "1.00");
}

TEST(RealFormatText, ZeroWidthAndDecimalsMeanTheDefaultForm) {
    EXPECT_EQ(REAL_FORMAT_TEXT(1.5, 0, 0), " 1.50000000000000E+0000");
    EXPECT_EQ(REAL_FORMAT_TEXT(1.5, 0, 1), "1.5");
    EXPECT_EQ(REAL_FORMAT_TEXT(1.5, 4, 0), "   2");
}

TEST(RoundInt, Table) {
    const struct {
        double x;
        std::int32_t result;
    } rows[] = {
        {2.5, 3},
        {-2.5, -3},
        {2.4999999999999996, 2},
        {-0.5, -1},
        {0.49999999999999994, 0},
        {3e9, 0},
        {-2147483648.5, 0},
        {-2147483648.4, -2147483648},
        {2147483647.4, 2147483647},
        {2147483647.5, 0},
        {1e300, 0},
        {kInf, 0},
        {-kInf, 0},
        {kNan, 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ROUND_INT(row.x), row.result) << row.x;
    }
}

TEST(SingleToText, Table) {
    const struct {
        std::uint32_t pattern;
        const char* text;
    } rows[] = {
        {0x3F800000, " 1.00000000000000E+0000"},
        {0xBF800000, "-1.00000000000000E+0000"},
        {0x3DCCCCCD, " 1.00000001490116E-0001"},  // 0.1f
        {0x7F800000, "+infinity"},
        {0xFF800000, "-infinity"},
        {0x7FC00001, "NaN/x87 err"},
        {0x7FC00000, "NaN/x87 err"},  // the quiet NaN is no infinity
        {0xFFC00000, "NaN/x87 err"},  // the x87 "indefinite"
        {0x7F800001, "NaN/x87 err"},  // signalling NaN
        {0x7F7FFFFF, "+infinity"},    // finite, but beyond 1E38
        {0xFF7FFFFF, "-infinity"},
        {0x7E967699, " 9.99999968028569E+0037"},  // the single just below 1E38
        {0x7E96769A, "+infinity"},                // and the one above it
        {0x00000000, " 0.00000000000000E+0000"},
        {0x80000000, " 0.00000000000000E+0000"},
        // Subnormals: F * 2^-126.
        {0x00000001, " 1.40129846432482E-0045"},
        {0x00400000, " 5.87747175411144E-0039"},
        {0x807FFFFF, "-1.17549421069244E-0038"},
        {0x00800000, " 1.17549435082229E-0038"},  // smallest normal
    };
    for (const auto& row : rows) {
        EXPECT_EQ(SINGLE_TO_TEXT(row.pattern), row.text) << std::hex << row.pattern;
    }
}

TEST(SingleToReal, GivesTheShownNumberOrNothing) {
    EXPECT_EQ(SingleToReal(0x40490FDB), static_cast<double>(3.14159274101257324f));
    EXPECT_EQ(SingleToReal(0xC0200000), -2.5);
    EXPECT_EQ(SingleToReal(0x7F800000), std::nullopt);
    EXPECT_EQ(SingleToReal(0x7FC00001), std::nullopt);
    EXPECT_EQ(SingleToReal(0x7F7FFFFF), std::nullopt);
}

TEST(FirmwareText, Table) {
    const struct {
        std::uint32_t version;
        const char* text;
    } rows[] = {
        {0, "?"},
        {5, "0.005"},
        {999, "0.999"},
        {2000, "2.000"},
        {2105, "2.105"},
        {12345, "12.345"},
        {65535, "65.535"},
        {70000, "4.464"},
        {65536, "?"},  // low 16 bits are 0
        {0xFFFF0000 + 2100, "2.100"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(FIRMWARE_TEXT(row.version), row.text) << row.version;
    }
}

}  // namespace
}  // namespace lm
