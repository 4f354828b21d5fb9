#pragma once

// From the engine's mended caption back to edits of the caption's text: its markers out, the
// new marker or "(&X)" suffix in, and a marker that would go out and come back at the same place
// left alone, so that a writer changes only the bytes it must.

#include "CaptionFile.h"

#include <string>
#include <vector>

// mended: the caption without its markers, with one insertion. Anything else gives the one edit
// between the common start and end.
std::vector<RTextEdit> MarkerEdits(const std::string& caption, const std::string& mended,
                                   char marker);
