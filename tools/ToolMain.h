// What the companion tools share besides their options (options/): reporting
// a failure the usual way (the tool's name, the message, on stderr) and
// reading a number.
#pragma once

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

// Reports message and returns status, for main to return.
inline int Fail(const char* tool, const std::string& message, int status) {
    std::fprintf(stderr, "%s: %s\n", tool, message.c_str());
    return status;
}

// Makes stdout pass bytes through unchanged, for a file written there: on
// Windows it would otherwise turn every LF into CRLF, and the same maze would
// come out as different bytes than on Linux.
inline void BinaryStdout() {
#if defined(_WIN32)
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
}

// A whole decimal number and nothing before or after it.
template <typename T>
bool ParseWhole(std::string_view text, T& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end;
}
