// Preferences across restarts and the options sheet's validation, on a sheet
// and main window built from tagged widgets and settings in a temporary folder.
#include <gtest/gtest.h>

#include "display/ControlLookup.h"
#include "display/OverlaySettings.h"
#include "engine/InterfaceHost.h"
#include "engine/LaunchChecks.h"
#include "shell/Preferences.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

using display::ControlText;
using display::ControlValue;
using display::FindControl;
using display::SetControlText;

namespace {
template <typename Widget>
Widget* Tagged(QWidget* parent, const char* signature, int id)
{
    auto* widget = new Widget(parent);  // owned by its parent
    widget->setProperty("controlSignature", QString::fromLatin1(signature));
    widget->setProperty("controlId", id);
    return widget;
}

QComboBox* Popup(QWidget* parent, int id, int items)
{
    auto* popup = Tagged<QComboBox>(parent, "popb", id);
    for (int item = 1; item <= items; ++item) popup->addItem(QString::number(item));
    return popup;
}

// The options sheet and the main window's summary texts, as a run builds them.
struct Windows {
    Windows()
    {
        size = Tagged<QLineEdit>(&sheet, "etxt", 1);
        size->setText("1");
        zones = Popup(&sheet, 3, 50);
        cycles = Popup(&sheet, 4, 50);
        overlay = Tagged<QGroupBox>(&sheet, "cgrp", 1);
        overlay->setCheckable(true);
        overlay->setChecked(false);
        baseline = Tagged<QLineEdit>(overlay, "etxt", 2);
        safety = Popup(overlay, 7, 11);
        queueDepth = Popup(&sheet, 8, 9);
        confirm = Tagged<QPushButton>(&sheet, "push", 10);
        for (int id = 6; id <= 10; ++id) Tagged<QLabel>(&main, "stxt", id)->setText("built-in");
        Tagged<QLabel>(&main, "stxt", 130);
        gSettingsSheetWindow = &sheet;
        gMainWindowRef = &main;
        InstallSettingsSheetHandlers(&sheet, [this] { ++accepted; });
    }
    ~Windows()
    {
        gSettingsSheetWindow = nullptr;
        gMainWindowRef = nullptr;
    }
    QString Summary(int id) const { return ControlText(FindControl(const_cast<QWidget*>(&main), "stxt", id)); }

    QWidget sheet;
    QWidget main;
    QLineEdit* size;
    QLineEdit* baseline;
    QComboBox* zones;
    QComboBox* cycles;
    QComboBox* safety;
    QComboBox* queueDepth;
    QGroupBox* overlay;
    QPushButton* confirm;
    int accepted = 0;
};

class Preferences : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
        SetPreferencesLocation("KestreliaTests", "Kestrelia");
        SetSheetRejection([this](const QString& message, const QString& explanation) {
            rejections.push_back((message + "|" + explanation).toStdString());
        });
        gOverlayEnabled = true;
    }
    void TearDown() override { SetSheetRejection(nullptr); }

    QTemporaryDir folder;
    std::vector<std::string> rejections;
};

TEST_F(Preferences, FirstRunKeepsTheBuiltInContentsAndTheOverlayWaitsForAcceptance)
{
    Windows windows;
    GetApplicationPrefs();
    EXPECT_FALSE(gOverlayEnabled);
    EXPECT_FALSE(windows.overlay->isChecked() || windows.safety->isEnabled() || windows.baseline->isEnabled());
    EXPECT_EQ(windows.size->text(), "1");
    for (int id = 6; id <= 9; ++id) EXPECT_EQ(windows.Summary(id), "built-in") << id;
    EXPECT_EQ(windows.Summary(10), "Disabled");
    EXPECT_EQ(windows.Summary(130), "Queue depth: 1");
    EXPECT_EQ(GetPrefsVersion(), 0);
    // The box enables its controls; the switch itself waits for acceptance.
    windows.overlay->setChecked(true);
    EXPECT_TRUE(windows.safety->isEnabled() && windows.baseline->isEnabled());
    EXPECT_FALSE(gOverlayEnabled);
    windows.baseline->setText("80");
    windows.safety->setCurrentIndex(0);
    ASSERT_TRUE(AcceptSettingsSheet());
    EXPECT_EQ(windows.Summary(10), "none");
    EXPECT_EQ(windows.Summary(9), "80 MB/sec");
    windows.overlay->setChecked(false);
    EXPECT_FALSE(windows.safety->isEnabled());
    ASSERT_TRUE(AcceptSettingsSheet());
    EXPECT_FALSE(GetPrefsBoolKeyValue("OverlayEnabled"));
    EXPECT_EQ(windows.Summary(9) + windows.Summary(10), "DisabledDisabled");
}

