// The fonts of every form window, made once per face, size and style and kept
// until the window classes go: a dialog opened again makes no font and
// measures no text metrics anew.
#pragma once

#include <windows.h>

#include <string>

namespace lm::win32 {

struct FontKey {
    std::string face;  // CP1250; Courier New for a fixed-pitch font
    int size = 0;      // points
    bool bold = false, underline = false, fixed_pitch = false;
    bool operator==(const FontKey&) const = default;
};

// The font for `key`, or the default GUI font when none can be made.
HFONT SharedFont(const FontKey& key);
// The height of a list item in `key`'s font: its text height and 3, at least 13.
int SharedItemHeight(const FontKey& key);
// The left margin an edit box gives its text in `key`'s font (none for a
// bitmap font, a few pixels for a TrueType one), asked once of an edit box of
// its own, so that what draws an edit box's text where the box would (a face)
// draws it there.
int SharedEditMargin(const FontKey& key);
// Deletes every font made (the renderer's windows are gone).
void ReleaseSharedFonts();

}  // namespace lm::win32
