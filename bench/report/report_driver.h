// The driver of the report's benchmarks: loaded through the entry with the
// headless platform, a library of four block objects (idents 7 to 10) of 8
// WORD user items each, logging off. Block b of a project is object
// 7 + b % 4, instance b / 4 + 1, so 100,000 blocks fit the 16-bit instance
// numbers. Every host call goes through Call(), which counts them.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/host_records.h"
#include "platform/headless/headless_platform.h"

namespace lm::report {

inline constexpr int kObjects = 4;
inline constexpr int kItemsPerBlock = 8;
inline constexpr std::uint16_t kFirstIdent = 7;
inline constexpr std::uint16_t kFirstItem = 10;
// The controller addresses instances by one byte: run-mode orders go to
// the blocks of instances 1 to 255.
inline constexpr int kAddressableBlocks = kObjects * 255;

struct Block {
    std::uint16_t ident;
    std::uint16_t instance;
};
constexpr Block BlockAt(int b) {
    return {static_cast<std::uint16_t>(kFirstIdent + b % kObjects),
            static_cast<std::uint16_t>(b / kObjects + 1)};
}

// FNV-1a over texts: the check that both builds give the same answers.
class Check {
public:
    void Add(std::string_view text) {
        for (unsigned char c : text) hash_ = (hash_ ^ c) * 16777619u;
        hash_ = (hash_ ^ 0xFFu) * 16777619u;
    }
    double value() const { return static_cast<double>(hash_); }

private:
    std::uint32_t hash_ = 2166136261u;
};

class ReportDriver {
public:
    // `run_mode`: a communication program that answers every read at once
    // and a host window that takes the answers.
    explicit ReportDriver(bool run_mode = false);
    ~ReportDriver();
    ReportDriver(const ReportDriver&) = delete;
    ReportDriver& operator=(const ReportDriver&) = delete;

    static PARAM_ENTRY Call(PARAM_ENTRY record);
    static PARAM_ENTRY Call(std::uint16_t code, std::uint16_t w1 = 0, std::uint16_t w2 = 0,
                            const char* text = nullptr);
    static std::uint64_t calls() { return calls_; }

    void CreateAll(int blocks);
    // Every SaveLine call of a project; the lines in order.
    std::vector<std::string> SaveAll(int blocks);
    // The same, each line handed to `take` as the driver gives it.
    void SaveAll(int blocks, const std::function<void(const char*)>& take);
    // StartLoadPrj, CreateObject and LoadLine for each block, EndLoadPrj.
    void LoadAll(int blocks, const std::vector<std::string>& lines);
    // The same with the lines of ProjectLine made one at a time.
    void LoadGenerated(int blocks);
    // The bytes of the records the host can read: objects, items, extensions.
    std::size_t RecordBytes() const;
    // The values of every instance, walking the list.
    double ValuesCheck() const;

    // One order per block of the addressable ones in turn, each with its own
    // tag. With `due` below `orders`, they are placed in groups of `due`, one
    // tick apart, with a period of as many ticks as there are groups: past
    // those ticks each tick requests one group (`orders` a multiple of `due`).
    void OrderAll(int orders, int due = 0);
    void Tick() { platform_->Tick(); }
    std::uint64_t answers() const { return answers_; }
    const Check& answer_check() const { return answer_check_; }

    HeadlessPlatform& platform() { return *platform_; }
    const std::filesystem::path& driver_dir() const { return dir_; }

private:
    static std::uint64_t calls_;
    std::filesystem::path work_, dir_;
    HeadlessPlatform* platform_ = nullptr;
    unsigned tolan_ = 0;
    WindowHandle host_ = 0, client_ = 0;
    std::uint64_t answers_ = 0;
    Check answer_check_;
};

// The lines a project of `blocks` blocks saves: distinct values for each item.
std::string ProjectLine(int block, int item);
std::vector<std::string> ProjectLines(int blocks);

// The netlist the host builds for a project: every block a node with five
// constants and five wires to the node before it. With a stride, only every
// stride-th block is a node (a sample spread evenly over the project).
struct Netlist {
    explicit Netlist(int blocks, int stride = 1);
    std::vector<dLMN_NODE> nodes;
    std::deque<dLMN_CONST> constants;
    std::deque<dLMN_CONNECT> wires;
    std::uint8_t value[2] = {0x2C, 0x01};
};

}  // namespace lm::report
