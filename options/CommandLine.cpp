// The shared command-line setup: how every mazewalk program reads its
// options and how it answers --help, --version and a wrong command line.
#include "options/CommandLine.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// CLI11 prints the summary above the usage line; GNU tools, and help2man,
// which makes manual pages from --help, expect the usage line first.
class UsageFirst : public CLI::Formatter {
  public:
    std::string make_help(const CLI::App* app, std::string name,
                          CLI::AppFormatMode mode) const override {
        if (mode == CLI::AppFormatMode::Sub) {
            return CLI::Formatter::make_help(app, name, mode);
        }
        return make_usage(app, name) + make_description(app) + make_positionals(app) +
               make_groups(app, mode) + "\n" + make_footer(app);
    }
};

bool IsOption(const std::string& argument) {
    return argument.size() > 1 && argument[0] == '-';
}

}  // namespace

CommandLine::CommandLine(const std::string& program, const std::string& summary,
                         const std::string& footer)
    : CLI::App(summary, program) {
    formatter(std::make_shared<UsageFirst>());
    set_help_flag("-h,--help", "show this help and exit");
    set_version_flag("--version", program + " " MAZEWALK_VERSION, "show the version and exit");
    // Given twice, an option takes its last value, so a script can add to a
    // command line that already sets it.
    option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    // CLI11 reads "/x" as an option on Windows; there, as everywhere, a name
    // starting with a slash is a file (a path under Wine, say).
    allow_windows_style_options(false);
    this->footer(footer);
}

CLI::Option* CommandLine::AddOutput(std::string& file, const std::string& description) {
    const CLI::Validator named(
        [](const std::string& name) {
            return name.empty() ? std::string("the file name is empty") : std::string();
        },
        "");
    return add_option("-o,--output", file, description)->type_name("FILE")->check(named);
}

bool CommandLine::IsWholeNumber(const std::string& text) {
    const std::size_t sign = (!text.empty() && text[0] == '-') ? 1 : 0;
    return text.size() > sign && text.find_first_not_of("0123456789", sign) == std::string::npos;
}

std::optional<int> CommandLine::Read(int argc, const char* const argv[]) {
    try {
        parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
            return exit(error);  // --help or --version, on stdout
        }
        return Refuse(Describe(error));
    }
    return std::nullopt;
}

int CommandLine::Refuse(const std::string& fault) const {
    std::string line = fault;
    for (char& c : line) {
        if (c == '\n' || c == '\r') {
            c = ' ';  // one line, whatever CLI11 says
        }
    }
    std::fprintf(stderr, "%s: %s; try '%s --help'\n", get_name().c_str(), line.c_str(),
                 get_name().c_str());
    return UsageStatus;
}

// CLI11's own words, except where they are unclear: an argument nothing
// takes is named alone, and before anything else (CLI11 would first miss a
// required LEVEL that a mistyped option stands in front of); an option
// lacking its value is named as such.
std::string CommandLine::Describe(const CLI::ParseError& error) const {
    std::vector<std::string> extras = remaining();
    std::erase(extras, "--");  // CLI11 keeps the end of the options among the extras
    if (!extras.empty()) {
        const std::string& first = extras.front();
        return IsOption(first) ? "unknown option '" + first.substr(0, first.find('=')) + "'"
                               : "unexpected argument '" + first + "'";
    }
    const std::string what = error.what();
    const std::size_t colon = what.find(':');
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr &&
        what.ends_with(" missing") && colon != std::string::npos) {
        return "option '" + what.substr(0, colon) + "' needs a value";
    }
    return what;
}
