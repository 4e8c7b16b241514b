// Run mode of the real LMDRIVER.DLL under Wine: its 100 ms timer, registered
// messages and global atoms, with a window of this test playing the
// communication program and another playing a host window.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "base/host_records.h"
#include "base/window_messages.h"
#include "tests/e2e/dll_host.h"

namespace {

// What the test's two windows see; one test at a time.
struct Peers {
    UINT tolan = 0, rec_to_lmr = 0;
    HWND driver = nullptr, client = nullptr, host = nullptr;
    std::vector<std::string> received;          // texts the program got
    std::map<std::string, std::string> values;  // "oo ii tt" -> " b0 b1 b2 b3"
    std::vector<dLM_ITEMDATA> answers;          // what the host window got
    std::vector<std::uint8_t> first_bytes;      // data byte 0 of each answer
};
Peers* g_peers = nullptr;

void SendText(HWND to, WPARAM code, const std::string& text) {
    ATOM atom = GlobalAddAtomA(text.c_str());
    SendMessageA(to, g_peers->tolan, code, atom);
    GlobalDeleteAtom(atom);
}

LRESULT CALLBACK ClientProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    Peers& p = *g_peers;
    if (msg != p.tolan || wparam != 1) return DefWindowProcA(hwnd, msg, wparam, lparam);
    char text[256] = {};
    GlobalGetAtomNameA(static_cast<ATOM>(lparam), text, sizeof text);
    const std::string command = text;
    p.received.push_back(command);
    if (command.rfind("QQ_WR ", 0) == 0) {
        p.values[command.substr(6, 8)] = command.substr(14, 12);
    } else if (command.rfind("QQ_RD ", 0) == 0) {
        const std::string key = command.substr(6, 8);
        const std::string value = p.values.count(key) ? p.values[key] : " 00 00 00 00";
        SendText(p.driver, 2, "QQ_RD " + key + value + "|");
    } else if (command == "CLOSE|") {
        SendText(p.driver, 2, "CLIENT CLOSED|");
    }
    return 0;
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    Peers& p = *g_peers;
    if (msg != p.rec_to_lmr) return DefWindowProcA(hwnd, msg, wparam, lparam);
    const auto* block = reinterpret_cast<const dLM_ANSWER_BLOCK*>(lparam);
    p.answers.push_back(block->record);
    p.first_bytes.push_back(block->data[0]);
    return 0;
}

HWND MakeWindow(const char* name, WNDPROC proc) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
    return CreateWindowA(name, name, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

// Runs the message loop until `done` or `ms` have passed.
template <class Done>
bool PumpUntil(Done done, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(5);
    }
    return true;
}

class RealDllRunMode : public lm::test::DllHost {
protected:
    RealDllRunMode() : DllHost("lmdll-run-") {}

    void SetUp() override {
        DllHost::SetUp();
        const auto dir = work_ / "OVLADACE" / "KADEX2";
        std::ofstream(dir / "TOOLS.INI") << "TOOL ID 1 OBJECTS PUMP.DEF END_OBJECTS END_TOOL\r\n";
        std::ofstream(dir / "PUMP.DEF")
            << "OBJECT IDENT 11 JMENO \"PUMP\" D_IN ITEM IDENT 1 JMENO \"SPEED\" TYP LONG DELKA 4 "
               "ITEM_END D_IN_END OBJECT_END\r\n";
        std::ofstream(dir / "STARTUP.INI") << "LOGFILE OFF\r\n";
        std::ofstream(dir / "SETCOM.INI")
            << "1\r\n38400\r\n1\r\n1\r\n0\r\n1.5\r\n0\r\n\r\n1998\r\n";
        // StartRUN refuses run mode when ROZID7.EXE cannot start; this test
        // plays the program with its own window, so a program that starts and
        // ends at once stands in the folder: the system's hostname.exe.
        wchar_t system[MAX_PATH] = {};
        ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
        ASSERT_TRUE(CopyFileW((std::wstring(system) + L"\\hostname.exe").c_str(),
                              (dir / "ROZID7.EXE").wstring().c_str(), FALSE));
        g_peers = &peers_;
        peers_.tolan = RegisterWindowMessageA(lm::kMsgTolan);
        peers_.rec_to_lmr = RegisterWindowMessageA(lm::kMsgRecToLmr);
        peers_.client = MakeWindow("LmTestRozid7", ClientProc);
        peers_.host = MakeWindow("LmTestHost", HostProc);
        OpenDriver(true);
        if (HasFatalFailure()) return;
        peers_.driver = driver_window_;
        PARAM_ENTRY create = Record(13);
        create.wparam1 = 11;
        create.wparam2 = 1;
        ASSERT_EQ(Call(create), 1);
        PARAM_ENTRY start = Record(7);
        ASSERT_EQ(Call(start), 1);
        ASSERT_EQ(start.dlm_func, 0);
        SendMessageA(peers_.driver, peers_.tolan, 0, reinterpret_cast<LPARAM>(peers_.client));
    }
    void TearDown() override {
        UnloadDriver();
        DestroyWindow(peers_.client);
        DestroyWindow(peers_.host);
        g_peers = nullptr;
        DllHost::TearDown();
    }
    void Order(std::uint16_t period) {
        PARAM_ENTRY r = Record(15);
        r.wparam1 = 11;
        r.wparam2 = 1;
        r.lparam1 = 1;
        r.lparam2 = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(peers_.host));
        r.data2 = &period;
        ASSERT_EQ(Call(r), 1);
    }
    void SetData(std::uint32_t value) {
        PARAM_ENTRY r = Record(17);
        r.wparam1 = 11;
        r.wparam2 = 1;
        r.lparam1 = 1;
        r.data2 = &value;
        ASSERT_EQ(Call(r), 1);
    }

    Peers peers_;
};

