// The level loader: turns a level file's grid of wall flags into the wall table.
//
// Format: decimal numbers separated by commas or line breaks (LF, CRLF or CR),
// with blanks and tabs allowed around them. First the grid size N, then for
// i = 0..N (outer) and j = 0..N (inner) two flags A and B of node (i, j). A flag
// is set only when it equals 1. Blank lines are skipped; an empty field (two
// commas in a row, or a comma ending a line) is refused, because it would shift
// every later flag. Nothing after the last flag is read.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "world/Module1.h"

// The largest grid size read. Larger grids are refused before any flag is
// read: a sparse grid that big would only make the loader crawl through
// millions of zeros, and no maze of 1000 walls needs it.
inline constexpr int MaxGridSize = 1000;

// Longest number token accepted, so that a run of digits without separators
// is refused as it streams past instead of being gathered in memory.
inline constexpr int MaxTokenLength = 256;

// What went wrong, ready to show: "file:line:column: what was expected" or
// "file: why it could not be read".
struct LoadError {
    std::string Message;
};

// Reads the file named by state.View.LevelFileName, relative to the working
// directory. On success the table holds the level's walls; on failure it holds
// none (never part of a level) and the error says why.
std::optional<LoadError> LoadLevel(Module1& state);

// The same, reading the level from memory; fileName is only used in messages.
std::optional<LoadError> ReadLevel(std::string_view bytes, std::string_view fileName,
                                   Module1& state);
