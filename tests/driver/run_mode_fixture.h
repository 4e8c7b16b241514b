// A driver in run mode on the fake platform: a small library, three placed
// blocks, the communication program's window and two host windows.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "frame/driver_menu.h"
#include "tests/support/driver_fixture.h"
#include "tools/lumarsim/headless_run_host.h"

namespace lm::test {

// PUMP (11): SPEED a LONG input (item 1), LABEL a string of user data
// (item 3), TAIL a string whose last items lie above 255 (item 250) and WIDE
// an output whose ident does not fit a command (item 300).
// BIG (300): an object code that does not fit a command.
inline constexpr const char kRunTools[] =
    "TOOL ID 1 POPIS \"Run\" OBJECTS PUMP.DEF BIG.DEF END_OBJECTS END_TOOL\r\n";
inline constexpr const char kPump[] =
    "OBJECT IDENT 11 JMENO \"PUMP\" NAZEV \"Cerpadlo\"\r\n"
    "D_IN ITEM IDENT 1 JMENO \"SPEED\" TYP LONG DELKA 4 DEFAULT \"0\" CW_OUT READ ITEM_END "
    "D_IN_END\r\n"
    "D_OUT ITEM IDENT 300 JMENO \"WIDE\" TYP WORD DELKA 2 DEFAULT \"0\" ITEM_END D_OUT_END\r\n"
    "DATA_USER ITEM IDENT 3 JMENO \"LABEL\" TYP USER SUBTYP STRING DELKA 20 "
    "FORMAT \"????????????????????\" DEFAULT \"x\" ITEM_END "
    "ITEM IDENT 250 JMENO \"TAIL\" TYP USER SUBTYP STRING DELKA 32 "
    "FORMAT \"????????????????????????????????\" DEFAULT \"y\" ITEM_END DATA_USER_END\r\n"
    "OBJECT_END\r\n";
inline constexpr const char kBig[] =
    "OBJECT IDENT 300 JMENO \"BIG\" NAZEV \"Velky\"\r\n"
    "D_IN ITEM IDENT 1 JMENO \"IN\" TYP WORD DELKA 2 DEFAULT \"0\" ITEM_END D_IN_END\r\n"
    "OBJECT_END\r\n";
inline constexpr const char kSetCom[] =
    "1\r\n38400\r\n1\r\n1\r\n0\r\n1.5\r\n0\r\n10.0.0.1\r\n1998\r\n";

class RunModeFixture : public DriverFixture {
protected:
    void SetUp() override {
        ResetPeers();  // a table row starts afresh
        DriverFixture::SetUp();
        peers_ = std::make_unique<lumarsim::HeadlessRunHost>(*fake_);
        client_ = &peers_->AddProgram();
        host_ = &peers_->AddHostWindow();
        other_ = &peers_->AddHostWindow();
    }
    void TearDown() override {
        ResetPeers();
        DriverFixture::TearDown();
    }
    void ResetPeers() {
        client_ = nullptr;
        host_ = other_ = nullptr;
        peers_.reset();
        tick_ = 0;
        request_ticks_.clear();
    }

