// The bytes of a level, from memory or streamed from a file in 64 KiB blocks,
// with the line and column of the next byte for the loader's messages.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <string_view>
#include <vector>

inline constexpr int EndOfInput = -1;

// Bytes from memory or streamed from a file in blocks, with the line and
// column of the next byte. CR, LF and CRLF each end one line.
class ByteReader {
  public:
    explicit ByteReader(std::string_view memory) : Data(memory.data()), Length(memory.size()) {}
    explicit ByteReader(std::FILE* file) : File(file), Block(BlockSize) {}

    int Peek() {
        if (Pos == Length && !Refill()) {
            return EndOfInput;
        }
        return static_cast<unsigned char>(Data[Pos]);
    }

    void Advance() {
        const int c = Peek();
        if (c == EndOfInput) {
            return;
        }
        ++Pos;
        if (c == '\n' || (c == '\r' && Peek() != '\n')) {
            ++Line;
            Column = 1;
        } else if (c != '\r') {
            ++Column;
        }
    }

    long long Line = 1;
    long long Column = 1;
    // errno of a failed read (for instance EISDIR), or 0.
    int ReadErrno = 0;

  private:
    static constexpr std::size_t BlockSize = 64 * 1024;

    bool Refill() {
        if (File == nullptr || ReadErrno != 0) {
            return false;
        }
        errno = 0;
        Length = std::fread(Block.data(), 1, Block.size(), File);
        Pos = 0;
        Data = Block.data();
        if (Length == 0 && std::ferror(File) != 0) {
            ReadErrno = errno != 0 ? errno : EIO;
        }
        return Length > 0;
    }

    std::FILE* File = nullptr;
    std::vector<char> Block;
    const char* Data = nullptr;
    std::size_t Pos = 0;
    std::size_t Length = 0;
};
