#pragma once

namespace platform {

// Memory the program has freed stays with its heap, for the next allocations, and counts as
// the program's in the system's view. After a large amount was freed at once (a script that
// reached its memory bound), this hands what the heap can spare back to the system.
namespace FreedMemory {

void giveBackToSystem();

} // namespace FreedMemory

} // namespace platform
