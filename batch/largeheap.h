#pragma once

#include <cstddef>

// Prepares the heap for a command that is about to fill about `bytes` of fresh memory
// (a corpus's columns): the memory comes from one region backed by large pages where the
// system allows it. A fresh small page costs several microseconds to fault in, which
// for a corpus of a million tokens outweighs all of its arithmetic. Does nothing for
// small amounts or where the C library or system offers no such control.
void PrepareLargeHeap(std::size_t bytes);
