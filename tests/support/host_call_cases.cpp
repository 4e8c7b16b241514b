#include "tests/support/host_call_cases.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "base/item_codes.h"

namespace lm::test {
namespace {

// Function codes as the host sends them.
enum : std::uint16_t {
    kIdentifyCall = 1,
    kLoad = 2,
    kUnload = 3,
    kInit = 4,
    kErrTextCall = 5,
    kMenu = 6,
    kStartRunCall = 7,
    kStopRunCall = 8,
    kMenuItemCall = 9,
    kCreate = 13,
    kDelete = 14,
    kOrder = 15,
    kUnOrder = 16,
    kSet = 17,
    kAkce = 19,
    kNetListCall = 20,
    kLoadLineCall = 22,
    kSaveLineCall = 23,
    kFlagChange = 24,
    kStartLoad = 27,
    kEndLoad = 28,
    kBinToStrCall = 36,
    kStrToBinCall = 37,
    kLongCheckCall = 38,
    kUserLong = 39,
    kInfo = 56,
};
constexpr std::uint16_t kErrNotServed = 14;
constexpr std::uint16_t kMenuTranslate = 3000;  // asks a question, then NetList makes LMKOMUN.INI

// Sample objects: TEXTY (8 text items of the user's), TERMOST (inputs,
// outputs, no user items).
constexpr std::uint16_t kTexty = 60, kTermost = 43;

PARAM_ENTRY Rec(std::uint16_t code, std::uint16_t w1 = 0, std::uint16_t w2 = 0,
                std::uint32_t l1 = 0) {
    PARAM_ENTRY r{};
    r.lmd_func = code;
    r.wparam1 = w1;
    r.wparam2 = w2;
    r.lparam1 = l1;
    return r;
}

std::string Text(const char* text) {
    return text != nullptr ? std::string(text) : std::string("(null)");
}

// identify, load driver, init objects on the sample, get menu. A driver
// still loaded keeps its window and answers init objects with error 1.
void Start(HostSide& host, bool may_be_loaded = false) {
    PARAM_ENTRY identify = Rec(kIdentifyCall, 3, 0, 34);
    ASSERT_EQ(host.Call(identify), 1);
    PARAM_ENTRY load = Rec(kLoad);
    ASSERT_EQ(host.Call(load), 1);
    PARAM_ENTRY init = Rec(kInit);
    ASSERT_EQ(host.Call(init), 1);
    EXPECT_TRUE(init.error == 0 || (may_be_loaded && init.error == 1)) << init.error;
    PARAM_ENTRY menu = Rec(kMenu);
    ASSERT_EQ(host.Call(menu), 1);
}

void Create(HostSide& host, std::uint16_t ident, std::uint16_t instance) {
    PARAM_ENTRY create = Rec(kCreate, ident, instance);
    ASSERT_EQ(host.Call(create), 1);
    ASSERT_EQ(create.wparam1, 1) << ident << "/" << instance;
}

// One SaveLine: the line handed out ("" for none) and wparam1.
std::pair<std::string, std::uint16_t> SaveLine(HostSide& host, std::uint16_t ident,
                                               std::uint16_t instance) {
    PARAM_ENTRY save = Rec(kSaveLineCall, ident, instance);
    host.Call(save);
    const char* line = save.string1;
    return {line != nullptr ? std::string(line) : std::string(), save.wparam1};
}

// The line of the item `name`, whatever its value.
std::string LineOf(const std::string& line, const char* name) {
    const std::string start = std::string("K2_USER ") + name + " = \"";
    return line.rfind(start, 0) == 0 ? start : line;
}

int LoadLine(HostSide& host, std::uint16_t ident, std::uint16_t instance, const char* line) {
    PARAM_ENTRY load = Rec(kLoadLineCall, ident, instance);
    load.string1 = const_cast<char*>(line);
    EXPECT_EQ(host.Call(load), 1);
    return load.wparam1;
}

std::size_t LinesWith(HostSide& host, const std::string& part) {
    const auto log = host.LogLines();
    return static_cast<std::size_t>(std::count_if(log.begin(), log.end(), [&](const auto& line) {
        return line.find(part) != std::string::npos;
    }));
}

std::string ReadDriverFile(HostSide& host, const char* name) {
    std::ifstream in(host.DriverDir() + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// MenuItem "&Překlad" answered Yes: the host is asked for NetList.
void AskForKomunExport(HostSide& host) {
    host.AnswerYes();
    PARAM_ENTRY item = Rec(kMenuItemCall, kMenuTranslate);
    ASSERT_EQ(host.Call(item), 1);
    ASSERT_EQ(item.dlm_func, kNetListCall);
}

int NetList(HostSide& host, dLMN_NODE* head, std::uint32_t crc = 1) {
    PARAM_ENTRY netlist = Rec(kNetListCall, 0, 0, crc);
    netlist.pointer1 = head;
    const int result = host.Call(netlist);
    EXPECT_EQ(netlist.error, 0);
    return result;
}

// A form-2 constant of two bytes for item `item`.
dLMN_CONST TwoBytes(std::uint16_t item, std::uint8_t* bytes) {
    dLMN_CONST constant{};
    constant.level = 2;
    constant.item = item;
    constant.data = bytes;
    constant.length = 2;
    return constant;
}

// A host text of exactly 255 bytes and no zero byte, alone in its own
// allocation so that reading past it is reading past the host's memory.
std::unique_ptr<char[]> Unterminated(const std::string& text) {
    auto chars = std::make_unique<char[]>(255);
    for (std::size_t i = 0; i < 255; ++i) chars[i] = i < text.size() ? text[i] : text.back();
    return chars;
}

// --- The cases.

void EveryPointerNull(HostSide& host) {
    Start(host);
    Create(host, kTexty, 1);
    Create(host, kTermost, 2);
    struct Row {
        const char* what;
        PARAM_ENTRY record;
        int result;
        int error;    // -1: the host's value stays
        int wparam1;  // -1: not looked at
    };
    auto with_error = [](PARAM_ENTRY r) {
        r.error = 777;
        return r;
    };
    const Row rows[] = {
        {"CreateObject", with_error(Rec(kCreate, kTexty, 2)), 1, 0, 1},
        {"DeleteObject", with_error(Rec(kDelete, kTexty, 2, 2)), 1, 0, 1},
        {"OrderData without a period", with_error(Rec(kOrder, kTermost, 2, 1)), 1, 0, 0},
        {"UnOrderData", with_error(Rec(kUnOrder, kTermost, 2, 1)), 1, 0, 1},
        {"SetData without a value", with_error(Rec(kSet, kTermost, 2, 1)), 1, 0, -1},
        {"AkceItem, every request", with_error(Rec(kAkce, kTermost, 1, 0xFFFFFFFF)), 1, 0, -1},
        {"LoadLine without a line", with_error(Rec(kLoadLineCall, kTexty, 1)), 1, 0, 0},
        {"BINTOSTR without data", with_error(Rec(kBinToStrCall, kTypLong)), 1, 7, 0},
        {"STRTOBIN without a text", with_error(Rec(kStrToBinCall, kTypLong)), 0, 8, 0},
        {"LONG check", with_error(Rec(kLongCheckCall, kTermost, 1)), 1, -1, -1},
        {"USER/LONG without a value", with_error(Rec(kUserLong, kTermost, 0, kTypLong)), 1, -1, 0},
        {"NetList without its menu command", with_error(Rec(kNetListCall)), 0, -1, -1},
        {"FlagChangeDat", with_error(Rec(kFlagChange)), 1, 0, 0},
        {"InfoMsg", with_error(Rec(kInfo)), 1, 0, -1},
        {"init objects again", with_error(Rec(kInit)), 1, 1, -1},
    };
    for (const Row& row : rows) {
        PARAM_ENTRY r = row.record;
        EXPECT_EQ(host.Call(r), row.result) << row.what;
        if (row.error >= 0) {
            EXPECT_EQ(r.error, row.error) << row.what;
        } else {
            EXPECT_NE(r.error, kErrNotServed) << row.what;
        }
        if (row.wparam1 >= 0) {
            EXPECT_EQ(r.wparam1, row.wparam1) << row.what;
        }
    }
    // SaveLine with string1 null is how the host asks: it gets a line.
    EXPECT_EQ(LineOf(SaveLine(host, kTexty, 1).first, "TEXT1"), "K2_USER TEXT1 = \"");
    // A whole netlist export on a null netlist.
    AskForKomunExport(host);
    EXPECT_EQ(NetList(host, nullptr), 1);
    EXPECT_NE(ReadDriverFile(host, "LMKOMUN.INI").find("CRC32"), std::string::npos);
}

void UnterminatedTexts(HostSide& host) {
    Start(host);
    Create(host, kTexty, 1);
    // A project line that fills all 255 bytes: the value is cut to the
    // item's 80 characters.
    const auto line = Unterminated("K2_USER TEXT1 = \"" + std::string(238, 'A') + "\"");
    EXPECT_EQ(LoadLine(host, kTexty, 1, line.get()), 1);
    EXPECT_EQ(SaveLine(host, kTexty, 1).first, "K2_USER TEXT1 = \"" + std::string(80, 'A') + "\"");

    const auto digits = Unterminated(std::string(255, '9'));
    const auto format = Unterminated(std::string(255, '#'));
    PARAM_ENTRY to_bin = Rec(kStrToBinCall, kTypLong);
    to_bin.string1 = digits.get();
    to_bin.string2 = format.get();
    EXPECT_EQ(host.Call(to_bin), 0) << "255 digits are no LONG";
    EXPECT_EQ(to_bin.error, 8);

    std::uint8_t value[4] = {1, 2, 0, 0};
    PARAM_ENTRY to_text = Rec(kBinToStrCall, kTypLong);
    to_text.data1 = value;
    to_text.string1 = format.get();
    EXPECT_EQ(host.Call(to_text), 1);
    if (to_text.wparam1 == 1) {
        const char* text = to_text.string2;
        ASSERT_NE(text, nullptr);
        EXPECT_LT(std::strlen(text), 255u) << "a text handed out ends within its buffer";
    }

    PARAM_ENTRY akce = Rec(kAkce, kTermost, 1, 0xFFFFFFFE);  // every request on a text
    akce.string1 = digits.get();
    akce.string2 = format.get();
    EXPECT_EQ(host.Call(akce), 1);
    EXPECT_EQ(akce.error, 0);
}

void NodeListLoopsBack(HostSide& host) {
    Start(host);
    Create(host, kTermost, 2);
    Create(host, kTexty, 1);
    dLMN_NODE first{}, second{};
    first.ident = kTermost;
    first.instance = 2;
    second.ident = kTexty;
    second.instance = 1;
    first.next = &second;
    second.next = &first;
    AskForKomunExport(host);
    EXPECT_EQ(NetList(host, &first), 1);
    EXPECT_EQ(LinesWith(host, "node list loops back after 2 nodes"), 1u) << "told once";
    EXPECT_NE(ReadDriverFile(host, "LMKOMUN.INI").find("CRC32"), std::string::npos);
}

void WiresAndConstantsLoopBack(HostSide& host) {
    Start(host);
    Create(host, kTermost, 2);
    dLMN_NODE node{};
    node.ident = kTermost;
    node.instance = 2;
    dLMN_CONNECT wires[2]{};
    wires[0].item = 1;
    wires[0].other_item = 1;
    wires[0].other = &node;
    wires[0].next = &wires[1];
    wires[1] = wires[0];
    wires[1].next = &wires[0];
    std::uint8_t value[2] = {0xDC, 0x00};
    dLMN_CONST constant = TwoBytes(2, value);
    constant.next = &constant;  // its own successor
    node.connections = wires;
    node.constants = &constant;
    AskForKomunExport(host);
    EXPECT_EQ(NetList(host, &node), 1);
    EXPECT_EQ(LinesWith(host, "loops back after 2"), 1u) << "the wires, told once";
    EXPECT_EQ(LinesWith(host, "loops back after 1"), 1u) << "the constant, told once";
}

void RecordsHandedBackOrChanged(HostSide& host) {
    Start(host);
    Create(host, kTexty, 1);
    Create(host, kTexty, 2);
    const char first_text[] = "K2_USER TEXT1 = \"prvni\"";
    const char second_text[] = "K2_USER TEXT1 = \"druhy\"";
    ASSERT_EQ(LoadLine(host, kTexty, 1, first_text), 1);
    ASSERT_EQ(LoadLine(host, kTexty, 2, second_text), 1);

    // SaveLine's record handed back with the line still in string1: nothing
    // more is handed out.
    PARAM_ENTRY save = Rec(kSaveLineCall, kTexty, 1);
    ASSERT_EQ(host.Call(save), 1);
    const char* const handed = save.string1;
    ASSERT_NE(handed, nullptr);
    EXPECT_STREQ(handed, first_text);
    save.wparam1 = kTexty;
    EXPECT_EQ(host.Call(save), 0);
    const char* const kept = save.string1;  // a packed field: read by name
    EXPECT_EQ(kept, handed);
    // The driver's own buffer handed to LoadLine: the line is taken.
    EXPECT_EQ(LoadLine(host, kTexty, 1, handed), 1);

    // Two save sequences interleaved keep their own places.
    EXPECT_EQ(LineOf(SaveLine(host, kTexty, 1).first, "TEXT2"), "K2_USER TEXT2 = \"");
    EXPECT_EQ(SaveLine(host, kTexty, 2).first, second_text);
    EXPECT_EQ(LineOf(SaveLine(host, kTexty, 1).first, "TEXT3"), "K2_USER TEXT3 = \"");
    EXPECT_EQ(LineOf(SaveLine(host, kTexty, 2).first, "TEXT2"), "K2_USER TEXT2 = \"");

    // The conversion buffers handed back into the next conversion.
    PARAM_ENTRY to_bin = Rec(kStrToBinCall, kTypLong);
    to_bin.string1 = const_cast<char*>("1234");
    ASSERT_EQ(host.Call(to_bin), 1);
    PARAM_ENTRY to_text = Rec(kBinToStrCall, kTypLong);
    to_text.data1 = to_bin.data1;  // the driver's binary buffer
    ASSERT_EQ(host.Call(to_text), 1);
    const char* const text = to_text.string2;
    EXPECT_STREQ(text, "1234");
    PARAM_ENTRY again = Rec(kStrToBinCall, kTypLong);
    again.string1 = to_text.string2;  // the driver's text buffer
    ASSERT_EQ(host.Call(again), 1);
    std::uint8_t bytes[4];
    std::memcpy(bytes, again.data1, 4);
    EXPECT_EQ(bytes[0] | bytes[1] << 8, 1234);

    // A netlist whose constant changed between two exports: each export
    // takes what the record holds at its call.
    Create(host, kTermost, 2);
    std::uint8_t value[2] = {0x10, 0x00};
    dLMN_CONST constant = TwoBytes(2, value);
    dLMN_NODE node{};
    node.ident = kTermost;
    node.instance = 2;
    node.constants = &constant;
    AskForKomunExport(host);
    ASSERT_EQ(NetList(host, &node), 1);
    const std::string before = ReadDriverFile(host, "LMKOMUN.INI");
    value[0] = 0x20;
    AskForKomunExport(host);
    ASSERT_EQ(NetList(host, &node), 1);
    const std::string after = ReadDriverFile(host, "LMKOMUN.INI");
    EXPECT_NE(before, after);
    EXPECT_NE(after.find("32"), std::string::npos) << after;
}

void CallsOutOfOrder(HostSide& host) {
    // Before load driver: refused, the host's fields untouched.
    for (std::uint16_t code : {kInit, kUnload, kSaveLineCall, kStopRunCall}) {
        PARAM_ENTRY r = Rec(code, kTexty, 1);
        EXPECT_EQ(host.Call(r), 0) << code;
        EXPECT_EQ(r.error, kErrNotServed) << code;
        EXPECT_EQ(r.wparam1, kTexty) << code;
    }
    Start(host);
    // SaveLine and LoadLine before STARTLOADPRJ, and before any block.
    EXPECT_EQ(SaveLine(host, kTexty, 1), std::make_pair(std::string(), std::uint16_t{0}));
    EXPECT_EQ(LoadLine(host, kTexty, 1, "K2_USER TEXT1 = \"x\""), 0);
    // ENDLOADPRJ twice, STARTLOADPRJ twice, in reverse order.
    for (std::uint16_t code : {kEndLoad, kEndLoad, kStartLoad, kStartLoad, kEndLoad}) {
        PARAM_ENTRY r = Rec(code);
        r.error = 5;
        EXPECT_EQ(host.Call(r), 1) << code;
        EXPECT_EQ(r.error, 0) << code;
    }
    // Run-mode calls without StartRUN, StopRUN twice: answered, nothing shown.
    Create(host, kTermost, 2);
    std::uint16_t period = 5;
    std::uint8_t value[4] = {1, 0, 0, 0};
    PARAM_ENTRY order = Rec(kOrder, kTermost, 2, 1);
    order.data2 = &period;
    PARAM_ENTRY set = Rec(kSet, kTermost, 2, 1);
    set.data2 = value;
    PARAM_ENTRY unorder = Rec(kUnOrder, kTermost, 2, 1);
    for (PARAM_ENTRY* r : {&order, &set, &unorder}) EXPECT_EQ(host.Call(*r), 1) << r->lmd_func;
    for (int i = 0; i < 2; ++i) {
        PARAM_ENTRY stop = Rec(kStopRunCall);
        EXPECT_EQ(host.Call(stop), 1);
        EXPECT_EQ(stop.wparam1, 1);
        EXPECT_EQ(stop.dlm_func, 0);
    }
    EXPECT_TRUE(host.Boxes().empty());
    // A block deleted in the middle of its save sequence and placed again:
    // the new block's sequence starts at its first item.
    Create(host, kTexty, 1);
    EXPECT_EQ(LineOf(SaveLine(host, kTexty, 1).first, "TEXT1"), "K2_USER TEXT1 = \"");
    PARAM_ENTRY remove = Rec(kDelete, kTexty, 1, 2);
    ASSERT_EQ(host.Call(remove), 1);
    EXPECT_EQ(SaveLine(host, kTexty, 1), std::make_pair(std::string(), std::uint16_t{0}));
    Create(host, kTexty, 1);
    EXPECT_EQ(LineOf(SaveLine(host, kTexty, 1).first, "TEXT1"), "K2_USER TEXT1 = \"");
    // Unload, then unload again: the second is refused.
    PARAM_ENTRY unload = Rec(kUnload);
    EXPECT_EQ(host.Call(unload), 1);
    PARAM_ENTRY twice = Rec(kUnload);
    EXPECT_EQ(host.Call(twice), 0);
    EXPECT_EQ(twice.error, kErrNotServed);
}

void UnloadDuringAnExportsBox(HostSide& host) {
    Start(host);
    Create(host, kTermost, 2);
    AskForKomunExport(host);
    // Without the line settings the export tells the user in a box; the host
    // unloads the driver while that box is up.
    const std::string settings_file = host.DriverDir() + "SETCOM.INI";
    const std::string settings = ReadDriverFile(host, "SETCOM.INI");
    std::remove(settings_file.c_str());
    int unloaded = -1, menu_meanwhile = -1;
    std::uint16_t menu_error = 0;
    host.WhileNextBoxIsUp([&] {
        PARAM_ENTRY unload = Rec(kUnload);
        unloaded = host.Call(unload);
        PARAM_ENTRY menu = Rec(kMenu);
        menu_meanwhile = host.Call(menu);
        menu_error = menu.error;
    });
    const std::size_t boxes_before = host.Boxes().size();
    EXPECT_EQ(NetList(host, nullptr), 1) << "the export ends as it would have";
    EXPECT_GT(host.Boxes().size(), boxes_before) << "the user was told";
    EXPECT_EQ(unloaded, 1);
    EXPECT_EQ(menu_meanwhile, 0) << "a window being unloaded serves nothing";
    EXPECT_EQ(menu_error, kErrNotServed);
    // The window went when the export's call ended.
    PARAM_ENTRY after = Rec(kMenu);
    EXPECT_EQ(host.Call(after), 0);
    EXPECT_EQ(after.error, kErrNotServed);
    std::ofstream(settings_file, std::ios::binary) << settings;
}

}  // namespace

const std::vector<HostCallCase>& HostCallCases() {
    static const std::vector<HostCallCase> cases = {
        {"EveryPointerNull", EveryPointerNull},
        {"UnterminatedTexts", UnterminatedTexts},
        {"NodeListLoopsBack", NodeListLoopsBack},
        {"WiresAndConstantsLoopBack", WiresAndConstantsLoopBack},
        {"RecordsHandedBackOrChanged", RecordsHandedBackOrChanged},
        {"CallsOutOfOrder", CallsOutOfOrder},
        {"UnloadDuringAnExportsBox", UnloadDuringAnExportsBox},
    };
    return cases;
}

void ExpectDriverStillServes(HostSide& host) {
    Start(host, true);
    PARAM_ENTRY create = Rec(kCreate, kTexty, 77);
    ASSERT_EQ(host.Call(create), 1);
    ASSERT_EQ(create.wparam1, 1);
    const std::string line = SaveLine(host, kTexty, 77).first;
    EXPECT_EQ(LineOf(line, "TEXT1"), "K2_USER TEXT1 = \"");
    EXPECT_EQ(LoadLine(host, kTexty, 77, line.c_str()), 1);
    PARAM_ENTRY remove = Rec(kDelete, kTexty, 77, 2);
    EXPECT_EQ(host.Call(remove), 1);
    EXPECT_EQ(remove.wparam1, 1);
    PARAM_ENTRY errtext = Rec(kErrTextCall, 3);
    EXPECT_EQ(host.Call(errtext), 1);
    EXPECT_EQ(Text(errtext.string1).substr(0, 6), "Objekt");
    PARAM_ENTRY unload = Rec(kUnload);
    EXPECT_EQ(host.Call(unload), 1);
}

}  // namespace lm::test
