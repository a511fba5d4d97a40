#include "cli/PngOutput.h"

#include "format/NumberLocale.h"
#include "platform/AtomicFileWriter.h"

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
}  // namespace

bool SavePngPicture(const std::string& path, const std::function<QImage()>& draw, const std::string& what,
                    std::ostream& err)
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
    // Encoded in memory, then saved through the same checks as a report.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(draw())) {
        err << "kestrelia-cli: cannot draw " << what << ": " << writer.errorString().toStdString() << '\n';
        return false;
    }
    const FileWriteResult saved = WriteFileAtomically(path, png.toStdString());
    if (saved.ok())
        return true;
    err << "kestrelia-cli: cannot write " << what << ": " << FileWriteProblem(path, saved) << '\n';
    return false;
}
