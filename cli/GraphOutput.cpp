#include "cli/GraphOutput.h"

#include "cli/PngOutput.h"
#include "display/GraphImage.h"
#include "engine/TestModel.h"
#include "format/ByteText.h"
#include "format/CountText.h"
#include "platform/AtomicFileWriter.h"

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

bool WriteResultGraph(const std::string& path, const Run& run, const CliOptions& options, std::ostream& err)
{
    char size[256];
    FormatByteSize(static_cast<int64_t>(run.target.sizeBytes), size, false);
    const std::string target = options.target.empty() ? "a scratch file" : options.target;
    GraphImageOptions image;
    image.title = QString::fromStdString("Kestrelia zone test of " + target);
    image.subtitle = QString::asprintf("%s; %s, %s of %u MB transfers; %s", size,
                                       CountText(run.settings.zones, "zone").c_str(),
                                       CountText(run.settings.cycles, "cycle").c_str(), run.settings.transferMegabytes,
                                       run.settings.writes ? "reads and writes" : "reads only");
    return SavePngPicture(path, [&] { return RenderResultGraphImage(run, image); }, "the graph", err);
}
