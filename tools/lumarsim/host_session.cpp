#include "tools/lumarsim/host_session.h"

#include "base/bounded_text.h"
#include "base/cp1250.h"
#include "base/host_records.h"
#include "tools/lumarsim/form_player.h"

namespace lumarsim {

std::string Shown(const char* cp1250) {
    if (cp1250 == nullptr) return "(nil)";
    return lm::Cp1250ToUtf8(lm::ReadZeroText(cp1250));
}

int HostSession::Call(PARAM_ENTRY& record, const char* name) {
    int result = library_.Call(record);
    std::fprintf(out_, "> %-14s code %2u -> %s, error %u, wparam1 %u\n", name, record.lmd_func,
                 result ? "TRUE" : "FALSE", record.error, record.wparam1);
    return result;
}

void HostSession::Expect(bool ok, const char* what) {
    if (ok) return;
    ++failures_;
    std::fprintf(out_, "  !! unexpected: %s\n", what);
}

bool HostSession::Identify() {
    PARAM_ENTRY r{};
    r.lmd_func = 1;
    r.wparam1 = 3;
    r.lparam1 = 34;
    int result = Call(r, "identify");
    std::fprintf(out_, "  driver:  %s\n  name:    %s\n", Shown(r.string1).c_str(),
                 Shown(r.string2).c_str());
    std::string text = Shown(static_cast<const char*>(r.data1));
    for (std::size_t nl; (nl = text.find('\n')) != std::string::npos;) text.replace(nl, 1, " / ");
    std::fprintf(out_, "  about:   %s\n", text.c_str());
    Expect(result == 1 && r.wparam1 == 1, "identify refused the host's version");
    return r.wparam1 == 1;
}

bool HostSession::LoadDriver() {
    PARAM_ENTRY r{};
    r.lmd_func = 2;
    int result = Call(r, "load driver");
    Expect(result == 1 && r.wparam1 == 1, "load driver failed");
    return result == 1;
}

std::string HostSession::ErrText(std::uint16_t code) {
    PARAM_ENTRY r{};
    r.lmd_func = 5;
    r.wparam1 = code;
    int result = Call(r, "errtext");
    Expect(result == 1 && r.string1 != nullptr, "errtext gave no text");
    std::string text = Shown(r.string1);
    std::fprintf(out_, "  text %u: %s\n", code, text.c_str());
    return text;
}

void HostSession::Unknown(std::uint16_t code) {
    PARAM_ENTRY r{};
    r.lmd_func = code;
    int result = Call(r, "(unknown)");
    Expect(result == 0 && r.error == 14, "an unknown code was not refused with error 14");
}

bool HostSession::UnloadDriver() {
    PARAM_ENTRY r{};
    r.lmd_func = 3;
    int result = Call(r, "unload driver");
    Expect(result == 1, "unload driver failed");
    return result == 1;
}

}  // namespace lumarsim

