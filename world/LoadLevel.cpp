#include "world/LoadLevel.h"

#include <fast_float/fast_float.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "world/ByteReader.h"

namespace {

bool IsBlank(int c) {
    return c == ' ' || c == '\t';
}
bool IsLineBreak(int c) {
    return c == '\r' || c == '\n';
}
bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}
bool EndsToken(int c) {
    return c == EndOfInput || c == ',' || IsBlank(c) || IsLineBreak(c);
}

// A token quoted for a message: at most 40 bytes, unprintable ones as \xNN.
std::string Quote(std::string_view token, bool truncated) {
    std::string quoted = "\"";
    for (std::size_t k = 0; k < token.size() && k < 40; ++k) {
        const auto c = static_cast<unsigned char>(token[k]);
        if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') {
            quoted += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            quoted += escaped;
        }
    }
    if (truncated || token.size() > 40) {
        quoted += "...";
    }
    return quoted + "\"";
}

// Decimal number syntax: sign, digits, optional fraction, optional exponent.
// fast_float alone would also take "inf" and "nan".
bool IsDecimalNumber(std::string_view t) {
    std::size_t k = 0;
    if (k < t.size() && (t[k] == '+' || t[k] == '-')) {
        ++k;
    }
    std::size_t digits = 0;
    while (k < t.size() && IsDigit(t[k])) {
        ++k;
        ++digits;
    }
    if (k < t.size() && t[k] == '.') {
        ++k;
        while (k < t.size() && IsDigit(t[k])) {
            ++k;
            ++digits;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (k < t.size() && (t[k] == 'e' || t[k] == 'E')) {
        ++k;
        if (k < t.size() && (t[k] == '+' || t[k] == '-')) {
            ++k;
        }
        if (k == t.size() || !IsDigit(t[k])) {
            return false;
        }
        while (k < t.size() && IsDigit(t[k])) {
            ++k;
        }
    }
    return k == t.size();
}

// Whether a decimal number's digits, before any exponent, hold anything but
// zeros: such a number read as zero has underflowed.
bool HasNonzeroDigit(std::string_view decimal) {
    for (const char c : decimal) {
        if (c == 'e' || c == 'E') {
            break;
        }
        if (c >= '1' && c <= '9') {
            return true;
        }
    }
    return false;
}

enum class Reading { Number, OutOfRange, NotANumber };

// Reads a decimal number into value, correctly rounded and the same in every
// locale. fast_float rather than std::from_chars, which older libc++
// (Emscripten's, Apple's) lacks for double: one reader on every platform. It
// turns numbers beyond a double into infinity or zero instead of failing, so
// those are caught here. It takes no leading '+'.
Reading ReadDecimal(std::string_view decimal, double& value) {
    if (!decimal.empty() && decimal.front() == '+') {
        decimal.remove_prefix(1);
    }
    const char* end = decimal.data() + decimal.size();
    const auto [ptr, ec] = fast_float::from_chars(decimal.data(), end, value);
    if (ec != std::errc() || ptr != end) {
        return Reading::NotANumber;
    }
    if (!std::isfinite(value) || (value == 0 && HasNonzeroDigit(decimal))) {
        return Reading::OutOfRange;
    }
    return Reading::Number;
}

// Round half to even, for values already known to be finite.
double RoundHalfEven(double v) {
    const double below = std::floor(v);
    const double fraction = v - below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) {
        return below + 1.0;
    }
    return below;
}

class LevelParser {
  public:
    LevelParser(ByteReader& reader, std::string_view fileName)
        : Reader(reader), FileName(fileName) {}

    std::optional<LoadError> Parse(std::vector<WallRecord>& walls) {
        double gridSize = 0;
        if (auto failure = ReadNumber(Token{}, gridSize)) {
            return failure;
        }
        const double n = RoundHalfEven(gridSize);
        if (n > MaxGridSize) {
            return FailAt(NumberLine, NumberColumn,
                          "grid size " + std::string(LastToken) + " is too large: the largest " +
                              "grid read is " + std::to_string(MaxGridSize));
        }
        // Any negative size reads no flags at all; clamped first, since a size
        // like -1e300 has no int. Then the grid size was the last number the
        // level needs, and what follows it is not read.
        const int last = n < 0 ? -1 : static_cast<int>(n);
        if (last < 0) {
            return std::nullopt;
        }
        if (auto failure = ReadSeparator()) {
            return failure;
        }
        for (int i = 0; i <= last; ++i) {
            for (int j = 0; j <= last; ++j) {
                double a = 0;
                double b = 0;
                if (auto failure = ReadField(Token{'A', i, j}, a, false)) {
                    return failure;
                }
                if (a == 1.0) {
                    if (auto failure = Append(walls, 'A', i, j)) {
                        return failure;
                    }
                }
                const bool lastFlag = i == last && j == last;
                if (auto failure = ReadField(Token{'B', i, j}, b, lastFlag)) {
                    return failure;
                }
                if (b == 1.0) {
                    if (auto failure = Append(walls, 'B', i, j)) {
                        return failure;
                    }
                }
            }
        }
        return std::nullopt;
    }

  private:
    enum class Separator { Start, Comma, LineBreak };

    // Which number is read: the grid size, or a flag of a node. Named in
    // words only when something is wrong, since a level has thousands.
    struct Token {
        char Flag = 0;  // 0 for the grid size
        int I = 0;
        int J = 0;
        std::string Name() const { return Flag == 0 ? "the grid size" : FlagName(Flag, I, J); }
    };

    static std::string FlagName(char flag, int i, int j) {
        return std::string("flag ") + flag + " of node (" + std::to_string(i) + ", " +
               std::to_string(j) + ")";
    }

    LoadError FailAt(long long line, long long column, const std::string& what) const {
        return LoadError{std::string(FileName) + ":" + std::to_string(line) + ":" +
                         std::to_string(column) + ": " + what};
    }

    std::optional<LoadError> ReadFailure() const {
        if (Reader.ReadErrno == 0) {
            return std::nullopt;
        }
        return LoadError{std::string(FileName) +
                         ": cannot read the level file: " + std::strerror(Reader.ReadErrno)};
    }

    void SkipBlanks() {
        while (IsBlank(Reader.Peek())) {
            Reader.Advance();
        }
    }

    // Reads the next number and, unless it is the last one the level needs,
    // its separator. After the last number nothing more is looked at, not even
    // the separator, since trailing text is not part of the level.
    std::optional<LoadError> ReadField(const Token& token, double& value, bool last) {
        if (auto failure = ReadNumber(token, value)) {
            return failure;
        }
        return last ? std::nullopt : ReadSeparator();
    }

    // Reads the next number into value, leaving what follows it unread.
    std::optional<LoadError> ReadNumber(const Token& token, double& value) {
        SkipBlanks();
        if (Previous != Separator::Comma) {
            while (IsLineBreak(Reader.Peek())) {  // blank lines
                Reader.Advance();
                SkipBlanks();
            }
        }
        const int first = Reader.Peek();
        if (first == EndOfInput) {
            if (auto failure = ReadFailure()) {
                return failure;
            }
            return FailAt(Reader.Line, Reader.Column, "the file ends before " + token.Name());
        }
        if (first == ',' || IsLineBreak(first)) {
            return FailAt(Reader.Line, Reader.Column,
                          "empty field: expected " + token.Name() + " after the comma");
        }
        if (auto failure = ReadToken(token)) {
            return failure;
        }
        return Convert(token, value);
    }

    // Reads the bytes of one number into LastToken, noting where it starts.
    std::optional<LoadError> ReadToken(const Token& token) {
        NumberLine = Reader.Line;
        NumberColumn = Reader.Column;
        LastToken.clear();
        while (!EndsToken(Reader.Peek())) {
            if (LastToken.size() == static_cast<std::size_t>(MaxTokenLength)) {
                // No number is that long: stop here rather than stream on
                // through what may be megabytes without a separator.
                return FailAt(NumberLine, NumberColumn,
                              "expected " + token.Name() + ", found " + Quote(LastToken, true) +
                                  ", longer than " + std::to_string(MaxTokenLength) +
                                  " characters");
            }
            LastToken += static_cast<char>(Reader.Peek());
            Reader.Advance();
        }
        return ReadFailure();
    }

    // The value of LastToken, which must be a decimal number in the range of a
    // 64-bit float.
    std::optional<LoadError> Convert(const Token& token, double& value) const {
        if (!IsDecimalNumber(LastToken)) {
            return FailAt(NumberLine, NumberColumn,
                          "expected " + token.Name() + " as a decimal number, found " +
                              Quote(LastToken, false));
        }
        const Reading reading = ReadDecimal(LastToken, value);
        if (reading == Reading::OutOfRange) {
            return FailAt(NumberLine, NumberColumn,
                          "expected " + token.Name() + ", found " + Quote(LastToken, false) +
                              ", out of the range of a 64-bit float");
        }
        if (reading == Reading::NotANumber) {
            return FailAt(NumberLine, NumberColumn,
                          "expected " + token.Name() + " as a decimal number, found " +
                              Quote(LastToken, false));
        }
        return std::nullopt;
    }

    // Reads the comma or line break after a number; the end of the file
    // passes too, so that a missing number is reported as such.
    std::optional<LoadError> ReadSeparator() {
        SkipBlanks();
        const int next = Reader.Peek();
        if (next == ',') {
            Reader.Advance();
            Previous = Separator::Comma;
        } else if (IsLineBreak(next)) {
            Reader.Advance();
            Previous = Separator::LineBreak;
        } else if (next != EndOfInput) {
            return FailAt(Reader.Line, Reader.Column,
                          "expected a comma or a line break after " + Quote(LastToken, false) +
                              ", found " + Quote(std::string(1, static_cast<char>(next)), false));
        }
        return ReadFailure();
    }

    std::optional<LoadError> Append(std::vector<WallRecord>& walls, char flag, int i, int j) {
        if (walls.size() == static_cast<std::size_t>(WallCapacity)) {
            return FailAt(NumberLine, NumberColumn,
                          FlagName(flag, i, j) + " would make wall " +
                              std::to_string(WallCapacity + 1) + ", but the wall table holds " +
                              std::to_string(WallCapacity) + " walls");
        }
        // Node (i, j) sits at (i - 10, j - 10); every wall is 2 long and
        // centred on its node. The integers involved are exact in a float.
        const auto x = static_cast<float>(i - 10);
        const auto y = static_cast<float>(j - 10);
        WallRecord wall;
        if (flag == 'A') {
            wall = {x - 1, y, x + 1, y, 0};
        } else {
            wall = {x, y - 1, x, y + 1, 0};
        }
        wall.Distance = std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y);
        walls.push_back(wall);
        return std::nullopt;
    }

    ByteReader& Reader;
    std::string_view FileName;
    Separator Previous = Separator::Start;
    std::string LastToken;
    long long NumberLine = 1;
    long long NumberColumn = 1;
};

