// Kestrelia, the desktop disk benchmark.
#include "app/QuitSignals.h"
#include "app/Screenshots.h"
#include "app/Startup.h"
#include "devices/DriveRecords.h"
#include "format/Localization.h"
#include "format/NumberLocale.h"
#include "platform/PrivilegedRelaunch.h"
#include "shell/Alerts.h"
#include "shell/Commands.h"
#include "shell/SaveDialog.h"
#include "shell/StringsTable.h"
#include "shell/Windows.h"

#include <QApplication>

#include <cstring>
#include <sys/utsname.h>
#include <unistd.h>
#include <vector>

#ifndef KESTRELIA_INSTALLED_PATH
#define KESTRELIA_INSTALLED_PATH ""
#endif

namespace {
const char* const kNoPkexecMessage = "Kestrelia needs administrator rights to test drives, and pkexec is not installed.";
const char* const kNoPkexecExplanation = "Install the pkexec package, or start Kestrelia as root.";
const char* const kRefusedMessage = "Kestrelia was not given administrator rights.";
const char* const kRefusedExplanation = "Without them it cannot open drives for testing.";
const char* const kRelaunchFailedMessage = "Kestrelia could not be started with administrator rights.";

// The strings table beside the executable, before any alert is shown.
void LoadStrings()
{
    char path[1024];
    if (getPathForFile("Localizable.strings", path))
        InstallStringsTable(path);
}

// Runs the privileged copy; the status of this unprivileged one.
int RelaunchPrivileged(bool alreadyRelaunched)
{
    uint32_t size = 0;
    if (MyGetExecutablePath(nullptr, &size) != -1 || size == 0)
        return -1;
    std::vector<char> executable(size);
    if (MyGetExecutablePath(executable.data(), &size) != 0)
        return -1;
    if (alreadyRelaunched) {
        // Started as the privileged copy and still not root: never loop.
        DoStandardLocalizedAlert(kRefusedMessage, kRefusedExplanation, kAlertStopAlert);
        return 1;
    }
    const RelaunchResult result = RelaunchWithAdministratorRights(executable.data(), KESTRELIA_INSTALLED_PATH);
    switch (result.outcome) {
    case RelaunchOutcome::Relaunched:
        return 0;
    case RelaunchOutcome::ElevationMissing:
        DoStandardLocalizedAlert(kNoPkexecMessage, kNoPkexecExplanation, kAlertStopAlert);
        return 1;
    case RelaunchOutcome::Refused:
        DoStandardLocalizedAlert(kRefusedMessage, kRefusedExplanation, kAlertStopAlert);
        return 1;
    case RelaunchOutcome::Failed:
        break;
    }
    DoStandardLocalizedAlert(kRelaunchFailedMessage, nullptr, kAlertStopAlert);
    return 1;
}
}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // Qt has taken the user's locale; numbers keep the reports' form.
    UseUserLocaleExceptNumbers();
    QApplication::setApplicationName(QStringLiteral("Kestrelia"));
    QApplication::setOrganizationName(QStringLiteral("Kestrelia"));
    QApplication::setDesktopFileName(QStringLiteral("org.kestrelia.Kestrelia"));
    LoadStrings();

    utsname system {};
    if (uname(&system) != 0 || !KernelIsRecentEnough(system.release)) {
        DoStandardLocalizedAlert("TenTwoOrHigher", nullptr, kAlertStopAlert);
        return 0;
    }
    if (geteuid() != 0)
        return RelaunchPrivileged(argc == 2 && std::strcmp(argv[1], kPrivilegedArgument) == 0);

    Initialize();
    if (!getPathForFile("AppIcon.icns", gPathToAppIcon))
        return 0;
    std::strcpy(gPathToAllIcons, gPathToAppIcon);
    if (char* cut = std::strstr(gPathToAllIcons, "AppIcon.icns"))
        *cut = '\0';

    if (!CreateAllWindows({}))
        return 0;
    InstallCommandHandlers({SaveResultsCommand});
    StartDeviceWatching();
    QuitOnTerminationSignals();
    StartScreenshotsIfAsked();

    const int status = QApplication::exec();
    ShutDownCommands();
    DestroyAllWindows();
    return status == 0 ? 0 : status;
}