namespace lumarsim {
namespace {

// The value texts of a block's user items, read in place as the host reads
// the records the driver hands it.
// "11/1 (project line 4)": a block as the user finds it in the file.
std::string BlockName(const ProjectBlock& block) {
    return std::to_string(block.ident) + "/" + std::to_string(block.instance) + " (project line " +
           std::to_string(block.source_line) + ")";
}

// Every tenth of a large project's blocks, a line on stderr.
std::size_t ProgressStep(std::size_t blocks) {
    return blocks >= 5000 ? blocks / 10 : 0;
}

std::string UserValues(const dLM_DATAITEM* item) {
    std::string text;
    for (; item != nullptr; item = item->next) {
        if (!text.empty()) text += ", ";
        text += Shown(item->name);
        text += "=";
        text += item->ext != nullptr ? lm::Cp1250ToUtf8(item->ext->value.view()) : "?";
    }
    return text.empty() ? "(no user data)" : text;
}

}  // namespace

bool HostSession::InitObjects(bool verbose) {
    PARAM_ENTRY r{};
    r.lmd_func = 4;
    int result = Call(r, "init objects");
    Expect(result == 1 && r.error == 0, "init objects failed (is TOOLS.INI in the driver folder?)");
    object_count_ = tool_count_ = 0;
    objects_ = static_cast<const dLM_OBJECT*>(r.pointer1);
    for (auto* tool = static_cast<dLMN_TOOL*>(r.pointer2); tool != nullptr; tool = tool->next) {
        ++tool_count_;
        if (verbose)
            std::fprintf(out_, "  tool %3u  %s\n", tool->id, Shown(tool->description).c_str());
    }
    for (auto* object = static_cast<dLM_OBJECT*>(r.pointer1); object != nullptr;
         object = object->next) {
        ++object_count_;
        if (verbose) {
            std::fprintf(out_, "  object %5u  %-20s %s (tool %u)\n", object->ident,
                         Shown(object->name).c_str(), Shown(object->title).c_str(), object->tool);
        }
    }
    std::fprintf(out_, "  library: %zu tools, %zu objects (the driver counts %u)\n", tool_count_,
                 object_count_, r.wparam1);
    Expect(object_count_ == r.wparam1, "the object count differs from the list");
    return result == 1 && r.error == 0;
}

void HostSession::GetMenu() {
    PARAM_ENTRY r{};
    r.lmd_func = 6;
    Call(r, "get menu");
    std::fprintf(out_, "  menu %s, handle %u\n", Shown(r.string1).c_str(), r.lparam1);
}

bool HostSession::OpenProject(const Project& project, bool print_blocks) {
    PARAM_ENTRY start{};
    start.lmd_func = 27;
    Call(start, "STARTLOADPRJ");
    std::size_t done = 0, lines_taken = 0, lines_refused = 0;
    const std::size_t progress_step = ProgressStep(project.blocks.size());
    for (const auto& block : project.blocks) {
        PARAM_ENTRY create{};
        create.lmd_func = 13;
        create.wparam1 = block.ident;
        create.wparam2 = block.instance;
        library_.Call(create);
        if (create.wparam1 != 1) {
            ++failures_;
            refused_.insert({block.ident, block.instance});
            refused_blocks_.push_back(BlockName(block));
            std::fprintf(out_, "  !! block %u/%u (project line %d): the driver has no object %u\n",
                         block.ident, block.instance, block.source_line, block.ident);
            continue;
        }
        auto* user = static_cast<dLM_DATAITEM*>(create.data1);
        users_[{block.ident, block.instance}] = user;
        bool refused = false;
        for (const auto& line : block.lines) {
            PARAM_ENTRY load{};
            load.lmd_func = 22;
            load.wparam1 = block.ident;
            load.wparam2 = block.instance;
            load.string1 = const_cast<char*>(line.c_str());
            library_.Call(load);
            if (load.wparam1 == 1) {
                ++lines_taken;
            } else {
                ++lines_refused;
                ++failures_;
                refused = true;
                std::fprintf(out_, "  !! block %u/%u: line not taken: %s\n", block.ident,
                             block.instance, Shown(line.c_str()).c_str());
            }
        }
        if (refused) {
            refused_.insert({block.ident, block.instance});
            refused_blocks_.push_back(BlockName(block));
        }
        if (print_blocks) {
            std::fprintf(out_, "  block %5u/%-5u %s\n", block.ident, block.instance,
                         UserValues(user).c_str());
        }
        ++done;
        if (progress_step != 0 && done % progress_step == 0) {
            std::fprintf(stderr, "lumarsim: %zu of %zu blocks opened\n", done,
                         project.blocks.size());
        }
    }
    PARAM_ENTRY end{};
    end.lmd_func = 28;
    Call(end, "ENDLOADPRJ");
    std::fprintf(out_, "  project: %zu blocks, %zu stored lines taken, %zu refused\n", done,
                 lines_taken, lines_refused);
    return lines_refused == 0 && done == project.blocks.size();
}

Project HostSession::SaveProject(const Project& opened) {
    PARAM_ENTRY before{};
    before.lmd_func = 24;
    Call(before, "FlagChangeDat");
    Project saved;
    saved.trailing_comments = opened.trailing_comments;
    const std::size_t progress_step = ProgressStep(opened.blocks.size());
    std::size_t done = 0;
    for (const auto& block : opened.blocks) {
        ProjectBlock out{
            block.ident, block.instance,  block.source_line,      {},
            block.wires, block.constants, block.leading_comments, block.inner_comments};
        for (int guard = 0; guard < 10000; ++guard) {
            PARAM_ENTRY r{};
            r.lmd_func = 23;
            r.wparam1 = block.ident;
            r.wparam2 = block.instance;
            library_.Call(r);
            const char* line = r.string1;
            if (line != nullptr) out.lines.emplace_back(lm::ReadZeroText(line));
            if (r.wparam1 == 0) break;
        }
        if (out.lines.empty() && !block.lines.empty()) {
            // The driver has nothing for a block whose values the file holds
            // (its definition is missing, say): the file's lines stay, and
            // the block is named, so that no value goes unnoticed.
            std::fprintf(out_,
                         "  !! block %u/%u (project line %d): the driver handed out no lines\n",
                         block.ident, block.instance, block.source_line);
            ++failures_;
            if (refused_.insert({block.ident, block.instance}).second)
                refused_blocks_.push_back(BlockName(block));
            out.lines = block.lines;
        }
        saved.blocks.push_back(std::move(out));
        ++done;
        if (progress_step != 0 && done % progress_step == 0) {
            std::fprintf(stderr, "lumarsim: %zu of %zu blocks saved\n", done, opened.blocks.size());
        }
    }
    PARAM_ENTRY after{};
    after.lmd_func = 24;
    after.wparam1 = 1;  // saved: the driver clears its change flag
    Call(after, "FlagChangeDat");
    return saved;
}

bool HostSession::MenuItem(std::uint16_t id) {
    PARAM_ENTRY r{};
    r.lmd_func = 9;
    r.wparam1 = id;
    int result = Call(r, "MenuItem");
    Expect(result == 1 && r.error == 0, "MenuItem failed");
    std::fprintf(out_, "  menu item %u, the driver asks for function %u\n", id, r.dlm_func);
    return r.dlm_func == 20;
}

bool HostSession::NetList(std::uint32_t checksum, dLMN_NODE* head) {
    PARAM_ENTRY r{};
    r.lmd_func = 20;
    r.lparam1 = checksum;
    r.pointer1 = head;
    int result = Call(r, "NetList");
    Expect(result == 1 && r.error == 0, "NetList ran no export");
    return result == 1;
}

}  // namespace lumarsim

namespace lumarsim {

bool HostSession::ObjectDialog(std::uint16_t ident, std::uint16_t instance) {
    PARAM_ENTRY r{};
    r.lmd_func = 18;
    r.wparam1 = ident;
    r.wparam2 = instance;
    const bool handled = Call(r, "ObjectDialog") != 0;
    for (const std::string& form : FormQueue::Instance().TakeReports())
        std::fprintf(out_, "  %s\n", form.c_str());
    if (!handled) std::fprintf(out_, "  the host's own dialog would open\n");
    auto it = users_.find({ident, instance});
    if (it != users_.end()) {
        std::fprintf(out_, "  block %5u/%-5u %s\n", ident, instance,
                     UserValues(it->second).c_str());
    }
    PARAM_ENTRY flag{};
    flag.lmd_func = 24;
    Call(flag, "FlagChangeDat");
    std::fprintf(out_, "  project %s\n", flag.wparam1 == 1 ? "changed" : "unchanged");
    return handled;
}

}  // namespace lumarsim
