#include "shell/LeftVolumes.h"

#include "devices/MountControl.h"
#include "shell/WindowLaunch.h"
#include "shell/Alerts.h"
#include "shell/MainWindow.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QWidget>

#include <cstdio>

namespace {
constexpr const char* kLeftMessage = "Volumes were left unmounted by a test that did not finish.";

bool AskInBox(const QString& volumes)
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        std::fprintf(stderr, "kestrelia: %s\n%s", kLeftMessage, qPrintable(volumes));
        return false;
    }
    QMessageBox box(QMessageBox::Warning, QObject::tr("Caution"), QString::fromUtf8(kLeftMessage),
                    QMessageBox::Yes | QMessageBox::No, TheMainWindow());
    box.setInformativeText(volumes + QObject::tr("\nMount them back now?"));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}
}  // namespace

void OfferToRemountLeftVolumes(const LeftVolumesQuestion& ask)
{
    for (const LeftMounts& left : FindLeftMounts()) {
        QString volumes;
        for (const RememberedMount& mount : left.mounts)
            volumes += QString::fromStdString(mount.device + " at " + mount.target + "\n");
        if (!(ask ? ask(volumes) : AskInBox(volumes)))
            continue;
        const std::vector<RemountFailure> failures = RemountLeftMounts(left);
        if (failures.empty())
            continue;
        std::string advice = kRemountFailedExplanation;
        advice.erase(0, advice.find_first_not_of(' '));
        const std::string explanation = DescribeRemountFailures(failures) + advice;
        DoStandardLocalizedAlert(kRemountFailedMessage, explanation.c_str(), kAlertStopAlert);
    }
}
