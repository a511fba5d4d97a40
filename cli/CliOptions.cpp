#include "cli/CliOptions.h"

#include <charconv>

namespace {
// A whole decimal number within [low, high], or nothing.
std::optional<long> ParseBounded(const std::string& text, long low, long high)
{
    long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high)
        return std::nullopt;
    return value;
}

const ExtraOption* FindExtra(const std::vector<ExtraOption>& extras, const std::string& name)
{
    for (const ExtraOption& extra : extras)
        if (name == extra.name)
            return &extra;
    return nullptr;
}
}  // namespace

const char* CliUsageText()
{
    return "usage: kestrelia-cli [options] [TARGET]\n"
           "\n"
           "Times transfers on TARGET, a block device (/dev/sdb, /dev/sdb1, /dev/loop0) or a\n"
           "regular file. Without TARGET it runs on a 1 GiB scratch file in the temporary\n"
           "directory and removes it afterwards.\n"
           "\n"
           "  --test standard|random  sequential zones (default) or 10,000 random 4 KiB transfers\n"
           "  --zones N               zones of the standard test, 1 to 50 (default 10)\n"
           "  --cycles N              cycles of the standard test, 1 to 50 (default 1)\n"
           "  --size MB               transfer size of the standard test in MB, 1 to 511 (default 1)\n"
           "  --write                 also measure writes; every write puts back the data just\n"
           "                          read. Refused on a mounted or busy device.\n"
           "  --json                  print the results as one JSON object\n"
           "  --graph FILE.png        also draw the zone graph of the results into a PNG picture\n"
           "  --report FILE           also save the results report: text, or tab-separated for\n"
           "                          spreadsheets when FILE ends in .xls\n"
           "  --list                  list the drives that can be tested and their mounted volumes\n"
           "                          (with --json as one JSON object); runs no test\n"
           "  --history TARGET        list the earlier runs kept for TARGET; runs no test\n"
           "  --compare FILE.json     set the results beside an earlier run's (per zone, in %)\n"
           "  --save-json FILE        also write the run as JSON, as the history keeps it\n"
           "  --help                  show this text\n"
           "\n"
           "Speeds are in MB per second of 1,048,576 bytes. Exit status: 0 done, 1 the test\n"
           "failed, 2 bad input.\n";
}

ParseResult ParseCliOptions(const std::vector<std::string>& arguments,
                            const std::vector<ExtraOption>& extraOptions)
{
    CliOptions options;
    ParseResult result;
    auto fail = [&result](std::string message) {
        result.error = std::move(message);
        return result;
    };

    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= arguments.size())
                return false;
            out = arguments[++i];
            return true;
        };
        std::string text;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--write") {
            options.write = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--test") {
            if (!value(text))
                return fail("--test needs a value: standard or random");
            if (text == "standard")
                options.randomTest = false;
            else if (text == "random")
                options.randomTest = true;
            else
                return fail("--test must be standard or random, not \"" + text + "\"");
        } else if (arg == "--zones" || arg == "--cycles") {
            if (!value(text))
                return fail(arg + " needs a number from 1 to 50");
            const auto n = ParseBounded(text, 1, 50);
            if (!n)
                return fail(arg + " must be a whole number from 1 to 50, not \"" + text + "\"");
            (arg == "--zones" ? options.zones : options.cycles) = static_cast<int32_t>(*n);
        } else if (arg == "--size") {
            if (!value(text))
                return fail("--size needs a number of megabytes from 1 to 511");
            const auto n = ParseBounded(text, 1, 511);
            if (!n)
                return fail("--size must be a whole number of megabytes from 1 to 511, not \"" +
                            text + "\"");
            options.sizeMegabytes = static_cast<uint32_t>(*n);
        } else if (const ExtraOption* extra = FindExtra(extraOptions, arg)) {
            if (extra->takesValue && !value(text))
                return fail(arg + " needs a value");
            options.extras.emplace_back(arg, extra->takesValue ? text : std::string());
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            return fail("unknown option " + arg + " (see --help)");
        } else if (!options.target.empty()) {
            return fail("only one target may be given, not \"" + options.target + "\" and \"" + arg + "\"");
        } else {
            options.target = arg;
        }
    }
    result.options = options;
    return result;
}

std::string ExtraOptionValue(const CliOptions& options, const std::string& name)
{
    for (const auto& [option, value] : options.extras)
        if (option == name)
            return value;
    return {};
}