TEST_F(Preferences, AcceptedValuesSurviveARestart)
{
    {
        Windows windows;
        GetApplicationPrefs();
        windows.size->setText("12");
        windows.zones->setCurrentIndex(19);
        windows.cycles->setCurrentIndex(2);
        windows.overlay->setChecked(true);
        windows.baseline->setText("150");
        windows.safety->setCurrentIndex(2);
        windows.queueDepth->setCurrentIndex(5);
        windows.confirm->click();
        EXPECT_EQ(windows.accepted, 1);
        EXPECT_TRUE(rejections.empty());
        EXPECT_TRUE(gOverlayEnabled);
    }
    // Under the keys other versions of the program read.
    const QSettings stored(QSettings::IniFormat, QSettings::UserScope, "KestreliaTests", "Kestrelia");
    const std::vector<std::pair<const char*, QString>> keys = {
        {"AppPrefsVersionNum", QString::number(kAppPrefsVersion)}, {"OverlayEnabled", "true"},
        {"IterationsPopup", "3"}, {"ZonesPopup", "20"}, {"SafetyPopup", "3"}, {"TransferSize", "12"},
        {"BaselineSpeed", "150"}, {"RandomQueueDepth", "32"}};
    for (const auto& [key, value] : keys)
        EXPECT_EQ(stored.value(key).toString(), value) << key;
    gOverlayEnabled = false;
    Windows restarted;
    GetApplicationPrefs();
    EXPECT_EQ(GetPrefsVersion(), kAppPrefsVersion);
    EXPECT_EQ(restarted.size->text(), "12");
    EXPECT_EQ(ControlValue(restarted.zones), 20);
    EXPECT_EQ(ControlValue(restarted.cycles), 3);
    EXPECT_EQ(ControlValue(restarted.safety), 3);
    EXPECT_EQ(restarted.baseline->text(), "150");
    EXPECT_TRUE(restarted.overlay->isChecked());
    EXPECT_TRUE(restarted.safety->isEnabled());
    EXPECT_TRUE(gOverlayEnabled);
    EXPECT_EQ(ControlValue(restarted.queueDepth), 6);
    EXPECT_EQ(SheetQueueDepth(), 32u);
    EXPECT_EQ((std::vector<QString>{"12 Megabytes", "3", "20", "150 MB/sec", "10 %", "Queue depth: 32"}),
              (std::vector<QString>{restarted.Summary(6), restarted.Summary(7), restarted.Summary(8),
                                    restarted.Summary(9), restarted.Summary(10), restarted.Summary(130)}));
}

TEST_F(Preferences, TheSheetRefusesWhatATestCouldNotUse)
{
    struct Row { const char* size; const char* baseline; std::string rejection; };  // no rejection: accepted
    const std::string unsupported =
        std::string(kTransferSizeUnsupportedMessage) + "|" + kTransferSizeUnsupportedExplanation;
    const Row rows[] = {
        {"511", "", ""},
        {"1", "100", ""},
        {"512", "", unsupported},
        {"0", "", unsupported},
        {"", "", unsupported},
        {"99999999999999999999", "", unsupported},
        {"1a", "", std::string(kSheetSizeNotWholeMessage) + "|"},
        {"-1", "", std::string(kSheetSizeNotWholeMessage) + "|"},
        {"10", "10.5", std::string(kSheetOverlayNotWholeMessage) + "|"},
    };
    for (const Row& row : rows) {
        rejections.clear();
        Windows windows;
        windows.sheet.show();
        windows.size->setText(row.size);
        windows.baseline->setText(row.baseline);  // checked with the overlay off as well
        windows.confirm->click();
        if (row.rejection.empty()) {
            EXPECT_TRUE(rejections.empty()) << row.size;
            EXPECT_EQ(windows.accepted, 1) << row.size;
            EXPECT_FALSE(windows.sheet.isVisible()) << row.size;
        } else {
            EXPECT_EQ(rejections, std::vector<std::string>{row.rejection}) << row.size;
            EXPECT_EQ(windows.accepted, 0) << row.size;
            EXPECT_TRUE(windows.sheet.isVisible()) << "stays open: " << row.size;
            EXPECT_EQ(windows.size->text(), row.size) << "the user's text stays";
        }
    }
}

TEST_F(Preferences, TheOlderSuiteIsReadUntilTheFirstSave)
{
    {
        QSettings suite(QSettings::IniFormat, QSettings::UserScope, kPrefsSuiteDomain);
        suite.setValue("TransferSize", "64");
        suite.setValue("ZonesPopup", 7);
    }
    Windows windows;
    GetApplicationPrefs();
    EXPECT_EQ(windows.size->text(), "64");
    EXPECT_EQ(ControlValue(windows.zones), 7);

    windows.size->setText("8");
    ASSERT_TRUE(AcceptSettingsSheet());
    {
        QSettings suite(QSettings::IniFormat, QSettings::UserScope, kPrefsSuiteDomain);
        suite.setValue("SafetyPopup", 9);  // no longer consulted
    }
    Windows restarted;
    GetApplicationPrefs();
    EXPECT_EQ(restarted.size->text(), "8");
    EXPECT_EQ(ControlValue(restarted.safety), 1);
}
}  // namespace
