// The level loader: turns a level file's grid of wall flags into the wall table.
//
// The format it reads, and how it reads what the format leaves open, are told
// once for every document in facts/LevelFormat.txt and facts/LevelRules.txt;
// a change here is a change there.
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
