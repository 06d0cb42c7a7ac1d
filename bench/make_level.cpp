// Writes one of the benchmark levels to stdout, so the running program can be
// measured on the same walls: mazewalk_bench_level WALLS SEED
#include <cstdio>
#include <cstdlib>

#include "BenchLevels.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s WALLS SEED\n", argv[0]);
        return 2;
    }
    const int walls = std::atoi(argv[1]);
    const auto seed = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10));
    std::fputs(RandomLevel(walls, seed).c_str(), stdout);
    return 0;
}
