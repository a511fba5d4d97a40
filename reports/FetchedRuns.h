// Runs fetched from other machines: the run documents of their history or of
// --save-json, and what kestrelia-cli --json printed there (one run, or
// several under "runs"), each made a run document.
#pragma once

#include "reports/RunDocument.h"

#include <optional>
#include <string>
#include <vector>

// The runs in JSON text; nullopt with the reason when it holds none of either kind.
std::optional<std::vector<RunDocument>> RunsFromFetchedJson(const std::string& text, std::string* error);

// The runs of a file, never read through a symbolic link.
std::optional<std::vector<RunDocument>> ReadFetchedRunFile(const std::string& path, std::string* error);
