// What Ctrl-C, a termination or a closed terminal leaves behind: the renderer
// removes its half-written file and ends an unfinished progress line, so the
// shell's prompt starts on a line of its own. The exit status is 128 + signal.
#pragma once

#include <string>

namespace render {

// Creates a file from a mkstemp() pattern, which becomes its name, and has it
// removed if the renderer is interrupted, leaving no moment in between when an
// interruption would leave it behind. Returns the descriptor, or -1 with errno.
int createRemovedOnInterruption(std::string& pattern);

// No file to remove any more: it was renamed into place or removed already.
void keepOnInterruption();

// The descriptor whose line to end if the renderer is interrupted now; -1 for none.
void endLineOnInterruption(int descriptor);

}  // namespace render
