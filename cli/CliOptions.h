// Command-line options of kestrelia-cli.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct CliOptions {
    bool randomTest = false;
    int32_t zones = 10;
    int32_t cycles = 1;
    uint32_t sizeMegabytes = 1;
    uint32_t queueDepth = 1;  // random test only
    bool surfaceTest = false;
    uint64_t spanBytes = 0;         // surface test: the first N bytes; 0 = the whole target
    uint32_t durationMinutes = 0;   // surface test: stop cleanly after this long; 0 = no limit
    bool write = false;
    bool json = false;
    bool help = false;
    std::string target;  // empty: a scratch file in the temporary directory
    std::vector<std::string> targets;  // every target given, in order (target is the first)
    // Options that other commands register (for example "--list", "--report FILE").
    std::vector<std::pair<std::string, std::string>> extras;
};

struct ParseResult {
    std::optional<CliOptions> options;
    std::string error;  // set when options is empty
};

// Options that take no value or one value, besides the built-in ones.
struct ExtraOption {
    const char* name;
    bool takesValue;
    bool namesOutputFile = false;  // its value is a file to write, never a device
};

ParseResult ParseCliOptions(const std::vector<std::string>& arguments,
                            const std::vector<ExtraOption>& extraOptions = {});

const char* CliUsageText();

// The value given to a registered extra option, or empty when it was not given.
std::string ExtraOptionValue(const CliOptions& options, const std::string& name);

// The registered extra option was given (with or without a value).
bool ExtraOptionGiven(const CliOptions& options, const std::string& name);
