#include "cli/GraphOutput.h"

#include "cli/QtOutput.h"
#include "format/ByteText.h"
#include "format/CountText.h"
#include "platform/AtomicFileWriter.h"

#include <cstdio>

std::string GraphPathOption(const CliOptions& options)
{
    return ExtraOptionValue(options, kGraphOption);
}

std::string CheckGraphOption(const CliOptions& options)
{
    const std::string path = GraphPathOption(options);
    if (path.empty())
        return {};
    if (options.randomTest)
        return "--graph draws the zones of the standard test; the random test has none";
    const FileWriteResult check = CheckFileDestination(path);
    return check.ok() ? std::string() : std::string(kGraphOption) + ": " + FileWriteProblem(path, check);
}

namespace {
// A picture encoded in memory is saved through the same checks as a report.
bool SaveDrawnPicture(const std::string& path, bool drawn, const std::string& png, const std::string& problem,
                      const char* what, std::ostream& err)
{
    if (!drawn) {
        err << "kestrelia-cli: cannot draw " << what << ": " << problem << '\n';
        return false;
    }
    const FileWriteResult saved = WriteFileAtomically(path, png);
    if (saved.ok())
        return true;
    err << "kestrelia-cli: cannot write " << what << ": " << FileWriteProblem(path, saved) << '\n';
    return false;
}
}  // namespace

bool WriteResultGraph(const std::string& path, const Run& run, const CliOptions& options, std::ostream& err)
{
    const QtOutputFunctions* qt = LoadQtOutput(err);
    if (qt == nullptr)
        return false;
    char size[256];
    FormatByteSize(static_cast<int64_t>(run.target.sizeBytes), size, false);
    const std::string target = options.target.empty() ? "a scratch file" : options.target;
    char subtitle[512];
    std::snprintf(subtitle, sizeof subtitle, "%s; %s, %s of %u MB transfers; %s", size,
                  CountText(run.settings.zones, "zone").c_str(), CountText(run.settings.cycles, "cycle").c_str(),
                  run.settings.transferMegabytes, run.settings.writes ? "reads and writes" : "reads only");
    std::string png, problem;
    const bool drawn = qt->drawGraph(run, "Kestrelia zone test of " + target, subtitle, &png, &problem);
    return SaveDrawnPicture(path, drawn, png, problem, "the graph", err);
}

bool WriteFleetGraph(const std::string& path, const std::vector<FleetRun>& runs, std::ostream& err)
{
    const QtOutputFunctions* qt = LoadQtOutput(err);
    if (qt == nullptr)
        return false;
    std::string png, problem;
    const bool drawn = qt->drawFleetGraph(runs, &png, &problem);
    return SaveDrawnPicture(path, drawn, png, problem, "the fleet graph", err);
}
