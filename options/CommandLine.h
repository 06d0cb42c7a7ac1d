// The command line of every mazewalk program, read one way. CLI11 is set up
// here once so that the program and its tools take the same forms (-o FILE,
// --output FILE, --output=FILE, --name VALUE, --name=VALUE, --help,
// --version) and refuse a wrong command line the same way: one line on
// stderr that names the fault and points to --help, and exit status 2.
#pragma once

#include <CLI/CLI.hpp>

#include <charconv>
#include <limits>
#include <optional>
#include <string>

// The exit status of a wrong command line, as GNU tools use it.
inline constexpr int UsageStatus = 2;

class CommandLine : public CLI::App {
  public:
    // program names the program in its messages, its usage line and
    // --version; summary opens --help and footer ends it.
    CommandLine(const std::string& program, const std::string& summary,
                const std::string& footer = "");

    // -o FILE, --output FILE or --output=FILE: the one file a program
    // writes. An empty name is refused.
    CLI::Option* AddOutput(std::string& file, const std::string& description);

    // --name N or --name=N, a whole number written in decimal, from least to
    // most (CLI::Range's check and words). CLI11 2.1 alone reads "010" as
    // octal 8 and "0x10" as 16, so that a zero-padded seed would quietly give
    // another maze, and it reads a number past the end of a 64-bit integer as
    // that end.
    template <typename T>
    CLI::Option* AddWholeNumber(const std::string& name, T& value, const std::string& description,
                                T least = std::numeric_limits<T>::min(),
                                T most = std::numeric_limits<T>::max()) {
        const CLI::Validator decimal(
            [least, most](std::string& text) {
                if (!IsWholeNumber(text)) {
                    return "'" + text + "' is not a whole number";
                }
                T number{};
                const char* end = text.data() + text.size();
                const auto [stop, fault] = std::from_chars(text.data(), end, number);
                if (fault != std::errc() || stop != end) {
                    // Past T's ends, where CLI::Range itself can be fooled.
                    return "Value " + text + " not in range " + std::to_string(least) + " to " +
                           std::to_string(most);
                }
                text = std::to_string(number);  // no leading zeros for CLI11 to misread
                return std::string();
            },
            "");
        return add_option(name, value, description)
            ->type_name("N")
            ->transform(decimal)
            ->check(CLI::Range(least, most).description(""));
    }

    // Reads the command line. Returns nothing when the program should go on;
    // otherwise the status main must return at once: 0 after --help or
    // --version (printed on stdout), UsageStatus after a wrong command line
    // (reported on stderr).
    std::optional<int> Read(int argc, const char* const argv[]);

    // Reports a wrong command line found after Read, in Read's words;
    // returns UsageStatus.
    int Refuse(const std::string& fault) const;

  private:
    // An optional minus sign and at least one decimal digit, nothing else.
    static bool IsWholeNumber(const std::string& text);
    std::string Describe(const CLI::ParseError& error) const;
};
