#include "frame/log.h"

#include "base/bounded_text.h"
#include "base/number_text.h"
#include "platform/platform.h"

namespace lm {

Log::Log(Platform& platform) : platform_(platform) {}

Log::~Log() {
    CloseFile();
}

void Log::set_enabled(bool on) {
    enabled_ = on;
    if (!on) CloseFile();
}

void Log::set_file(std::string path) {
    if (path != file_) CloseFile();
    file_ = std::move(path);
}

void Log::CloseFile() {
    if (open_) open_->Close();
    open_.reset();
}

void Log::Write(std::string_view message) {
    if (!enabled_) return;
    std::string_view line = message.substr(0, kMaxText);
    if (!file_.empty()) {
        line_ = platform_.DateTimeText();
        line_ += " | ";
        line_ += line;
        line_ += "\r\n";
        WriteToFile(line_);
    }
    if (memo_) memo_(line);
}

void Log::WriteToFile(std::string_view bytes) {
    // Renamed, deleted or replaced by someone else: the line goes to a new file.
    if (open_ && !open_->StillNamedBy(file_)) CloseFile();
    if (!open_) {
        FileStatus opened;
        open_ = platform_.files().OpenForAppend(file_, opened);
        if (!open_) return;
    }
    // A failed write may have left the file unusable; the next line reopens it.
    if (!open_->Write(bytes)) CloseFile();
}

void Log::DumpParams(const PARAM_ENTRY& record) {
    if (!enabled_) return;
    static constexpr std::string_view kIndent = "              ";
    auto word = [&](std::string_view label, std::uint16_t value) {
        Write(std::string(kIndent) + std::string(label) + RightAligned(value, 5));
    };
    auto dword = [&](std::string_view label, std::uint32_t value) {
        Write(std::string(kIndent) + std::string(label) + Hex32(value));
    };
    auto pointer = [&](std::string_view label, const void* value) {
        Write(std::string(kIndent) + std::string(label) + HexAddress(value));
    };
    auto not_nil = [&](std::string_view label, const void* value) {
        if (value != nullptr) Write(std::string(kIndent) + std::string(label) + "<> nil");
    };
    auto text = [&](std::string_view label, const char* value) {
        pointer(label, value);
        if (value != nullptr)
            Write(std::string(kIndent) + std::string(label) + std::string(ReadZeroText(value)));
    };

    Write(std::string(41, '-'));
    Write("PARAM ENTRY:  level   =" + RightAligned(record.level, 5));
    word("lmd_func=", record.lmd_func);
    word("dlm_func=", record.dlm_func);
    word("error   =", record.error);
    word("wparam1 =", record.wparam1);
    word("wparam2 =", record.wparam2);
    dword("lparam1 =", record.lparam1);
    dword("lparam2 =", record.lparam2);
    pointer("data1   =", record.data1);
    not_nil("data1   ", record.data1);
    pointer("data2   =", record.data2);
    not_nil("data2   ", record.data2);
    text("string1 =", record.string1);
    text("string2 =", record.string2);
    pointer("pointer1=", record.pointer1);
    pointer("pointer2=", record.pointer2);
    Write("");
}

}  // namespace lm
