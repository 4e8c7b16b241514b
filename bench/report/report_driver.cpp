#include "bench/report/report_driver.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <numeric>
#include <vector>

#include "base/window_messages.h"
#include "frame/entry.h"
#include "library/objects.h"
#include "library/record_lists.h"

namespace lm::report {

namespace fs = std::filesystem;

std::uint64_t ReportDriver::calls_ = 0;

ReportDriver::ReportDriver(bool run_mode) {
    // A folder of this process: runs side by side (two builds, other
    // worktrees) must not remove each other's driver directory.
    work_ = fs::temp_directory_path() / ("lmdriver-report-bench-" + std::to_string(getpid()));
    dir_ = work_ / "OVLADACE" / "KADEX2";
    fs::remove_all(work_);
    fs::create_directories(dir_);
    std::ofstream tools(dir_ / "TOOLS.INI");
    tools << "TOOL ID 1 OBJECTS";
    for (int o = 0; o < kObjects; ++o) tools << " BLOCK" << o << ".DEF";
    tools << " END_OBJECTS END_TOOL\r\n";
    tools.close();
    std::ofstream(dir_ / "STARTUP.INI") << "LOGFILE OFF\r\n";
    std::ofstream(dir_ / "SETCOM.INI") << "1\r\n38400\r\n1\r\n1\r\n0\r\n1.5\r\n0\r\n\r\n1998\r\n";
    for (int o = 0; o < kObjects; ++o) {
        std::ofstream block(dir_ / ("BLOCK" + std::to_string(o) + ".DEF"));
        block << "OBJECT IDENT " << kFirstIdent + o << " JMENO \"BLOCK" << o << "\" DATA_USER\r\n";
        for (int i = 0; i < kItemsPerBlock; ++i) {
            block << "ITEM IDENT " << kFirstItem + i << " JMENO \"U" << i
                  << "\" TYP WORD DELKA 2 FORMAT \"#####\" DEFAULT \"" << i << "\" ITEM_END\r\n";
        }
        block << "DATA_USER_END OBJECT_END\r\n";
    }
    fs::current_path(work_);
    auto owned = std::make_unique<HeadlessPlatform>();
    owned->SetQuiet(true);
    platform_ = owned.get();
    InstallPlatform(std::move(owned));
    tolan_ = platform_->RegisterMessage(kMsgTolan);
    Call(kLoadDriver);
    Call(kInitObjects);
    if (!run_mode) return;
    host_ = platform_->AddWindow([this](unsigned, std::uintptr_t, std::intptr_t lparam) {
        ++answers_;
        const auto* data = reinterpret_cast<const dLM_ITEMDATA*>(lparam);
        if (data != nullptr) {
            answer_check_.Add(std::to_string(data->obj) + ":" + std::to_string(data->instance) +
                              "." + std::to_string(data->item));
        }
        return 0;
    });
    client_ =
        platform_->AddWindow([this](unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
            if (msg == tolan_ && wparam == 1) {
                std::string text = platform_->GlobalAtomName(static_cast<AtomId>(lparam));
                text.resize(std::min<std::size_t>(text.size(), 14));
                text += " 01 02 03 04|";
                const AtomId atom = platform_->AddGlobalAtom(text);
                platform_->SendMessageTo(platform_->driver_window(), tolan_, 2, atom);
                platform_->DeleteGlobalAtom(atom);
            }
            return 0;
        });
    Call(kStartRun);
    // The program announces its window.
    platform_->SendMessageTo(platform_->driver_window(), tolan_, 0,
                             static_cast<std::intptr_t>(client_));
}

ReportDriver::~ReportDriver() {
    ReleaseTheEntry();
    fs::current_path(fs::temp_directory_path());
    std::error_code ignored;
    fs::remove_all(work_, ignored);
}

PARAM_ENTRY ReportDriver::Call(PARAM_ENTRY record) {
    ++calls_;
    LumarDriver_Entry(&record);
    return record;
}

PARAM_ENTRY ReportDriver::Call(std::uint16_t code, std::uint16_t w1, std::uint16_t w2,
                               const char* text) {
    PARAM_ENTRY r{};
    r.lmd_func = code;
    r.wparam1 = w1;
    r.wparam2 = w2;
    r.string1 = const_cast<char*>(text);
    return Call(r);
}

void ReportDriver::CreateAll(int blocks) {
    for (int b = 0; b < blocks; ++b) {
        const Block block = BlockAt(b);
        Call(kCreateObject, block.ident, block.instance);
    }
}

std::vector<std::string> ReportDriver::SaveAll(int blocks) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(blocks) * kItemsPerBlock);
    SaveAll(blocks, [&lines](const char* line) { lines.emplace_back(line); });
    return lines;
}

void ReportDriver::SaveAll(int blocks, const std::function<void(const char*)>& take) {
    for (int b = 0; b < blocks; ++b) {
        const Block block = BlockAt(b);
        for (;;) {
            const PARAM_ENTRY r = Call(kSaveLine, block.ident, block.instance);
            if (r.string1 != nullptr) take(r.string1);
            if (r.wparam1 == 0) break;
        }
    }
}

