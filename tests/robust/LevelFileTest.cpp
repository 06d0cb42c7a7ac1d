// Level files that end too soon, that are not files, cannot be read, are huge,
// or are read under a locale with a decimal comma.
#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <locale>
#include <optional>
#include <string>

#include "support/LevelFiles.h"
#include "world/LoadLevel.h"

namespace {

// Line and column just past the end of `text`: CR, LF and CRLF each end one
// line, and a CR at the very end ends its line too.
std::string PositionAfter(const std::string& text) {
    long line = 1;
    long column = 1;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '\n' || (text[k] == '\r' && (k + 1 == text.size() || text[k + 1] != '\n'))) {
            ++line;
            column = 1;
        } else if (text[k] != '\r') {
            ++column;
        }
    }
    return std::to_string(line) + ":" + std::to_string(column);
}

// What the loader reads as token number `index` (0 is the grid size) of a
// level of grid size 1.
std::string TokenName(int index) {
    if (index == 0) {
        return "the grid size";
    }
    const int flag = index - 1;
    const int node = flag / 2;
    return std::string("flag ") + (flag % 2 == 0 ? 'A' : 'B') + " of node (" +
           std::to_string(node / 2) + ", " + std::to_string(node % 2) + ")";
}

// A file cut anywhere, between tokens or inside a line end, is refused at its
// very end, naming the token that is missing; only the whole file loads.
TEST(CutLevel, EveryCutPointIsRefusedUntilTheLastFlag) {
    const std::vector<WallRecord> walls = {WallA(0, 0), WallB(0, 1), WallA(1, 0), WallB(1, 0)};
    for (const std::string lineEnd : {"\n", "\r\n", "\r"}) {
        const std::string level =
            "1" + lineEnd + "1,0" + lineEnd + "0,1" + lineEnd + "1,1" + lineEnd + "0,0" + lineEnd;
        for (std::size_t cut = 0; cut <= level.size(); ++cut) {
            const std::string part = level.substr(0, cut);
            int tokens = 0;
            for (const char c : part) {
                tokens += c >= '0' && c <= '9' ? 1 : 0;
            }
            SCOPED_TRACE("cut after " + std::to_string(cut) + " bytes, line ends " +
                         (lineEnd == "\n"   ? "LF"
                          : lineEnd == "\r" ? "CR"
                                            : "CRLF"));
            Module1 state;
            FillWithOldWalls(state);
            const auto failure = ReadLevel(part, "cut.dat", state);
            if (tokens == 9) {
                ASSERT_FALSE(failure.has_value()) << failure->Message;
                ASSERT_EQ(state.WallCount, 4);
                for (int k = 0; k < 4; ++k) {
                    EXPECT_TRUE(SameWall(state.Walls[k + 1], walls[static_cast<std::size_t>(k)]));
                }
            } else {
                ASSERT_TRUE(failure.has_value());
                EXPECT_EQ(failure->Message, "cut.dat:" + PositionAfter(part) +
                                                ": the file ends before " + TokenName(tokens));
                EXPECT_EQ(state.WallCount, 0);
            }
        }
    }
}

// The file is read in blocks of 64 KiB: a line end or a token split between
// two blocks reads as if it were whole.
TEST(LevelFile, BlockBoundariesDoNotShowInTheResult) {
    const ScratchFolder folder;
    const std::string good = "1\r\n1,0\r\n0,1\r\n1,1\r\n0,0\r\n";
    const std::string bad = "1\r\n1,0\r\n0,1\r\n1,1\r\n0,x\r\n";
    for (std::size_t pad = 65536 - 12; pad <= 65536 + 2; ++pad) {
        SCOPED_TRACE("padded with " + std::to_string(pad) + " blanks");
        Module1 fromFile;
        Module1 fromMemory;
        fromFile.View.LevelFileName = folder.Write("good.dat", std::string(pad, ' ') + good);
        ASSERT_FALSE(LoadLevel(fromFile).has_value());
        ASSERT_FALSE(ReadLevel(std::string(pad, ' ') + good, "good.dat", fromMemory).has_value());
        ASSERT_EQ(fromFile.WallCount, 4);
        ASSERT_EQ(fromMemory.WallCount, 4);
        for (int k = 1; k <= 4; ++k) {
            EXPECT_TRUE(SameWall(fromFile.Walls[k], fromMemory.Walls[k]));
        }

        fromFile.View.LevelFileName = folder.Write("bad.dat", std::string(pad, ' ') + bad);
        const auto failure = LoadLevel(fromFile);
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->Message, fromFile.View.LevelFileName +
                                        ":5:3: expected flag B of node (1, 1) as a decimal number, "
                                        "found \"x\"");
    }
}

