// What the netlist exports read of the rest of the driver at each export: the
// active communication settings and the driver window's handle and place.
#pragma once

#include <optional>

#include "exports/komun_header.h"
#include "platform/platform.h"
#include "service/service_context.h"
#include "settings/com_settings.h"
#include "ui/form.h"

namespace lm {

// ReadComSettings of the driver directory: nothing when SETCOM.INI cannot be
// read, after its reader has beeped and shown "Nenalezen soubor SETCOM.INI".
std::optional<settings::TComSettings> ReadActiveSettings(const ServiceContext& context);

// The time-out of SETCOM.INI in seconds, without a box: nothing when the file
// is not there.
std::optional<double> ReadLineTimeout(const ServiceContext& context);

// The driver window's handle, left, top and height.
KomunWindow KomunWindowOf(WindowHandle handle, const ui::Form& form);

}  // namespace lm