void ReportDriver::LoadAll(int blocks, const std::vector<std::string>& lines) {
    Call(kStartLoadPrj);
    std::size_t next = 0;
    for (int b = 0; b < blocks; ++b) {
        const Block block = BlockAt(b);
        Call(kCreateObject, block.ident, block.instance);
        for (int k = 0; k < kItemsPerBlock && next < lines.size(); ++k) {
            Call(kLoadLine, block.ident, block.instance, lines[next++].c_str());
        }
    }
    Call(kEndLoadPrj);
}

void ReportDriver::LoadGenerated(int blocks) {
    Call(kStartLoadPrj);
    for (int b = 0; b < blocks; ++b) {
        const Block block = BlockAt(b);
        Call(kCreateObject, block.ident, block.instance);
        for (int k = 0; k < kItemsPerBlock; ++k) {
            Call(kLoadLine, block.ident, block.instance, ProjectLine(b, k).c_str());
        }
    }
    Call(kEndLoadPrj);
}

double ReportDriver::ValuesCheck() const {
    Check check;
    for (const dLM_OBJECT* r = TheEntry().driver()->instances().head(); r != nullptr; r = r->next) {
        for (const dLM_DATAITEM* item : Chain<dLM_DATAITEM>(r->data_user)) {
            if (item->ext != nullptr) check.Add(item->ext->value.view());
        }
    }
    return check.value();
}

std::size_t ReportDriver::RecordBytes() const {
    std::size_t bytes = 0;
    for (const dLM_OBJECT* r = TheEntry().driver()->instances().head(); r != nullptr; r = r->next) {
        bytes += sizeof(dLM_OBJECT);
        for (dLM_DATAITEM* list : ItemListsOf(*r)) {
            for (const dLM_DATAITEM* item : Chain<dLM_DATAITEM>(list)) {
                bytes += sizeof(dLM_DATAITEM);
                if (item->ext != nullptr) bytes += sizeof(dLM_DATAITEM_EXT);
            }
        }
    }
    return bytes;
}

void ReportDriver::OrderAll(int orders, int due) {
    const int groups = due > 0 && due < orders ? orders / due : 1;
    // Requested every period + 1 ticks; with one group at every tick.
    std::uint16_t period = static_cast<std::uint16_t>(groups - 1);
    // Orders k and k + kAddressableBlocks * kItemsPerBlock are of one item,
    // and an answer goes to every order of its item: placed by item, the
    // orders of one item fall due together and the answers of a group go to
    // that group (but for the items split between two groups).
    std::vector<int> placing(static_cast<std::size_t>(orders));
    std::iota(placing.begin(), placing.end(), 0);
    if (groups > 1) {
        std::stable_sort(placing.begin(), placing.end(), [](int a, int b) {
            return a % (kAddressableBlocks * kItemsPerBlock) <
                   b % (kAddressableBlocks * kItemsPerBlock);
        });
    }
    for (int placed = 0; placed < orders; ++placed) {
        if (groups > 1 && placed > 0 && placed % due == 0) Tick();
        const int k = placing[static_cast<std::size_t>(placed)];
        const int b = k % kAddressableBlocks;
        const Block block = BlockAt(b);
        PARAM_ENTRY r{};
        r.lmd_func = kOrderData;
        r.wparam1 = block.ident;
        r.wparam2 = block.instance;
        r.lparam1 =
            static_cast<std::uint32_t>(kFirstItem + (k / kAddressableBlocks + b) % kItemsPerBlock);
        r.lparam2 = static_cast<std::uint32_t>(host_);
        r.data1 = reinterpret_cast<void*>(static_cast<std::uintptr_t>(k + 1));
        r.data2 = &period;
        Call(r);
    }
}

std::string ProjectLine(int block, int item) {
    std::string line = "K2_USER U";
    line += std::to_string(item);
    line += " = ";
    line += std::to_string((block * kItemsPerBlock + item) % 65536);
    return line;
}

std::vector<std::string> ProjectLines(int blocks) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(blocks) * kItemsPerBlock);
    for (int b = 0; b < blocks; ++b) {
        for (int k = 0; k < kItemsPerBlock; ++k) lines.push_back(ProjectLine(b, k));
    }
    return lines;
}

Netlist::Netlist(int blocks, int stride) {
    const int count = (blocks + stride - 1) / stride;
    nodes.resize(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        const auto at = static_cast<std::size_t>(k);
        const Block block = BlockAt(k * stride);
        dLMN_NODE& node = nodes[at];
        node = {};
        node.ident = block.ident;
        node.instance = block.instance;
        if (k + 1 < count) node.next = &nodes[at + 1];
        for (int c = 0; c < 5; ++c) {
            dLMN_CONST& constant = constants.emplace_back();
            constant = {};
            constant.level = 2;
            constant.item = static_cast<std::uint16_t>(kFirstItem + c);
            constant.data = value;
            constant.length = sizeof value;
            constant.next = c == 0 ? nullptr : &constants[constants.size() - 2];
        }
        node.constants = &constants.back();
        if (k == 0) continue;
        for (int c = 0; c < 5; ++c) {
            dLMN_CONNECT& w = wires.emplace_back();
            w = {};
            w.item = static_cast<std::uint16_t>(kFirstItem + 3 + c);
            w.other_item = kFirstItem;
            w.other = &nodes[at - 1];
            w.next = c == 0 ? nullptr : &wires[wires.size() - 2];
        }
        node.connections = &wires.back();
    }
}

}  // namespace lm::report
