// kestrelia-cli-qt.so: the graph picture and the report, the parts of
// kestrelia-cli that draw on Qt (cli/QtOutput.h).
#include "cli/QtOutput.h"

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

bool DrawGraph(const Run& run, const std::string& title, const std::string& subtitle, std::string* png,
               std::string* problem)
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
    GraphImageOptions image;
    image.title = QString::fromStdString(title);
    image.subtitle = QString::fromStdString(subtitle);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(RenderResultGraphImage(run, image))) {
        *problem = writer.errorString().toStdString();
        return false;
    }
    *png = bytes.toStdString();
    return true;
}

bool SaveReport(const std::string& path, const Run& run, std::string* problem)
{
    const ReportSaveResult result = SaveReportFile(path, run, ReportFormatForFileName(path), run.ended);
    if (!result.ok())
        *problem = ReportSaveFailureText(result);
    return result.ok();
}

constexpr QtOutputFunctions kFunctions{DrawGraph, SaveReport};
}  // namespace

extern "C" [[gnu::visibility("default")]] const QtOutputFunctions* KestreliaCliQtOutput()
{
    return &kFunctions;
}
