// lumarsim's host session on the loaded DLL with a project open, as Lumar
// stands when a user opens one of the driver's dialogs: the driver
// identified, loaded, its objects initialised, its menu taken and the project
// opened. The host's calls are written to host.txt in the work folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "tools/lumarsim/driver_library.h"
#include "tools/lumarsim/host_netlist.h"
#include "tools/lumarsim/host_session.h"
#include "tools/lumarsim/project_file.h"

namespace lm::test {

struct ProjectHost {
    lumarsim::Project project;
    std::unique_ptr<lumarsim::HostNetlist> netlist;
    std::FILE* transcript = nullptr;
    std::unique_ptr<lumarsim::DriverLibrary> library;
    std::unique_ptr<lumarsim::HostSession> host;

    ProjectHost() = default;
    ProjectHost(const ProjectHost&) = delete;
    ProjectHost& operator=(const ProjectHost&) = delete;
    ~ProjectHost() { Close(); }

    // Opens `opened` through `entry`; a step that fails is a fatal failure of
    // the test (check HasFatalFailure after it).
    void Open(const std::filesystem::path& work, lumarsim::EntryFunction entry,
              lumarsim::Project opened) {
        project = std::move(opened);
        netlist = std::make_unique<lumarsim::HostNetlist>(project);
        ASSERT_TRUE(netlist->ok()) << netlist->error();
        transcript = std::fopen((work / "host.txt").string().c_str(), "wb");
        ASSERT_NE(transcript, nullptr);
        library = std::make_unique<lumarsim::DriverLibrary>(entry);
        host = std::make_unique<lumarsim::HostSession>(*library, transcript);
        ASSERT_TRUE(host->Identify());
        ASSERT_TRUE(host->LoadDriver());
        ASSERT_TRUE(host->InitObjects(false));
        host->GetMenu();
        ASSERT_TRUE(host->OpenProject(project, false));
    }

    // Unloads the driver and closes the transcript, once; the session stays
    // for its count of failures.
    void Close() {
        if (host != nullptr && !closed_) host->UnloadDriver();
        closed_ = true;
        if (transcript != nullptr) std::fclose(transcript);
        transcript = nullptr;
    }

private:
    bool closed_ = false;
};

}  // namespace lm::test