TEST(LevelFile, MissingFileIsNamed) {
    const ScratchFolder folder;
    Module1 state;
    FillWithOldWalls(state);
    state.View.LevelFileName = (folder.Path / "torv-2.dat").string();
    const auto failure = LoadLevel(state);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->Message,
              state.View.LevelFileName + ": cannot open the level file: No such file or directory");
    EXPECT_EQ(state.WallCount, 0);
}

TEST(LevelFile, DirectoryOfTheLevelsNameIsRefused) {
    const ScratchFolder folder;
    const std::filesystem::path directory = folder.Path / "torv-2.dat";
    std::filesystem::create_directory(directory);
    Module1 state;
    FillWithOldWalls(state);
    state.View.LevelFileName = directory.string();
    const auto failure = LoadLevel(state);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->Message,
              directory.string() + ": cannot read the level file: Is a directory");
    EXPECT_EQ(state.WallCount, 0);
}

#if !defined(_WIN32)
// Runs `body` in a child process and returns what it printed; the exit
// status goes to `status`. Used where the test must change its user or
// measure its own memory without disturbing the test program.
std::string InChild(const std::function<std::string()>& body, int& status) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        ADD_FAILURE() << "pipe: " << std::strerror(errno);
        return "";
    }
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        const std::string text = body();
        const ssize_t written = write(pipeEnds[1], text.data(), text.size());
        _exit(written == static_cast<ssize_t>(text.size()) ? 0 : 3);
    }
    close(pipeEnds[1]);
    std::string text;
    char block[256];
    ssize_t got = 0;
    while ((got = read(pipeEnds[0], block, sizeof block)) > 0) {
        text.append(block, static_cast<std::size_t>(got));
    }
    close(pipeEnds[0]);
    waitpid(child, &status, 0);
    return text;
}

constexpr int CannotDropPrivileges = 42;
constexpr uid_t Nobody = 65534;

// A file the user may not read. Root may read anything, so as root the load
// runs in a child that has become the user "nobody" first; where that is not
// possible the test is skipped, saying why.
TEST(LevelFile, UnreadableFileIsRefused) {
    const ScratchFolder folder;
    std::filesystem::permissions(folder.Path, std::filesystem::perms::all &
                                                  ~std::filesystem::perms::group_write &
                                                  ~std::filesystem::perms::others_write);
    const std::string file = folder.Write("torv-2.dat", "0\n1,1\n");
    std::filesystem::permissions(file, std::filesystem::perms::none);
    const std::string expected = file + ": cannot open the level file: Permission denied";

    const auto load = [&file] {
        Module1 state;
        FillWithOldWalls(state);
        state.View.LevelFileName = file;
        const auto failure = LoadLevel(state);
        return (failure ? failure->Message : std::string("loaded")) + "|" +
               std::to_string(state.WallCount);
    };
    if (geteuid() != 0) {
        EXPECT_EQ(load(), expected + "|0");
        return;
    }
    int status = 0;
    const std::string outcome = InChild(
        [&load] {
            if (setgid(Nobody) != 0 || setuid(Nobody) != 0) {
                _exit(CannotDropPrivileges);
            }
            return load();
        },
        status);
    if (WIFEXITED(status) && WEXITSTATUS(status) == CannotDropPrivileges) {
        GTEST_SKIP() << "running as root, and a child cannot become the user nobody, so file "
                        "permissions do not stop reading here";
    }
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    EXPECT_EQ(outcome, expected + "|0");
}

