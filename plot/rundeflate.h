#pragma once

#include <QtGlobal>

#include <span>
#include <vector>

// Compresses bytes into a zlib stream, fast when they are mostly long runs of one value as
// a chart's rows of palette indices are. Each byte is either written as it is or, with the
// bytes after it, taken as a repeat of the byte before; each block gets Huffman codes fitted
// to its own bytes, and a block that would not shrink is stored as it is. A general-purpose
// compressor searches for earlier strings too, which costs a chart picture several times
// more for a file about the same size.
// Throws std::bad_alloc when memory runs out.
std::vector<uchar> RunDeflate(std::span<const uchar> data);
