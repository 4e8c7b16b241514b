// lumarsim scripts: one host call per line, with the record fields to set and
// the fields to print, so that any call sequence can be replayed and its
// transcript compared.
//
//   # a comment
//   call identify wparam1=3 lparam1=34 -> result wparam1 string1 string2 data1:text
//   call errtext wparam1=99 -> string1
//   call loadline wparam1=7 wparam2=1 string1="K2_USER A = 5" -> wparam1
//   call bintostr wparam1=3 data1=hex:4000 string1="#####" -> result string2
//   call akceitem wparam1=11 wparam2=50 lparam1=0x18 pointer1=hex:00 -> lparam2 pointer2:hex:2
//
// A call names a function by its word (identify, load, unload, init, errtext,
// menu, menuitem, helpmenu, helpobject, helpdata, create, delete, akceitem,
// netlist, setinstance, loadline, saveline, flagchangedat, orderservice,
// startloadprj, endloadprj, bintostr, strtobin, longcheck, userlong, infomsg)
// or by its number. Fields: level lmd_func dlm_func error wparam1 wparam2
// lparam1 lparam2 (numbers, decimal or 0x hex); string1 string2 ("text" or
// null); data1 data2 pointer1 pointer2 (hex:BYTES or null). After "->":
// result, a number field, string1/string2 (the text, or nil), FIELD:text,
// FIELD:hex:N (N bytes), FIELD:set (nil or set).
//
// The driver's modal forms are played by steps given before the call that
// shows them: "form" starts the steps of the next modal form, each "step"
// line is one user action in it (press CONTROL, set CONTROL TEXT, select
// CONTROL N, dblclick CONTROL). A form without steps, or left open by them,
// is dismissed. After each call the transcript says how its forms ended:
//
//   form
//   step press Button3
//   step set Edit1 "Kotelna"
//   step press ButtonSave
//   step press ButtonOK
//   call menuitem wparam1=3004 -> result
//   # call menuitem result=1
//   #   form "Nastavení komunikace" closed by its steps
//
// Run mode adds steps besides the calls (they need a run-mode host):
//   tick N                 N periods of 100 ms pass
//   tolan CODE "TEXT"      the communication program's MSG_TOLAN to the driver
//   answers                prints what the host window received since the last
// and lparam1=host / lparam2=host stand for the host window's handle.
#pragma once

#include <cstdio>
#include <string>

#include "tools/lumarsim/driver_library.h"
#include "tools/lumarsim/run_host.h"

namespace lumarsim {

// Runs the script and writes its transcript. False with `error` naming the
// script line when a line cannot be understood. `host` may be null: then
// run-mode steps are refused.
bool RunScript(const DriverLibrary& library, RunHost* host, const std::string& script,
               std::FILE* out, std::string& error);

}  // namespace lumarsim