// Loads the level `name` and reports "message|walls|KiB grown while loading",
// measured in a child, whose peak resident size starts from what it inherits.
std::string MeasuredLoad(const std::string& name) {
    int status = 0;
    const std::string outcome = InChild(
        [&name] {
            rusage before{};
            getrusage(RUSAGE_SELF, &before);
            Module1 state;
            FillWithOldWalls(state);
            state.View.LevelFileName = name;
            const auto failure = LoadLevel(state);
            rusage after{};
            getrusage(RUSAGE_SELF, &after);
            const long grownKiB = after.ru_maxrss - before.ru_maxrss;
            return (failure ? failure->Message : std::string("loaded")) + "|" +
                   std::to_string(state.WallCount) + "|" + std::to_string(grownKiB);
        },
        status);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    return outcome;
}

#else

TEST(LevelFile, UnreadableFileIsRefused) {
    GTEST_SKIP() << "Windows has no file mode that keeps the owner from reading a file; the "
                    "permission bits this test relies on are POSIX's";
}

// Windows has no fork: the load runs here, and its memory is not measured
// (reported as 0 KiB); the Linux run of this test holds the bound.
std::string MeasuredLoad(const std::string& name) {
    Module1 state;
    FillWithOldWalls(state);
    state.View.LevelFileName = name;
    const auto failure = LoadLevel(state);
    return (failure ? failure->Message : std::string("loaded")) + "|" +
           std::to_string(state.WallCount) + "|0";
}

#endif

constexpr std::size_t FiftyMegabytes = 50u << 20;

// `pattern` repeated to fifty megabytes, written a megabyte at a time.
std::string WriteHugeFile(const ScratchFolder& folder, const std::string& pattern) {
    const std::string name = (folder.Path / "torv-2.dat").string();
    std::string block;
    while (block.size() < (1u << 20)) {
        block += pattern;
    }
    block.resize(1u << 20);
    std::FILE* out = std::fopen(name.c_str(), "wb");
    EXPECT_NE(out, nullptr);
    for (std::size_t written = 0; out != nullptr && written < FiftyMegabytes;
         written += block.size()) {
        EXPECT_EQ(std::fwrite(block.data(), 1, block.size(), out), block.size());
    }
    if (out != nullptr) {
        std::fclose(out);
    }
    return name;
}

struct HugeCase {
    const char* Name;
    std::string Pattern;
    // What follows "file:" in the message; empty when the level loads.
    std::string Error;
};

void PrintTo(const HugeCase& c, std::ostream* out) {
    *out << c.Name;
}

class HugeLevel : public testing::TestWithParam<HugeCase> {};

// A fifty-megabyte file loads or is refused as it streams past: the loader
// never holds it in memory.
TEST_P(HugeLevel, LoadsOrIsRefusedWithoutHoldingTheFile) {
    const HugeCase& c = GetParam();
    const ScratchFolder folder;
    const std::string name = WriteHugeFile(folder, c.Pattern);
    const std::string outcome = MeasuredLoad(name);
    const std::size_t bar = outcome.find('|');
    const std::size_t bar2 = outcome.find('|', bar + 1);
    ASSERT_NE(bar2, std::string::npos) << outcome;
    EXPECT_EQ(outcome.substr(0, bar), c.Error.empty() ? "loaded" : name + ":" + c.Error);
    EXPECT_EQ(outcome.substr(bar + 1, bar2 - bar - 1), "0");
    EXPECT_LT(std::stol(outcome.substr(bar2 + 1)), 16 * 1024) << "KiB grown while loading";

    // From memory the outcome is the same.
    std::string bytes;
    bytes.reserve(FiftyMegabytes);
    while (bytes.size() < FiftyMegabytes) {
        bytes += c.Pattern;
    }
    bytes.resize(FiftyMegabytes);
    Module1 state;
    FillWithOldWalls(state);
    const auto failure = ReadLevel(bytes, "torv-2.dat", state);
    EXPECT_EQ(failure ? failure->Message : "loaded",
              c.Error.empty() ? "loaded" : "torv-2.dat:" + c.Error);
    EXPECT_EQ(state.WallCount, 0);
}

