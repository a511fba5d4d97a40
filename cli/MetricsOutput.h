// kestrelia-cli --metrics FILE.prom: the results of finished runs in the
// Prometheus text exposition format, for node_exporter's textfile collector.
// One family per figure (HELP and TYPE once, then one sample per run, zone
// and statistic), each sample labelled with the drive's node, identity
// (serial or WWN) and model, the kind of test and, for zone figures, the zone.
// Speeds are in bytes per second, times in seconds, as Prometheus names them.
#pragma once

#include "cli/CliOptions.h"
#include "engine/Run.h"

#include <ostream>
#include <span>
#include <string>

inline constexpr const char* kMetricsOption = "--metrics";

// The --metrics path given, or empty.
std::string MetricsPathOption(const CliOptions& options);

// Refuses, before any test runs, a metrics file that could not be saved by
// the user who started the program (CheckFileDestination). Empty when fine.
std::string CheckMetricsOption(const CliOptions& options);

// The exposition text of the runs, in their order.
std::string PrometheusMetricsText(std::span<const Run* const> runs);

// A label value as the format writes it: backslash, double quote and line
// feed escaped.
std::string PrometheusLabelValue(const std::string& text);

// Saves the text atomically (a scrape never reads half a file) with the
// rights of the user who asked; false with a message on err.
bool WriteRunMetrics(const std::string& path, std::span<const Run* const> runs, std::ostream& err);
