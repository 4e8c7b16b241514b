// The object library and the placed blocks: init objects builds the library
// from TOOLS.INI; the instance functions create, find, renumber and delete
// the blocks' copies; the project lines hand their values to the host's
// project file and take them back.
#pragma once

#include "base/bounded_text.h"
#include "base/host_records.h"
#include "frame/driver_window.h"
#include "frame/startup_options.h"
#include "instances/instance_list.h"
#include "library/load_problems.h"
#include "library/object_library.h"
#include "service/service_context.h"

namespace lm {

class ProjectService {
public:
    // `data_changed` is the project's change flag that the object dialogs set
    // and FlagChangeDat hands to the host; `message_buffer` is where errtext
    // and a failed library load leave their texts.
    ProjectService(const ServiceContext& context, DriverWindow& window, StartupOptions& startup,
                   TextBuffer<kMaxText + 1>& message_buffer, bool& data_changed);
    ~ProjectService();  // the library first, then the instances
    ProjectService(const ProjectService&) = delete;
    ProjectService& operator=(const ProjectService&) = delete;

    ObjectLibrary& library() { return library_; }
    InstanceList& instances() { return instances_; }
    // LineBuffer: the last project line handed out or taken back.
    const TextBuffer<kMaxText + 1>& line_buffer() const { return line_buffer_; }

    bool InitObjects(PARAM_ENTRY& record);
    bool CreateObject(PARAM_ENTRY& record);
    bool DeleteObject(PARAM_ENTRY& record);
    bool SetInstance(PARAM_ENTRY& record);
    bool SaveLine(PARAM_ENTRY& record);
    bool LoadLine(PARAM_ENTRY& record);
    bool FlagChangeDat(PARAM_ENTRY& record);
    bool StartLoadPrj(PARAM_ENTRY& record);
    bool EndLoadPrj(PARAM_ENTRY& record);

private:
    // A library load stopped by `error`: the error box and the log line, both
    // naming the file and the place where the reading stopped.
    void ReportLoadError(const std::string& error, const LoadStopPlace& stop);
    void ShowFirmware();

    const ServiceContext& context_;
    DriverWindow& window_;
    StartupOptions& startup_;
    TextBuffer<kMaxText + 1>& message_buffer_;
    bool& data_changed_;
    ObjectLibrary library_;
    InstanceList instances_;
    TextBuffer<kMaxText + 1> line_buffer_;
    bool all_saved_ = false;
};

}  // namespace lm