INSTANTIATE_TEST_SUITE_P(
    FiftyMegabytes, HugeLevel,
    testing::Values(HugeCase{"DigitZeros", "0",
                             "1:1: expected the grid size, found \"" + std::string(40, '0') +
                                 "...\", longer than 256 characters"},
                    HugeCase{"ZeroLines", "0\n", ""},
                    HugeCase{"NulBytes", std::string(1, '\0'),
                             [] {
                                 std::string quoted;
                                 for (int k = 0; k < 40; ++k) {
                                     quoted += "\\x00";
                                 }
                                 return "1:1: expected the grid size, found \"" + quoted +
                                        "...\", longer than 256 characters";
                             }()}),
    [](const testing::TestParamInfo<HugeCase>& info) { return std::string(info.param.Name); });

// Puts the C and C++ global locales back however the test ends.
class GlobalLocale {
  public:
    GlobalLocale() : CLocale(std::setlocale(LC_ALL, nullptr)) {}
    ~GlobalLocale() {
        std::locale::global(CppLocale);
        std::setlocale(LC_ALL, CLocale.c_str());
    }
    GlobalLocale(const GlobalLocale&) = delete;
    GlobalLocale& operator=(const GlobalLocale&) = delete;

  private:
    std::string CLocale;
    std::locale CppLocale;
};

// Numbers in a level are read the same whatever the user's locale: a German
// one, whose decimal separator is a comma, must not turn "2.5" into 2 or
// "1.0" into 1 followed by garbage. The locale has to exist on the machine
// (test.sh makes it); a missing one fails here rather than passing untested.
TEST(LevelLocale, GermanLocaleReadsTheSameWalls) {
    const std::string level =
        "2.5\r\n1.0,0\n0,1e0\n0.5,1.00\n" + std::string("0,0\n0,0\n0,0\n0,0\n0,0\n1.0,1.0\n");
    Module1 inC;
    ASSERT_FALSE(ReadLevel(level, "torv-2.dat", inC).has_value());
    ASSERT_EQ(inC.WallCount, 5);

    const GlobalLocale restore;
#if defined(_WIN32)
    // The C runtime's own name for it. MinGW's C++ library knows no named
    // locales, so there the C locale is the one that could go wrong.
    ASSERT_NE(std::setlocale(LC_ALL, "German_Germany.1252"), nullptr);
#else
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "the locale de_DE.UTF-8 is missing; make it with: localedef -i de_DE -f UTF-8 "
           "de_DE.UTF-8";
    std::locale::global(std::locale("de_DE.UTF-8"));
#endif
    // Proof that the locale is in force: the C library now reads a decimal comma.
    ASSERT_EQ(std::strtod("0,5", nullptr), 0.5);
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");

    const ScratchFolder folder;
    for (const bool fromFile : {false, true}) {
        Module1 inGerman;
        std::optional<LoadError> failure;
        if (fromFile) {
            inGerman.View.LevelFileName = folder.Write("torv-2.dat", level);
            failure = LoadLevel(inGerman);
        } else {
            failure = ReadLevel(level, "torv-2.dat", inGerman);
        }
        ASSERT_FALSE(failure.has_value()) << failure->Message;
        ASSERT_EQ(inGerman.WallCount, inC.WallCount);
        for (int k = 1; k <= inC.WallCount; ++k) {
            EXPECT_TRUE(SameWall(inGerman.Walls[k], inC.Walls[k])) << "wall " << k;
        }
    }
    // And an error message does not pick up the locale's digit grouping.
    Module1 state;
    const auto failure = ReadLevel(GridLevel("1000", 1000, {}, "\n", 1234), "big.dat", state);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->Message, "big.dat:1236:1: the file ends before flag A of node (1, 233)");
}

}  // namespace
