// One host session against the driver library: the calls the host makes, in
// its order, each printed as the host saw it (result and record fields).
#pragma once

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/host_records.h"
#include "tools/lumarsim/driver_library.h"
#include "tools/lumarsim/project_file.h"

namespace lumarsim {

class HostSession {
public:
    HostSession(const DriverLibrary& library, std::FILE* out) : library_(library), out_(out) {}

    // identify with the host's version 3 / 34; true when the driver accepted it.
    bool Identify();
    bool LoadDriver();
    // The text of an error code, as the host shows it (UTF-8).
    std::string ErrText(std::uint16_t code);
    // A call of a code the host knows nothing about; prints what came back.
    void Unknown(std::uint16_t code);
    bool UnloadDriver();

    // init objects: walks the object and tool lists the driver hands over and
    // prints them (one line per tool and object with `verbose`, else counts).
    bool InitObjects(bool verbose);
    // get menu: prints the menu title and handle.
    void GetMenu();
    // Opens a project as the host does: STARTLOADPRJ, CreateObject per block,
    // LoadLine per stored line, ENDLOADPRJ. Prints progress for large projects.
    // A block or stored line the driver refuses is a failure; the block is
    // named in refused_blocks().
    bool OpenProject(const Project& project, bool print_blocks);
    // Collects every block's lines with SaveLine, FlagChangeDat around it; the
    // wires, constants and comments stay as the host keeps them. A block that
    // holds stored lines in the file and gets none from the driver keeps the
    // file's own lines and is named in refused_blocks(). Prints progress for
    // large projects.
    Project SaveProject(const Project& opened);
    // The blocks ("11/1 (project line 4)") whose block or stored lines the
    // driver refused, or that got no lines from it.
    const std::vector<std::string>& refused_blocks() const { return refused_blocks_; }
    // ObjectDialog on a block the project opened: the driver's dialog played
    // by the queued steps, how the form ended, the block's user values after
    // it and whether the driver reports the project changed (FlagChangeDat).
    // False when the driver left the block to the host's own dialog.
    bool ObjectDialog(std::uint16_t ident, std::uint16_t instance);
    // A command of the driver's menu; true when the driver asks the host to
    // call NetList next (dlm_func 20).
    bool MenuItem(std::uint16_t id);
    // NetList with the host's project checksum and the netlist's first node.
    bool NetList(std::uint32_t checksum, dLMN_NODE* head);

    std::size_t object_count() const { return object_count_; }
    // The object list init objects handed over (the driver's, read in place).
    const dLM_OBJECT* objects() const { return objects_; }
    std::size_t tool_count() const { return tool_count_; }

    int failures() const { return failures_; }

private:
    int Call(PARAM_ENTRY& record, const char* name);
    void Expect(bool ok, const char* what);

    const DriverLibrary& library_;
    std::FILE* out_;
    int failures_ = 0;
    std::vector<std::string> refused_blocks_;
    std::set<std::pair<std::uint16_t, std::uint16_t>> refused_;  // the same, by block
    std::size_t object_count_ = 0;
    std::size_t tool_count_ = 0;
    const dLM_OBJECT* objects_ = nullptr;
    // The user items of each opened block, as CreateObject handed them over.
    std::map<std::pair<std::uint16_t, std::uint16_t>, const dLM_DATAITEM*> users_;
};

// A text of the driver (CP1250) for the console (UTF-8); null prints as "(nil)".
std::string Shown(const char* cp1250);

}  // namespace lumarsim
