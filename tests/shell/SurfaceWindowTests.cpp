// The surface test in the window: its item in the test-kind popup and the
// options sheet's span and time limit, refused unless whole numbers and kept
// across a restart with the kind chosen.
#include <gtest/gtest.h>

#include "devices/DriveRecords.h"
#include "shell/Alerts.h"
#include "shell/Commands.h"
#include "shell/MainWindow.h"
#include "shell/Preferences.h"
#include "shell/QtLaunch.h"
#include "shell/ShownRun.h"
#include "shell/Windows.h"

#include <QSettings>
#include <QTemporaryDir>

#include <cstring>

namespace {
class SurfaceWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
        SetPreferencesLocation("KestreliaSurfaceTests", "Kestrelia");
        std::strcpy(gPathToAllIcons, KESTRELIA_SHARE_DIR "/");
        SetAlertPresenter([this](const AlertContent& alert) { alerts << alert.message + "|" + alert.explanation; });
        Open();
    }
    void TearDown() override { Close(), SetAlertPresenter(nullptr); }
    static void Open() { CreateAllWindows(), InstallCommandHandlers({}); }
    static void Close() { ShutDownCommands(), DestroyAllWindows(); }  // the first saves the preferences
    static const Ui::MainWindow& Widgets() { return TheMainWindow()->ui; }
    static const Ui::OptionsSheet& Sheet() { return TheMainWindow()->optionsSheet->ui; }
    // Opens the sheet with the gear, fills the surface fields and confirms.
    static void ConfirmSurfaceFields(const char* span, const char* minutes)
    {
        Widgets().optionsButton->click();
        Sheet().surfaceSpan->setText(span);
        Sheet().surfaceMinutes->setText(minutes);
        Sheet().confirmButton->click();
    }

    QTemporaryDir settings;
    QStringList alerts;  // "message|explanation"
};

TEST_F(SurfaceWindow, SpanAndTimeLimitAreWholeNumbersKeptWithTheKindAcrossARestart)
{
    QComboBox* kind = Widgets().testKindPopup;
    ASSERT_EQ(kind->count(), 3);
    EXPECT_EQ(kind->itemText(2), "Surface Test");
    kind->setCurrentIndex(2);
    EXPECT_EQ(NextRunKind(), TestKind::Surface);
    EXPECT_TRUE(Widgets().standardPane->isVisibleTo(TheMainWindow()));  // the graph's pane

    const QString span = QString(kSheetSurfaceSpanNotWholeMessage) + "|" + kSheetSurfaceSpanExplanation;
    const QString minutes = QString(kSheetSurfaceMinutesNotWholeMessage) + "|" + kSheetSurfaceMinutesExplanation;
    const struct { const char* span; const char* minutes; QString alert; } rows[] = {
        {"100", "30", ""}, {"1.5", "30", span}, {"-2", "0", span}, {"100", "1h", minutes}, {"", "", ""}, {"250", "0", ""}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.span);
        alerts.clear();
        ConfirmSurfaceFields(row.span, row.minutes);
        EXPECT_EQ(alerts, row.alert.isEmpty() ? QStringList{} : QStringList{row.alert});
        EXPECT_EQ(TheMainWindow()->optionsSheet->isVisible(), !row.alert.isEmpty());
    }
    EXPECT_EQ(WindowLaunch().SurfaceSpanBytes(), 250ull << 30);
    EXPECT_EQ(WindowLaunch().SurfaceMinutes(), 0u);

    Close();
    const QSettings stored(QSettings::IniFormat, QSettings::UserScope, "KestreliaSurfaceTests", "Kestrelia");
    EXPECT_EQ(stored.value("TestKindPopup").toString(), "3");
    EXPECT_EQ(stored.value("SurfaceSpan").toString(), "250");
    Open();
    EXPECT_EQ(Widgets().testKindPopup->currentIndex(), 2);
    EXPECT_EQ(NextRunKind(), TestKind::Surface);
    EXPECT_EQ(Sheet().surfaceSpan->text(), "250");
    EXPECT_EQ(Sheet().surfaceMinutes->text(), "0");
}

}  // namespace