std::optional<LoadError> Load(ByteReader& reader, std::string_view fileName, Module1& state) {
    state.WallCount = 0;
    std::vector<WallRecord> walls;
    walls.reserve(WallCapacity);
    LevelParser parser(reader, fileName);
    if (auto failure = parser.Parse(walls)) {
        return failure;
    }
    for (std::size_t k = 0; k < walls.size(); ++k) {
        state.Walls[static_cast<int>(k) + 1] = walls[k];
    }
    state.WallCount = static_cast<int>(walls.size());
    return std::nullopt;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::optional<LoadError> ReadLevel(std::string_view bytes, std::string_view fileName,
                                   Module1& state) {
    ByteReader reader(bytes);
    return Load(reader, fileName, state);
}

std::optional<LoadError> LoadLevel(Module1& state) {
    state.WallCount = 0;
    const std::string& name = state.View.LevelFileName;
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(name.c_str(), "rb"));
    if (!file) {
        const int reason = errno != 0 ? errno : ENOENT;
        // Windows will not open a directory at all (EACCES), where POSIX opens
        // it and refuses the read: name the real reason on both.
        std::error_code ignored;
        if (reason != ENOENT && std::filesystem::is_directory(name, ignored)) {
            return LoadError{name + ": cannot read the level file: " + std::strerror(EISDIR)};
        }
        return LoadError{name + ": cannot open the level file: " + std::strerror(reason)};
    }
    ByteReader reader(file.get());
    return Load(reader, name, state);
}
