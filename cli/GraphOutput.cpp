#include "cli/GraphOutput.h"

#include "display/GraphImage.h"
#include "format/ByteText.h"
#include "format/CountText.h"
#include "platform/AtomicFileWriter.h"
#include "format/NumberLocale.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageWriter>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <memory>

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
// Qt's notes about the session (no runtime folder and the like) are no news to
// a terminal user; only its errors are passed on.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "kestrelia-cli: %s\n", qPrintable(message));
}
}  // namespace

bool WriteResultGraph(const std::string& path, const Run& run, const CliOptions& options, std::ostream& err)
{
    qInstallMessageHandler(QuietQtMessages);
    // Drawn without a desktop: fonts come from the offscreen platform.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::unique_ptr<QGuiApplication> application;
    if (QGuiApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "kestrelia-cli";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QGuiApplication>(argc, argv);
        UseUserLocaleExceptNumbers();  // the toolkit took the user's locale for numbers too
    }

    char size[256];
    FormatByteSize(static_cast<int64_t>(run.target.sizeBytes), size, false);
    const std::string target = options.target.empty() ? "a scratch file" : options.target;
    GraphImageOptions image;
    image.title = QString::fromStdString("Kestrelia zone test of " + target);
    image.subtitle = QString::asprintf("%s; %s, %s of %u MB transfers; %s", size,
                                       CountText(run.settings.zones, "zone").c_str(),
                                       CountText(run.settings.cycles, "cycle").c_str(), run.settings.transferMegabytes,
                                       run.settings.writes ? "reads and writes" : "reads only");
    // Encoded in memory, then saved through the same checks as a report.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(RenderResultGraphImage(run, image))) {
        err << "kestrelia-cli: cannot draw the graph: " << writer.errorString().toStdString() << '\n';
        return false;
    }
    const FileWriteResult saved = WriteFileAtomically(path, png.toStdString());
    if (saved.ok())
        return true;
    err << "kestrelia-cli: cannot write the graph: " << FileWriteProblem(path, saved) << '\n';
    return false;
}
