// The conversion services through LumarDriver_Entry: the table of host calls,
// with each case's item defined in a definition file of the library, loaded
// by init objects, as the host meets it.
#include <gtest/gtest.h>

#include <cstdio>

#include "base/cp1250.h"
#include "base/item_codes.h"
#include "instances/lookups.h"
#include "tests/support/driver_fixture.h"
#include "tests/unit/values/conversion_cases.h"

namespace lm::test {
namespace {

const char* TypeWord(std::uint8_t typ) {
    switch (typ) {
        case kTypByte:
            return "BYTE";
        case kTypInt:
            return "INT";
        case kTypWord:
            return "WORD";
        case kTypLong:
            return "LONG";
        case kTypDword:
            return "DWORD";
        case kTypUser:
            return "USER";
    }
    return nullptr;
}

const char* SubtypeWord(std::uint8_t subtyp) {
    switch (subtyp) {
        case kSubtyp3BF:
            return "3BF";
        case kSubtypString:
            return "STRING";
        case kSubtypBit:
            return "BIT";
        case kSubtypWordHex:
            return "WORDHEX";
        case kSubtypByteHex:
            return "BYTEHEX";
        case kSubtypFloat:
            return "FLOAT";
    }
    return nullptr;
}

// A quoted definition text keeps single inner spaces only and no quotes.
bool Quotable(std::string_view text) {
    if (text.find('"') != std::string_view::npos) return false;
    if (!text.empty() && (text.front() == ' ' || text.back() == ' ')) return false;
    return text.find("  ") == std::string_view::npos;
}

// The definition of the case's item as object 7, item 3; empty when the
// definition language cannot express it (then the case is not run here).
std::string Definition(const ItemFacts& f) {
    const char* typ = TypeWord(f.typ);
    if (typ == nullptr || !Quotable(f.format) || !Quotable(f.default_text) || f.format.empty() ||
        f.name.empty()) {
        return {};
    }
    char limits[96];
    std::snprintf(limits, sizeof limits, "MIN %.17g MAX %.17g", f.min, f.max);
    std::string item = "ITEM IDENT 3 JMENO \"" + std::string(f.name) + "\" TYP " + typ;
    if (const char* sub = SubtypeWord(f.subtyp)) item += std::string(" SUBTYP ") + sub;
    item += " DELKA " + std::to_string(f.delka);
    item += " FORMAT \"" + std::string(f.format) + "\"";
    if (!f.default_text.empty()) item += " DEFAULT \"" + std::string(f.default_text) + "\"";
    item += std::string(" ") + limits + " ATRIBUTY (";
    if (f.attributes & kAttrJeDef) item += " JEDEF";
    if (f.attributes & kAttrJeMinMax) item += " JEMINMAX";
    item += " ) ITEM_END";
    return "OBJECT IDENT 7 JMENO \"T\" NAZEV \"T\" D_IN " + item + " D_IN_END OBJECT_END\r\n";
}

using ConversionThroughEntry = DriverFixture;

TEST_F(ConversionThroughEntry, TheTableOfHostCalls) {
    int run = 0;
    for (const ConversionCase& c : ConversionCases()) {
        SCOPED_TRACE(std::string(c.title));
        std::string definition =
            c.item ? Definition(*c.item) : std::string("OBJECT IDENT 7 JMENO \"T\" OBJECT_END\r\n");
        if (definition.empty()) continue;
        SetUp();
        WriteFile(dir_.driver_dir() / "TOOLS.INI",
                  "TOOL ID 1 OBJECTS T.DEF END_OBJECTS END_TOOL\r\n");
        WriteFile(dir_.driver_dir() / "T.DEF", definition);
        WriteFile(dir_.driver_dir() / "STARTUP.INI", "LOGFILE ON\r\n");
        Load();
        PARAM_ENTRY init = Record(kInitObjects);
        ASSERT_EQ(Call(init), 1);
        ASSERT_EQ(init.error, 0);

        HostCall call(c);
        PARAM_ENTRY& record = call.record;
        ExpectHostSees(c, record, Call(record));
        if (c.value_text) {
            // The library's own record carries the value, not an instance copy.
            dLM_DATAITEM* item = FIND_ITEM(driver().library().objects.head(), 7, 0, 3);
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->ext->value.view(), *c.value_text);
        }
        auto log = LogLines();
        std::size_t at = 0;
        for (std::string_view line : c.log) {
            while (at < log.size() && log[at] != line) ++at;
            EXPECT_LT(at, log.size()) << "log line missing or out of order: " << line;
            if (at < log.size()) ++at;
        }
        TearDown();
        std::filesystem::remove(LogFile());
        ++run;
    }
    // Most of the table can be written as definitions; the rest runs in the unit tests.
    EXPECT_GT(run, 100);
}

}  // namespace
}  // namespace lm::test
