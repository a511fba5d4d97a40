#include "cli/CliOptions.h"

#include "engine/QueuedTransfers.h"

#include <charconv>
#include <set>
#include <sys/stat.h>

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

// Gigabytes of 1,073,741,824 bytes, whole or with decimals, above 0 and at
// most a million (a petabyte), as bytes; or nothing.
std::optional<uint64_t> ParseGigabytes(const std::string& text)
{
    double gigabytes = 0.0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, gigabytes, std::chars_format::fixed);
    if (text.empty() || ec != std::errc() || ptr != end || !(gigabytes > 0.0) || gigabytes > 1e6)
        return std::nullopt;
    const auto bytes = static_cast<uint64_t>(gigabytes * 1073741824.0);
    if (bytes == 0)
        return std::nullopt;
    return bytes;
}

bool LooksLikeMissingFileName(const std::string& value)
{
    struct stat status {};
    return value.empty() || value[0] == '-' || (stat(value.c_str(), &status) == 0 && S_ISBLK(status.st_mode));
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
    return "usage: kestrelia-cli [options] [TARGET...]\n"
           "\n"
           "Times transfers on TARGET, a block device (/dev/sdb, /dev/sdb1, /dev/loop0) or a\n"
           "regular file. Without TARGET it runs on a 1 GiB scratch file in the temporary\n"
           "directory and removes it afterwards. Several targets are tested at the same\n"
           "time, each with its own run; files named by --report, --graph and --save-json\n"
           "get the drive's name added (r.txt gives r-sdb.txt), and a summary table follows.\n"
           "\n"
           "  --test standard|random|surface\n"
           "                          sequential zones (default), 10,000 random 4 KiB transfers,\n"
           "                          or every transfer from the first sector to the last\n"
           "  --zones N               zones of the standard test, 1 to 50 (default 10)\n"
           "  --cycles N              cycles of the standard test, 1 to 50 (default 1)\n"
           "  --size MB               transfer size of the standard test in MB, 1 to 511 (default 1)\n"
           "  --queue-depth N         transfers of the random test kept in flight: 1 (default,\n"
           "                          one at a time), 2, 4, 8, 16, 32, 64, 128 or 256 (io_uring)\n"
           "  --span GB               surface test: only the first GB gigabytes (of 1,073,741,824\n"
           "                          bytes; decimals allowed)\n"
           "  --duration MINUTES      surface test: stop cleanly after this many minutes, 1 to\n"
           "                          100000; the part covered is reported as such\n"
           "  --write                 also measure writes; every write puts back the data just\n"
           "                          read. Refused on a mounted, busy or read-only device.\n"
           "  --unmount               with --write: unmount the drive's (or volume's) volumes\n"
           "                          first and mount them back as they were afterwards\n"
           "  --remount-left          mount back the volumes a run that was killed left\n"
           "                          unmounted; runs no test\n"
           "  --json                  print the results as one JSON object\n"
           "  --graph FILE.png        also draw the zone graph of the results into a PNG picture\n"
           "  --report FILE           also save the results report: text, or tab-separated for\n"
           "                          spreadsheets when FILE ends in .xls\n"
           "  --list                  list the drives that can be tested and their mounted volumes\n"
           "                          (with --json as one JSON object); runs no test\n"
           "  --history TARGET        list the earlier runs kept for TARGET; runs no test\n"
           "  --compare FILE.json     set the results beside an earlier run's (per zone, in %)\n"
           "  --save-json FILE        also write the run as JSON, as the history keeps it\n"
           "  --all                   test every listed drive with no mounted volume (never the\n"
           "                          one holding /), after showing them and asking\n"
           "  --yes                   with --all: test them without asking\n"
           "  --one-at-a-time         test several targets in turn, not at the same time (drives\n"
           "                          on one controller share its bandwidth)\n"
           "  --target-rate MBPS      pass or fail in the summary: a drive passes when every\n"
           "                          zone's minimum, read and write, reaches MBPS (the random\n"
           "                          test: its speeds); one that does not fails with status 1\n"
           "  --metrics FILE.prom     also write the results for Prometheus (node_exporter's\n"
           "                          textfile collector)\n"
           "  --merge DIR...          one table of the runs fetched from many hosts (a folder\n"
           "                          each); with --csv as CSV, with --graph FILE.png drawn;\n"
           "                          runs no test\n"
           "  --help                  show this text\n"
           "\n"
           "Speeds are in MB per second of 1,048,576 bytes. Exit status: 0 done, 1 the test\n"
           "failed or the surface test found unreadable sectors, 2 bad input, 3 --all not\n"
           "confirmed, 130 stopped by Ctrl-C, 143 stopped by SIGTERM or SIGHUP. With several\n"
           "targets, the worst of the drives' statuses: a signal's, then 2, then 1.\n";
}

