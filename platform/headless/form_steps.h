// What a user does in a modal form, played without a screen: one step a line,
//   press NAME         a button, check box or radio button clicked
//   set NAME TEXT      an edit's text typed (the rest of the line, CP1250); a
//                      numeric edit takes the keys it accepts and then loses
//                      the focus
//   key NAME up|down   an arrow key pressed in a numeric edit
//   select NAME N      item N of a list box or combo box chosen (from 0)
//   dblclick NAME      a list box double-clicked
//   cell NAME C R TEXT a string grid's cell (column C, row R) chosen and
//                      its text typed in place
//   tick NAME TEXT     the box of a check list's entry clicked: the entry that
//                      reads TEXT, or starts with TEXT and a space
// Each step changes the control's state as the screen would and fires the
// event the renderer fires for it.
#pragma once

#include <string>
#include <string_view>

#include "ui/form.h"

namespace lm {

// Plays the steps until one closes the form. Empty when every step was
// played; else what stopped the playing, with its step (a control that does
// not exist, is hidden or disabled, an item outside the list, a step not
// understood).
std::string PlayFormSteps(ui::Form& form, std::string_view steps);

}  // namespace lm
