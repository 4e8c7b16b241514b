#include "tests/support/faulty_files.h"

namespace lm::test {

std::string InjectedReason(FileOp op) {
    static const std::map<FileOp, std::string> kReasons = {
        {FileOp::Open, "injected: open failed"},     {FileOp::Write, "injected: disk full"},
        {FileOp::Close, "injected: close failed"},   {FileOp::Rename, "injected: rename failed"},
        {FileOp::Delete, "injected: delete failed"}, {FileOp::ShortRead, "injected: short read"},
    };
    return kReasons.at(op);
}

bool FaultyFiles::Hit(FileOp op, const std::string& path) {
    ++seen_[{op, path}];
    bool hit = false;
    for (Armed& armed : faults_) {
        if (armed.fault.op != op || path.find(armed.path_part) == std::string::npos) continue;
        ++armed.seen;
        hit = hit || armed.seen == armed.fault.nth ||
              (armed.fault.from_then_on && armed.seen > armed.fault.nth);
    }
    if (hit) ++hits_[op];
    return hit;
}

const std::string* FaultyFiles::LastComplete(const std::string& path) const {
    auto it = complete_.find(path);
    return it == complete_.end() ? nullptr : &it->second;
}

int FaultyFiles::Seen(FileOp op, const std::string& path_part) const {
    int seen = 0;
    for (const auto& [key, count] : seen_) {
        if (key.first == op && key.second.find(path_part) != std::string::npos) seen += count;
    }
    return seen;
}

bool FaultyFiles::CanBeOpened(const std::string& path) {
    return !Hit(FileOp::Open, path) && real_.CanBeOpened(path);
}

std::optional<std::string> FaultyFiles::ReadWhole(const std::string& path) {
    if (Hit(FileOp::Open, path)) return std::nullopt;
    std::optional<std::string> content = real_.ReadWhole(path);
    if (content && Hit(FileOp::ShortRead, path)) content->resize(content->size() / 2);
    return content;
}

FileStatus FaultyFiles::Written(const std::string& path, std::string_view bytes,
                                FileStatus (Files::*write)(const std::string&, std::string_view)) {
    if (Hit(FileOp::Open, path)) return FileStatus::Failed(InjectedReason(FileOp::Open));
    if (Hit(FileOp::Write, path)) {
        (real_.*write)(path, bytes.substr(0, bytes.size() / 2));
        return FileStatus::Failed(InjectedReason(FileOp::Write));
    }
    FileStatus status = (real_.*write)(path, bytes);
    if (status && Hit(FileOp::Close, path))
        return FileStatus::Failed(InjectedReason(FileOp::Close));
    return status;
}

FileStatus FaultyFiles::WriteWhole(const std::string& path, std::string_view content) {
    FileStatus status = Written(path, content, &Files::WriteWhole);
    if (status) complete_[path] = std::string(content);
    return status;
}

FileStatus FaultyFiles::Append(const std::string& path, std::string_view bytes) {
    complete_.erase(path);
    return Written(path, bytes, &Files::Append);
}

FileStatus FaultyFiles::Rename(const std::string& from, const std::string& to) {
    if (Hit(FileOp::Rename, from)) return FileStatus::Failed(InjectedReason(FileOp::Rename));
    FileStatus status = real_.Rename(from, to);
    if (status) {
        auto written = complete_.find(from);
        if (written != complete_.end()) {
            complete_[to] = std::move(written->second);
            complete_.erase(written);
        } else {
            complete_.erase(to);
        }
    }
    return status;
}

FileStatus FaultyFiles::Delete(const std::string& path) {
    if (Hit(FileOp::Delete, path)) return FileStatus::Failed(InjectedReason(FileOp::Delete));
    FileStatus status = real_.Delete(path);
    if (status) complete_.erase(path);
    return status;
}

namespace {

class FaultyAppendFile : public AppendFile {
public:
    FaultyAppendFile(FaultyFiles& faults, std::unique_ptr<AppendFile> real, std::string path)
        : faults_(faults), real_(std::move(real)), path_(std::move(path)) {}

    FileStatus Write(std::string_view bytes) override {
        if (faults_.Hit(FileOp::Write, path_)) {
            real_->Write(bytes.substr(0, bytes.size() / 2));
            return FileStatus::Failed(InjectedReason(FileOp::Write));
        }
        return real_->Write(bytes);
    }
    bool StillNamedBy(const std::string& path) override { return real_->StillNamedBy(path); }
    FileStatus Close() override {
        FileStatus closed = real_->Close();
        if (closed && faults_.Hit(FileOp::Close, path_))
            return FileStatus::Failed(InjectedReason(FileOp::Close));
        return closed;
    }

private:
    FaultyFiles& faults_;
    std::unique_ptr<AppendFile> real_;
    std::string path_;
};

}  // namespace

std::unique_ptr<AppendFile> FaultyFiles::OpenForAppend(const std::string& path,
                                                       FileStatus& status) {
    if (Hit(FileOp::Open, path)) {
        status = FileStatus::Failed(InjectedReason(FileOp::Open));
        return nullptr;
    }
    std::unique_ptr<AppendFile> real = real_.OpenForAppend(path, status);
    if (!real) return nullptr;
    return std::make_unique<FaultyAppendFile>(*this, std::move(real), path);
}

}  // namespace lm::test