ParseResult ParseCliOptions(const std::vector<std::string>& arguments,
                            const std::vector<ExtraOption>& extraOptions)
{
    CliOptions options;
    bool queueDepthGiven = false;
    std::set<std::string> given;  // a second value never silently wins over the first
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
        const bool isOption = arg.size() > 1 && arg[0] == '-';
        if (isOption && !given.insert(arg == "-h" ? "--help" : arg).second)
            return fail(arg + " given twice");
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--write") {
            options.write = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--test") {
            if (!value(text))
                return fail("--test needs a value: standard, random or surface");
            options.randomTest = text == "random";
            options.surfaceTest = text == "surface";
            if (text != "standard" && text != "random" && text != "surface")
                return fail("--test must be standard, random or surface, not \"" + text + "\"");
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
        } else if (arg == "--queue-depth") {
            if (!value(text))
                return fail("--queue-depth needs a number: 1, 2, 4, 8, 16, 32, 64, 128 or 256");
            const auto n = ParseBounded(text, 1, kMaxRandomQueueDepth);
            if (!n || !IsSupportedQueueDepth(static_cast<uint32_t>(*n)))
                return fail("--queue-depth must be 1, 2, 4, 8, 16, 32, 64, 128 or 256, not \"" + text + "\"");
            options.queueDepth = static_cast<uint32_t>(*n);
            queueDepthGiven = true;
        } else if (arg == "--span") {
            if (!value(text))
                return fail("--span needs a number of gigabytes");
            const auto bytes = ParseGigabytes(text);
            if (!bytes)
                return fail("--span must be a number of gigabytes above 0 (such as 40 or 2.5), not \"" + text + "\"");
            options.spanBytes = *bytes;
        } else if (arg == "--duration") {
            if (!value(text))
                return fail("--duration needs a number of minutes from 1 to 100000");
            const auto n = ParseBounded(text, 1, 100000);
            if (!n)
                return fail("--duration must be a whole number of minutes from 1 to 100000, not \"" + text + "\"");
            options.durationMinutes = static_cast<uint32_t>(*n);
        } else if (const ExtraOption* extra = FindExtra(extraOptions, arg)) {
            // A forgotten file name must not turn the next argument (an option
            // or the device under test) into the file to write.
            if (extra->takesValue && extra->namesOutputFile && (!value(text) || LooksLikeMissingFileName(text)))
                return fail(arg + " needs a file name");
            if (extra->takesValue && !extra->namesOutputFile && (!value(text) || text.empty() || text[0] == '-'))
                return fail(arg + " needs a value");
            options.extras.emplace_back(arg, extra->takesValue ? text : std::string());
        } else if (isOption) {
            return fail("unknown option " + arg + " (see --help)");
        } else if (arg.empty()) {
            return fail("the target is an empty name: give a device or a file, or none for a scratch file");
        } else {
            if (options.target.empty())
                options.target = arg;
            options.targets.push_back(arg);
        }
    }
    if (queueDepthGiven && !options.randomTest)
        return fail("--queue-depth applies to the random test only (--test random)");
    for (const char* surfaceOnly : {"--span", "--duration"})
        if (given.count(surfaceOnly) != 0 && !options.surfaceTest)
            return fail(std::string(surfaceOnly) + " applies to the surface test only (--test surface)");
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

bool ExtraOptionGiven(const CliOptions& options, const std::string& name)
{
    for (const auto& extra : options.extras)
        if (extra.first == name)
            return true;
    return false;
}