    // The library loaded, PUMP 1, PUMP 2 and BIG 1 placed, the menu built.
    // Without `with_setcom` the settings file goes once the window has shown
    // the settings.
    void Prepare(bool with_setcom = true) {
        WriteFile(dir_.driver_dir() / "TOOLS.INI", kRunTools);
        WriteFile(dir_.driver_dir() / "PUMP.DEF", kPump);
        WriteFile(dir_.driver_dir() / "BIG.DEF", kBig);
        WriteFile(dir_.driver_dir() / "STARTUP.INI", "LOGFILE OFF\r\n");
        WriteFile(dir_.driver_dir() / "SETCOM.INI", kSetCom);
        Load();
        if (!with_setcom) std::filesystem::remove(dir_.driver_dir() / "SETCOM.INI");
        PARAM_ENTRY init = Record(kInitObjects);
        ASSERT_EQ(Call(init), 1);
        ASSERT_EQ(init.error, 0);
        for (auto [ident, instance] : {std::pair{11, 1}, {11, 2}, {300, 1}}) {
            PARAM_ENTRY create = Record(kCreateObject);
            create.wparam1 = static_cast<std::uint16_t>(ident);
            create.wparam2 = static_cast<std::uint16_t>(instance);
            ASSERT_EQ(Call(create), 1);
            ASSERT_EQ(create.wparam1, 1);
        }
        PARAM_ENTRY menu = Record(kGetMenu);
        Call(menu);
        menu_ = menu.lparam1;
    }
    PARAM_ENTRY StartRun(std::uint32_t crc = 0) {
        PARAM_ENTRY start = Record(kStartRun);
        start.lparam1 = crc;
        EXPECT_EQ(Call(start), 1);
        return start;
    }
    // Prepared, run mode started and the program announced.
    void Running() {
        Prepare();
        StartRun();
        client_->Announce();
    }

    PARAM_ENTRY OrderRecord(std::uint16_t obj, std::uint16_t instance, std::uint32_t item,
                            WindowHandle window, std::uintptr_t tag) {
        PARAM_ENTRY r = Record(kOrderData);
        r.wparam1 = obj;
        r.wparam2 = instance;
        r.lparam1 = item;
        r.lparam2 = static_cast<std::uint32_t>(window);
        r.data1 = reinterpret_cast<void*>(tag);
        return r;
    }
    void Order(std::uint16_t obj, std::uint16_t instance, std::uint32_t item, WindowHandle window,
               std::uint16_t period, std::uintptr_t tag = 1) {
        PARAM_ENTRY r = OrderRecord(obj, instance, item, window, tag);
        r.data2 = &period;
        ASSERT_EQ(Call(r), 1);
        ASSERT_EQ(r.wparam1, 1);
    }
    void Unorder(std::uint16_t obj, std::uint16_t instance, std::uint32_t item, WindowHandle window,
                 std::uintptr_t tag = 1) {
        PARAM_ENTRY r = OrderRecord(obj, instance, item, window, tag);
        r.lmd_func = kUnOrderData;
        ASSERT_EQ(Call(r), 1);
        EXPECT_EQ(r.wparam1, 1);
    }
    void SetData(std::uint16_t obj, std::uint16_t instance, std::uint32_t item,
                 std::uint32_t value) {
        PARAM_ENTRY r = Record(kSetData);
        r.wparam1 = obj;
        r.wparam2 = instance;
        r.lparam1 = item;
        r.data2 = &value;
        ASSERT_EQ(Call(r), 1);
    }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) {
            ++tick_;
            fake_->Tick();
        }
    }
    // The program answers every read at once (inside the driver's send)
    // with these bytes, and notes the tick of each request.
    void AnswerReadsWith(std::vector<std::uint8_t> bytes) {
        client_->on_text = [this, bytes](const std::string& text) {
            if (!text.starts_with("QQ_RD")) return;
            request_ticks_.push_back(tick_);
            client_->Send(lumarsim::DataAnswerFor(text, bytes));
        };
    }
    RunService& run() { return driver().run(); }
    bool MenuItemEnabled(std::uint16_t id) {
        for (const auto& item : fake_->MenuItems(menu_))
            if (item.entry.id == id) return item.enabled;
        ADD_FAILURE() << "no menu item " << id;
        return false;
    }
    bool Logged(std::string_view line) {
        auto log = LogLines();
        return std::find(log.begin(), log.end(), line) != log.end();
    }

    // The communication program and two host windows, in this order.
    std::unique_ptr<lumarsim::HeadlessRunHost> peers_;
    lumarsim::ScriptedProgram* client_ = nullptr;
    lumarsim::HostWindow *host_ = nullptr, *other_ = nullptr;
    MenuHandle menu_ = 0;
    int tick_ = 0;
    std::vector<int> request_ticks_;
};

}  // namespace lm::test
