// kestrelia-cli-qt.so: the graph picture and the report, the parts of
// kestrelia-cli that draw on Qt (cli/QtOutput.h).
#include "cli/QtOutput.h"

#include "cli/FleetGraph.h"
#include "display/GraphImage.h"
#include "format/NumberLocale.h"
#include "reports/ReportFile.h"
#include "reports/ReportFileName.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageWriter>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {
// Qt's notes about the session (no runtime folder and the like) are no news to
// a terminal user; only its errors are passed on.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "kestrelia-cli: %s\n", qPrintable(message));
}

// Drawn without a desktop: fonts come from the offscreen platform. The
// toolkit is started for the one picture and ended with it.
std::unique_ptr<QGuiApplication> StartOffscreenToolkit()
{
    qInstallMessageHandler(QuietQtMessages);
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
    return application;
}

bool EncodePng(const QImage& image, std::string* png, std::string* problem)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) {
        *problem = writer.errorString().toStdString();
        return false;
    }
    *png = bytes.toStdString();
    return true;
}

bool DrawGraph(const Run& run, const std::string& title, const std::string& subtitle, std::string* png,
               std::string* problem)
{
    const auto application = StartOffscreenToolkit();
    GraphImageOptions image;
    image.title = QString::fromStdString(title);
    image.subtitle = QString::fromStdString(subtitle);
    return EncodePng(RenderResultGraphImage(run, image), png, problem);
}

bool DrawFleetGraph(const std::vector<FleetRun>& runs, std::string* png, std::string* problem)
{
    const auto application = StartOffscreenToolkit();
    return EncodePng(RenderFleetGraph(runs), png, problem);
}

bool SaveReport(const std::string& path, const Run& run, std::string* problem)
{
    const ReportSaveResult result = SaveReportFile(path, run, ReportFormatForFileName(path), run.ended);
    if (!result.ok())
        *problem = ReportSaveFailureText(result);
    return result.ok();
}

constexpr QtOutputFunctions kFunctions{DrawGraph, SaveReport, DrawFleetGraph};
}  // namespace

extern "C" [[gnu::visibility("default")]] const QtOutputFunctions* KestreliaCliQtOutput()
{
    return &kFunctions;
}
