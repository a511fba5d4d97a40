// Kestrelia, the desktop disk benchmark.
#include "app/QuitSignals.h"
#include "app/Startup.h"
#include "devices/DriveRecords.h"
#include "format/Localization.h"
#include "format/NumberLocale.h"
#include "platform/PrivilegedRelaunch.h"
#include "platform/SessionImport.h"
#include "shell/Alerts.h"
#include "shell/Commands.h"
#include "shell/LeftVolumes.h"
#include "shell/SaveDialog.h"
#include "shell/StringsTable.h"
#include "shell/UserLanguage.h"
#include "shell/Windows.h"

#include <QApplication>

#ifdef KESTRELIA_PICTURE_RUN
#include "Screenshots.h"  // kestrelia-screenshots only
#endif

#include <cstdio>
#include <cstring>
#include <sys/utsname.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
const char* const kNoPkexecMessage = "Kestrelia needs administrator rights to test drives, and pkexec is not installed.";
const char* const kNoPkexecExplanation =
    "Install the pkexec package, or start Kestrelia as root (sudo kestrelia). Without a desktop, "
    "kestrelia-cli tests drives from a terminal.";
const char* const kNoAgentMessage =
    "Kestrelia could not ask for administrator rights: no polkit authentication agent is running.";
const char* const kNoAgentExplanation =
    "Start it from a desktop session, or run `sudo kestrelia`. Without a desktop, `sudo kestrelia-cli` "
    "tests drives from a terminal.";
const char* const kCancelledMessage = "Kestrelia was not given administrator rights: the request was cancelled.";
const char* const kCancelledExplanation =
    "Without them it cannot open drives for testing. Start Kestrelia again to be asked once more, or test "
    "from a terminal with `sudo kestrelia-cli`.";
const char* const kRefusedMessage = "Kestrelia was not given administrator rights: the authorisation was refused.";
const char* const kRefusedExplanation =
    "Only an administrator can test drives. Ask one to run Kestrelia, or to test from a terminal with "
    "`sudo kestrelia-cli`.";
const char* const kStillNotRootMessage = "Kestrelia was started for administrator rights but runs without them.";
const char* const kRelaunchFailedMessage = "Kestrelia could not be started with administrator rights.";
const char* const kRelaunchFailedExplanation = "kestrelia-cli tests drives from a terminal (sudo kestrelia-cli).";

// The strings table beside the executable and the user's language, before
// any alert is shown.
void LoadStrings(InterfaceLanguage& language)
{
    char path[1024];
    if (FindResourceFile("Localizable.strings", path))
        InstallStringsTable(path);
    if (FindResourceFile(".", path))
        language.Install(QString::fromUtf8(path));
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
        DoStandardLocalizedAlert(kStillNotRootMessage, kRelaunchFailedExplanation, kAlertStopAlert);
        return 1;
    }
    switch (RelaunchWithAdministratorRights(executable.data()).outcome) {
    case RelaunchOutcome::Relaunched:
        return 0;
    case RelaunchOutcome::ElevationMissing:
        DoStandardLocalizedAlert(kNoPkexecMessage, kNoPkexecExplanation, kAlertStopAlert);
        return 1;
    case RelaunchOutcome::NoAgent:
        DoStandardLocalizedAlert(kNoAgentMessage, kNoAgentExplanation, kAlertStopAlert);
        return 1;
    case RelaunchOutcome::Cancelled:
        DoStandardLocalizedAlert(kCancelledMessage, kCancelledExplanation, kAlertStopAlert);
        return 1;
    case RelaunchOutcome::Refused:
        DoStandardLocalizedAlert(kRefusedMessage, kRefusedExplanation, kAlertStopAlert);
        return 1;
    case RelaunchOutcome::Failed:
        break;
    }
    DoStandardLocalizedAlert(kRelaunchFailedMessage, kRelaunchFailedExplanation, kAlertStopAlert);
    return 1;
}

// Called by the dynamic loader before any library initialises. Only as root:
// the copy that asks for the rights keeps the signals' default and ends at once.
void CatchTerminationSignalsFirst(int, char**, char**)
{
    if (geteuid() == 0)
        CatchTerminationSignals();
}

[[gnu::section(".preinit_array"), gnu::used]] void (*const kCatchTerminationSignalsFirst)(int, char**, char**) =
    CatchTerminationSignalsFirst;
}  // namespace

int main(int argc, char** argv)
{
    const bool privilegedCopy = argc == 2 && std::strcmp(argv[1], kPrivilegedArgument) == 0;
    // Before Qt looks at the environment: the display, language and scale of
    // the user who asked for the rights.
    if (privilegedCopy && geteuid() == 0) {
        std::vector<std::string> refusals;
        const SessionImportStatus session = ImportSessionFromParent(&refusals);
        if (session != SessionImportStatus::Imported && session != SessionImportStatus::NotRelaunched)
            std::fprintf(stderr, "kestrelia: the desktop session of the user who asked for administrator rights "
                                 "was not taken: %s\n", SessionImportStatusText(session));
        for (const std::string& refusal : refusals)
            std::fprintf(stderr, "kestrelia: from the desktop session of the user: %s\n", refusal.c_str());
    }
    QApplication application(argc, argv);
    // Qt has taken the user's locale; numbers keep the reports' form.
    UseUserLocaleExceptNumbers();
    QApplication::setApplicationName(QStringLiteral("Kestrelia"));
    QApplication::setOrganizationName(QStringLiteral("Kestrelia"));
    QApplication::setDesktopFileName(QStringLiteral("org.kestrelia.Kestrelia"));
    InterfaceLanguage language;
    LoadStrings(language);

    utsname system {};
    if (uname(&system) != 0 || !KernelIsRecentEnough(system.release)) {
        DoStandardLocalizedAlert("TenTwoOrHigher", nullptr, kAlertStopAlert);
        return 0;
    }
    if (geteuid() != 0)
        return RelaunchPrivileged(privilegedCopy);

#ifdef KESTRELIA_PICTURE_RUN
    UseDesktopLookIfAsked();
#endif
    Initialize();
    if (!FindResourceFile("AppIcon.icns", gPathToAppIcon))
        return 0;
    std::strcpy(gPathToAllIcons, gPathToAppIcon);
    if (char* cut = std::strstr(gPathToAllIcons, "AppIcon.icns"))
        *cut = '\0';

    CreateAllWindows();
    InstallCommandHandlers({SaveResultsCommand});
    StartDeviceWatching();
    OfferToRemountLeftVolumes();
    QuitOnTerminationSignals();
#ifdef KESTRELIA_PICTURE_RUN
    StartScreenshotsIfAsked();
#endif

    const int status = QApplication::exec();
    ShutDownCommands();
    DestroyAllWindows();
    return status == 0 ? 0 : status;
}
