// The window messages the driver, the host and the communication program
// register by name: every side registers the same name and gets the same
// message number for the session.
#pragma once

namespace lm {

// A live value to the host's window that ordered it (lParam: the item data
// record).
inline constexpr const char kMsgRecToLmr[] = "WM_REC_TO_LMR";
// Registered with the others as the driver window is created; nothing is
// sent with it.
inline constexpr const char kMsgLumarService[] = "LUMAR_SERVICE";
// Texts between the driver window and the communication program (atoms).
inline constexpr const char kMsgTolan[] = "MSG_TOLAN";

}  // namespace lm