TEST_F(RealDllRunMode, LiveValuesComeWithTheTimerAndAWriteShowsInTheNextRead) {
    Order(1);
    ASSERT_TRUE(PumpUntil([&] { return !peers_.answers.empty(); }, 5000));
    const dLM_ITEMDATA first = peers_.answers[0];
    EXPECT_EQ(first.kind, 2);
    EXPECT_EQ(first.obj, 11);
    EXPECT_EQ(first.valid, 1);
    EXPECT_EQ(first.length, 4);
    EXPECT_EQ(peers_.received[0], "QQ_RD 0B 01 01|");
    SetData(0x2A);
    ASSERT_TRUE(PumpUntil([&] { return peers_.first_bytes.back() == 0x2A; }, 5000));

    PARAM_ENTRY stop = Record(8);
    ASSERT_EQ(Call(stop), 1);
    EXPECT_EQ(peers_.received.back(), "CLOSE|");
    // "CLIENT CLOSED" stopped the timer: no more requests.
    const std::size_t requests = peers_.received.size();
    PumpUntil([] { return false; }, 400);
    EXPECT_EQ(peers_.received.size(), requests);
}

TEST_F(RealDllRunMode, AProgramAnnouncedAfterStopRunIsToldToCloseAndGetsNothingElse) {
    PARAM_ENTRY stop = Record(8);
    ASSERT_EQ(Call(stop), 1);
    ASSERT_EQ(peers_.received.back(), "CLOSE|");  // the first program has closed
    PARAM_ENTRY start = Record(7);
    ASSERT_EQ(Call(start), 1);
    ASSERT_EQ(start.dlm_func, 0);
    Order(1);
    SetData(0x33);
    PumpUntil([] { return false; }, 300);  // nothing known to send it to
    stop = Record(8);
    ASSERT_EQ(Call(stop), 1);
    EXPECT_EQ(stop.wparam1, 1);
    EXPECT_EQ(stop.dlm_func, 0);
    PumpUntil([] { return false; }, 300);
    const std::size_t before = peers_.received.size();
    SendMessageA(peers_.driver, peers_.tolan, 0, reinterpret_cast<LPARAM>(peers_.client));
    PumpUntil([] { return false; }, 400);
    const std::vector<std::string> after(peers_.received.begin() + before, peers_.received.end());
    EXPECT_EQ(after, std::vector<std::string>{"CLOSE|"});
    EXPECT_TRUE(peers_.answers.empty());
}

TEST_F(RealDllRunMode, StartRunDropsTheWritesLeftForAProgramThatVanished) {
    DestroyWindow(peers_.client);  // gone without "CLIENT CLOSED"
    SetData(0x33);
    PumpUntil([] { return false; }, 300);
    PARAM_ENTRY stop = Record(8);
    ASSERT_EQ(Call(stop), 1);
    PARAM_ENTRY start = Record(7);
    ASSERT_EQ(Call(start), 1);
    peers_.client = MakeWindow("LmTestRozid7", ClientProc);
    SendMessageA(peers_.driver, peers_.tolan, 0, reinterpret_cast<LPARAM>(peers_.client));
    Order(1);
    ASSERT_TRUE(PumpUntil([&] { return !peers_.answers.empty(); }, 5000));
    for (const std::string& text : peers_.received) EXPECT_NE(text.rfind("QQ_WR", 0), 0u) << text;
    EXPECT_EQ(peers_.first_bytes.back(), 0);  // the stale 0x33 never reached the plant
}

TEST_F(RealDllRunMode, AProgramWhoseWindowIsGoneNeitherBlocksNorCrashesTheDriver) {
    DestroyWindow(peers_.client);
    SetData(1);
    Order(1);
    PumpUntil([] { return false; }, 500);
    EXPECT_TRUE(peers_.received.empty());
    PARAM_ENTRY service = Record(25);
    EXPECT_EQ(Call(service), 1);
}

}  // namespace
