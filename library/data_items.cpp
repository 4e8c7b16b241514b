#include "library/data_items.h"

#include <array>
#include <string_view>

#include "base/bounded_text.h"
#include "library/attribute_group.h"
#include "library/load_problems.h"
#include "library/new_text.h"
#include "library/texts.h"
#include "values/short_real.h"

namespace lm {

namespace {

struct Keyword {
    std::string_view word;
    std::uint8_t code;
};

constexpr std::array<Keyword, 6> kTypes = {{
    {"BYTE", kTypByte},
    {"INT", kTypInt},
    {"WORD", kTypWord},
    {"LONG", kTypLong},
    {"DWORD", kTypDword},
    {"USER", kTypUser},
}};

constexpr std::array<Keyword, 6> kSubtypes = {{
    {"3BF", kSubtyp3BF},
    {"STRING", kSubtypString},
    {"BIT", kSubtypBit},
    {"WORDHEX", kSubtypWordHex},
    {"BYTEHEX", kSubtypByteHex},
    {"FLOAT", kSubtypFloat},
}};

constexpr std::array<Keyword, 4> kDirections = {{
    {"NONE", kCwOutNone},
    {"READ", kCwOutRead},
    {"WRITE", kCwOutWrite},
    {"BIDIR", kCwOutBidir},
}};

constexpr std::array<AttributeName, 8> kItemAttributes = {{
    {"SETRUN", kAttrSetRun},
    {"SETEDIT", kAttrSetEdit},
    {"DOBLOKU", kAttrDoBloku},
    {"ZOBRAZ", kAttrZobraz},
    {"JEDEF", kAttrJeDef},
    {"JEMINMAX", kAttrJeMinMax},
    {"EDITFORM", kAttrEditForm},
    {"POLE", kAttrPole},
}};

constexpr std::string_view kTypMessage =
    "LOAD DATAITEM TYP: ocekavano BYTE, INT, WORD, LONG, DWORD nebo USER.";
constexpr std::string_view kSubtypMessage =
    "LOAD DATAITEM SUBTYP: ocekavano 3BF, FLOAT, STRING, BIT, BYTEHEX nebo WORDHEX";
constexpr std::string_view kCwOutMessage =
    "LOAD DATAITEM CW_OUT: ocekavano READ, WRITE, BIDIR nebo NONE.";
constexpr std::string_view kNoNameOrTypMessage = "LOAD DATAITEM: JMENO nebo TYP nedefinovano";

template <std::size_t N>
bool Lookup(const std::array<Keyword, N>& table, std::string_view word, std::uint8_t& code) {
    for (const Keyword& keyword : table) {
        if (word == keyword.word) {
            code = keyword.code;
            return true;
        }
    }
    return false;
}

// A short real as its 6 bytes. Values outside the short real's range cannot
// come from the reader; should one come from elsewhere it is stored as 0.
void StoreShortReal(std::uint8_t (&bytes)[6], double value) {
    const ShortRealBytes encoded = EncodeShortReal(value).value_or(ShortRealBytes{});
    for (std::size_t i = 0; i < encoded.size(); ++i) bytes[i] = encoded[i];
}

std::string_view TextOf(const char* owned, std::size_t limit) {
    return ReadZeroText(owned, limit);
}

}  // namespace

namespace {

// Checking mode: a keyword value that is none of the words allowed.
void ReportUnknownWord(TextSource& source, std::string_view code, std::string_view message,
                       std::string_view keyword, std::string_view token, std::string_view allowed) {
    const std::string what =
        token.empty() ? Concat({keyword, ": the file ends where ", allowed, " should follow"})
                      : Concat({keyword, " \"", ShownToken(token), "\" is none of ", allowed});
    ReportProblem(source, Severity::Error, source.TokenPosition(), code, message,
                  Concat({what, "; ", kStopsLibrary}));
}

}  // namespace

bool READ_TYP(TextSource& source, std::string& error, std::size_t error_limit, TypMode mode,
              std::uint8_t& code) {
    const std::string token = READ_TOKEN(source);
    error.clear();
    const bool type_mode = mode == TypMode::Type;
    if (type_mode ? Lookup(kTypes, token, code) : Lookup(kSubtypes, token, code)) return true;
    SetErrorText(error, error_limit, type_mode ? kTypMessage : kSubtypMessage);
    if (type_mode) {
        ReportUnknownWord(source, "bad-typ", kTypMessage, "TYP", token,
                          "BYTE, INT, WORD, LONG, DWORD, USER (upper case)");
    } else {
        ReportUnknownWord(source, "bad-subtyp", kSubtypMessage, "SUBTYP", token,
                          "3BF, FLOAT, STRING, BIT, BYTEHEX, WORDHEX (upper case)");
    }
    return false;
}

bool READ_CW_OUT(TextSource& source, std::string& error, std::size_t error_limit,
                 std::uint8_t& code, LogSink& log) {
    const std::string token = READ_TOKEN(source);
    log.WriteWith([&] { return Concat({"READ_CW_OUT: \"", token, "\""}); });
    if (Lookup(kDirections, token, code)) return true;
    SetErrorText(error, error_limit, kCwOutMessage);
    ReportUnknownWord(source, "bad-cw-out", kCwOutMessage, "CW_OUT", token,
                      "READ, WRITE, BIDIR, NONE (upper case)");
    return false;
}

bool LOADDATAITEM_ATTR(TextSource& source, std::string& error, std::size_t error_limit,
                       std::uint32_t& attributes) {
    return ReadAttributeGroup(source, kItemAttributes, "LOADDATAITEM_ATTR", error, error_limit,
                              attributes);
}

namespace {

// Checking mode, after a token the item block does not know: it is reported
// and the words after it are skipped up to the next keyword of the block or a
// word that ends the block.
void SkipUnknownInItem(TextSource& source) {
    ReportProblem(source, Severity::Warning, source.TokenPosition(), "ignored-word", "",
                  Concat({"\"", ShownToken(source.TokenText()),
                          "\" is no keyword of an ITEM block; the driver skips it"}));
    while (true) {
        const std::string token = READ_TOKEN(source);
        if (token.empty()) return;
        if (IsItemKeyword(token) || IsStructureWord(token)) {
            source.Unread();
            return;
        }
    }
}

}  // namespace

bool LOAD_DATAITEM(TextSource& source, ItemList& list, std::string& error, std::size_t error_limit,
                   LogSink& log) {
    LoadProblems* const checking = source.problems();
    const int errors_before = checking != nullptr ? checking->errors() : 0;
    BlockPositions at;  // filled only while checking
    at.start = checking != nullptr ? source.TokenPosition() : TextPosition{};
    // While checking, the reading goes on after a failed value; the error text
    // keeps the first failure's message, as the driver would have stopped there.
    FirstFailure first;

    ItemFields f;
    bool ok = true;
    KeywordValues values(source, ok, at, kNoNameOrTypMessage, kStopsLibrary);
    while (ok) {
        const std::string token = READ_TOKEN(source);
        // The end of input ends the block as ITEM_END does; the item is then
        // judged on what was read.
        if (token.empty() || token == "ITEM_END") {
            if (checking != nullptr && token.empty() && !source.spent()) {
                ReportProblem(
                    source, Severity::Error, at.start, "missing-end", "",
                    Concat({"ITEM_END missing: the file ends inside this item; ", kSkipsObject}));
            }
            break;
        }
        if (checking != nullptr && IsStructureWord(token)) {
            ReportProblem(source, Severity::Error, source.TokenPosition(), "missing-end", "",
                          Concat({"ITEM_END missing before ", token, " (the item begins at line ",
                                  std::to_string(at.start.line),
                                  "); the driver reads on into what follows"}));
            source.Unread();
            break;
        }
        if (token == "IDENT") {
            f.ident = values.IntAs<std::uint16_t>("IDENT");
        } else if (token == "JMENO") {
            f.name = values.Text("JMENO", kItemNameLimit);
        } else if (token == "HELP1") {
            f.help = values.Text("HELP1", kItemHelpLimit);
        } else if (token == "HELP2") {
            f.second_help = values.Text("HELP2", kItemHelpLimit);
        } else if (token == "TYP") {
            ok = READ_TYP(source, error, error_limit, TypMode::Type, f.typ);
            values.Kept("TYP");
        } else if (token == "DELKA") {
            f.delka = values.IntAs<std::uint16_t>("DELKA");
        } else if (token == "FORMAT") {
            f.format = values.Text("FORMAT", kItemFormatLimit);
        } else if (token == "POZICE_X") {
            f.pos_x = values.IntAs<std::uint16_t>("POZICE_X");
        } else if (token == "POZICE_Y") {
            f.pos_y = values.IntAs<std::uint16_t>("POZICE_Y");
        } else if (token == "ATRIBUTY") {
            values.Kept("ATRIBUTY");
            ok = LOADDATAITEM_ATTR(source, error, error_limit, f.attributes);
        } else if (token == "LABEL") {
            f.label = values.Text("LABEL", kItemLabelLimit);
        } else if (token == "INDEX") {
            f.index = values.Text("INDEX", kMaxText);
        } else if (token == "SUBTYP") {
            ok = READ_TYP(source, error, error_limit, TypMode::Subtype, f.subtyp);
            values.Kept("SUBTYP");
        } else if (token == "SUBINDEX") {
            f.subindex = values.IntAs<std::uint8_t>("SUBINDEX");
        } else if (token == "DEFAULT") {
            f.default_value = values.Text("DEFAULT", kItemValueTextLimit);
        } else if (token == "MIN") {
            f.min = values.Real("MIN");
        } else if (token == "MAX") {
            f.max = values.Real("MAX");
        } else if (token == "CW_OUT") {
            ok = READ_CW_OUT(source, error, error_limit, f.cw_out, log);
            values.Kept("CW_OUT");
        } else if (checking != nullptr) {
            SkipUnknownInItem(source);
        }
        // Any other token is skipped.
        first.ReadOn(ok, error, checking != nullptr);
    }
    if (checking != nullptr) {
        const bool incomplete = f.name.empty() || f.typ == 0;
        if (!first.failed() && incomplete) {
            ReportProblem(source, Severity::Error, at.start, "no-name-or-typ", kNoNameOrTypMessage,
                          Concat({f.name.empty() ? "the item has no JMENO" : "the item has no TYP",
                                  "; ", kStopsLibrary}));
        }
        const bool item_failed = checking->errors() != errors_before;
        checking->ItemRead(f, at, item_failed);
        if (item_failed) {
            // The message the driver would have stopped with: the first failed
            // value's, or none when the item only lacks its end.
            error.clear();
            if (first.failed() && !first.text().empty()) {
                SetErrorText(error, error_limit, first.text());
            } else if (first.failed() || incomplete) {
                SetErrorText(error, error_limit, kNoNameOrTypMessage);
            }
            return false;
        }
    }
    if (ok && !f.name.empty() && f.typ != kTypNone) {
        error.clear();
        // A check builds no records: what was read has gone to the collector.
        if (checking == nullptr) INS_DATAITEM(list, f, log);
        return true;
    }
    if (error.empty()) SetErrorText(error, error_limit, kNoNameOrTypMessage);
    return false;
}

dLM_DATAITEM* INS_DATAITEM(ItemList& list, const ItemFields& fields, LogSink& log) {
    OwnedRecord<dLM_DATAITEM> item = NewRecord<dLM_DATAITEM>();
    item->ext = NewRecord<dLM_DATAITEM_EXT>().release();  // owned by the item from here on
    item->ident = fields.ident;
    item->name = NEW_TEXT(fields.name, kItemNameLimit).release();
    item->help = NEW_TEXT(fields.help, kItemHelpLimit).release();
    item->second_help = NEW_TEXT(fields.second_help, kItemHelpLimit).release();
    item->typ = fields.typ;
    item->delka = fields.delka;
    item->format = NEW_TEXT(fields.format, kItemFormatLimit).release();
    item->pos_x = fields.pos_x;
    item->pos_y = fields.pos_y;
    item->attributes = fields.attributes;

    dLM_DATAITEM_EXT& ext = *item->ext;
    ext.subtyp = fields.subtyp;
    ext.label.assign(fields.label);
    ext.index.assign(fields.index);
    ext.subindex = fields.subindex;
    ext.default_value.assign(fields.default_value);
    ext.value.assign(fields.default_value);
    StoreShortReal(ext.min, fields.min);
    StoreShortReal(ext.max, fields.max);
    ext.save_flag = fields.save_flag;
    ext.cw_out = fields.cw_out;
    ext.cw_selected = fields.cw_selected;

    dLM_DATAITEM* appended = list.Append(std::move(item));
    log.WriteWith([&] { return Concat({"INS_DATAITEM: ", appended->name}); });
    return appended;
}

ItemFields FieldsOf(const dLM_DATAITEM& item) {
    ItemFields f;
    f.ident = item.ident;
    f.name = TextOf(item.name, kItemNameLimit);
    f.help = TextOf(item.help, kItemHelpLimit);
    f.second_help = TextOf(item.second_help, kItemHelpLimit);
    f.typ = item.typ;
    f.delka = item.delka;
    f.format = TextOf(item.format, kItemFormatLimit);
    f.pos_x = item.pos_x;
    f.pos_y = item.pos_y;
    f.attributes = item.attributes;
    if (const dLM_DATAITEM_EXT* ext = item.ext) {
        f.subtyp = ext->subtyp;
        f.subindex = ext->subindex;
        f.label = ext->label.view();
        f.index = ext->index.view();
        f.default_value = ext->default_value.view();
        f.min = DecodeShortReal(ext->min);
        f.max = DecodeShortReal(ext->max);
        f.save_flag = ext->save_flag;
        f.cw_out = ext->cw_out;
        f.cw_selected = ext->cw_selected;
    }
    return f;
}

dLM_DATAITEM* COPY_DATAITEM(const dLM_DATAITEM& source, ItemList& target, LogSink& log) {
    return INS_DATAITEM(target, FieldsOf(source), log);
}

void FREE_DATAITEMS(ItemList& list) {
    list.Clear();
}

double ItemMin(const dLM_DATAITEM& item) {
    return item.ext != nullptr ? DecodeShortReal(item.ext->min) : ItemFields{}.min;
}

double ItemMax(const dLM_DATAITEM& item) {
    return item.ext != nullptr ? DecodeShortReal(item.ext->max) : ItemFields{}.max;
}

}  // namespace lm
