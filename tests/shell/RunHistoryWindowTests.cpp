// The write runs through the window on the loop drive, and what becomes of
// them: a standard and a random test with writes leave every byte of the
// drive and its volumes as they were (the File menu's save is refused while
// they run), a surface test covers the span of the options, and they are
// kept as documents of the user who asked for the rights, compared with
// from either pane, also when the backing file is attached as another loop
// device, and opened again.
#include "WindowDriveFixture.h"

#include "display/EarlierRun.h"
#include "display/GraphView.h"
#include "display/ResultPanes.h"
#include "reports/ReportText.h"
#include "reports/RunHistory.h"
#include "shell/Preferences.h"
#include "shell/RunHistoryWindow.h"
#include "shell/Selection.h"
#include "shell/ShownRun.h"

#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
// Pixels of the earlier run's colour in the graph as drawn.
int MarkerPixels()
{
    const QImage& image = CurrentGraphView()->Image();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == kEarlierRunColor.rgb();
    return count;
}

TEST_F(WindowDrive, WriteRunsLeaveEveryByteAsItWas)
{
    FillAndTakeChecksum();
    ChooseDrive();
    const DriveRecord& record = Devices().drives[static_cast<std::size_t>(slot)];
    EXPECT_EQ((std::vector<std::string>{record.interfaceText, record.sizeLabel, "Ready To Begin", "0.0", "1.4", " ", drive()}),
              (std::vector<std::string>{Text(1), Text(2), Text(5), Text(21), Text(28), Text(29), Text(32)}));  // 1.5 GiB in steps of 0.2
    Choose(1, 1);  // the leading item changes nothing
    EXPECT_EQ(ChosenDrive(), &record);

    bool dialogSeen = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&dialogSeen] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            dialogSeen = true;
            dialog->reject();
        }
    });
    Settings(10, 2, "4");
    ClickStart();
    watch.start(5);
    Widgets().actionSaveSpreadsheet->trigger();  // refused while the test runs
    QAction* open = Main()->findChild<QAction*>("actionOpenResults");
    EXPECT_FALSE(open->isEnabled());  // offered again once the test is over
    ASSERT_TRUE(WaitForStatus("Test Complete")) << Status();
    EXPECT_FALSE(dialogSeen);
    Widgets().actionSaveSpreadsheet->trigger();  // taken once the test is over
    EXPECT_TRUE(dialogSeen);
    for (int zone = 0; zone < 10; ++zone)
        EXPECT_GT(ShownRun().zones[zone].write.average, 0.0) << zone;
    EXPECT_EQ(Widgets().startButton->text(), "&Start");
    EXPECT_TRUE(open->isEnabled());
    ExpectEverythingBack();

    // The random test, its transfers-done text moving while it runs.
    ShowPane(1);
    ClickStart();
    std::set<std::string> counts;
    EXPECT_TRUE(WaitFor([&counts] {
        counts.insert(Text(110));
        return !TestLaunchInProgress();
    }));
    EXPECT_EQ(Status(), "Test Complete");
    EXPECT_GE(counts.size(), 2u);
    EXPECT_GT(ShownRun().random.writeSpeed, 0.0);
    ExpectEverythingBack();
    EXPECT_TRUE(alerts.empty()) << alerts.front();
    ExpectSameChecksum();

    // A new medium size in the chosen drive shows in its size and position labels.
    ASSERT_EQ(0, RunCommand("truncate -s 2G " + device_->backingFile() + " && losetup -c " + drive()));
    EXPECT_TRUE(WaitFor([] { return Text(2) == "2 Gigabytes"; }, 10000)) << Text(2);
    EXPECT_EQ(Text(31), "2.0");
    EXPECT_EQ(gDriveSizeInBytes64, int64_t{2} << 30);

    // The surface test over the span the options set: the positions under its
    // graph stand for the span, and the history lists it without its samples.
    ShowPane(2);
    Widgets().optionsButton->click();
    Main()->optionsSheet->ui.surfaceSpan->setText("1");
    Main()->optionsSheet->ui.confirmButton->click();
    ClickStart();
    ASSERT_TRUE(WaitFor([] { return !TestLaunchInProgress(); }));
    EXPECT_EQ(Status(), "Test Complete");
    EXPECT_EQ(CurrentGraphView()->LastRun().surface.coveredSectors, (1ull << 30) / 512) << (alerts.empty() ? "" : alerts.back());
    EXPECT_EQ(Text(31), "1.0");
    EXPECT_TRUE(Widgets().surfaceSummary->text().startsWith("Reads: average "));
    const std::vector<HistoryEntry> kept = ListDriveHistory(HistoryRoot(), "loop:" + device_->backingFile(), std::cerr);
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_TRUE(kept[0].run.surfaceTest && kept[0].run.surface->samples.empty());
    ExpectEverythingBack();
}

// The runs are kept as documents of the user, compared with from either pane, also when the
// backing file is attached as another loop device, and opened again.
TEST_F(WindowDrive, RunsAreKeptComparedAndOpenedAgain)
{
    ChooseDrive();
    Settings(10, 2, "4");
    ClickStart();
    ASSERT_TRUE(WaitForStatus("Test Complete")) << Status();
    ShowPane(1);
    ClickStart();
    ASSERT_TRUE(WaitFor([] { return !TestLaunchInProgress(); }));

    // Both runs are documents of the user who asked, in folders of theirs under
    // their home, that match the schema.
    const std::string identity = "loop:" + device_->backingFile();
    const std::string folder = DriveHistoryFolder(HistoryRoot(), identity);
    std::vector<fs::path> files{fs::directory_iterator(folder), fs::directory_iterator()};
    ASSERT_EQ(files.size(), 2u);
    std::sort(files.begin(), files.end());  // named by time: the standard run first
    std::string command = KESTRELIA_SOURCE_DIR "/tests/support/validate-run-documents " KESTRELIA_SOURCE_DIR
                          "/docs/run-document.schema.json";
    for (fs::path path = folder; path.string().size() > home.size(); path = path.parent_path())
        files.push_back(path);
    for (const fs::path& path : files) {
        struct stat status {};
        ASSERT_EQ(stat(path.c_str(), &status), 0);
        EXPECT_EQ(status.st_uid, kInvokingUser) << path;
        EXPECT_EQ(status.st_gid, kInvokingUser) << path;
        if (path.extension() == ".json")
            command += " " + path.string();
    }
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::ofstream(folder + "/19990101T000000.000Z.json") << "{ not json";

    // Standard pane: the random run on show is no earlier run; the standard run is listed.
    ShowPane(0);
    QComboBox* popup = ComparePopup();
    RefreshComparePopup();
    ASSERT_EQ(popup->count(), 2);
    EXPECT_EQ(popup->itemText(0), "None");
    EXPECT_TRUE(popup->itemText(1).contains("Standard test, 10 zones")) << popup->itemText(1).toStdString();
    EXPECT_EQ(MarkerPixels(), 0);
    popup->setCurrentIndex(1);
    EXPECT_GT(MarkerPixels(), 10 * 15) << "a marker on each of the ten zones";
    EXPECT_EQ(CurrentGraphView()->LastPaint().barsDrawn, 0) << "the random run on show has no bars";
    popup->setCurrentIndex(0);
    EXPECT_EQ(MarkerPixels(), 0);

    // The backing file on another loop device is the same drive with the same runs.
    std::string out;
    ASSERT_EQ(RunCommand("losetup --find --show " + device_->backingFile(), &out), 0) << out;
    struct Detach {
        std::string node;
        ~Detach() { RunCommand("losetup -d " + node); }
    } other{out.substr(0, out.find_first_of(" \n"))};
    ASSERT_TRUE(WaitFor([&other] { return FindListedDrive(other.node.c_str()) >= 0; }, 30000)) << other.node;
    Choose(1, FindListedDrive(other.node.c_str()) + 3);
    ASSERT_EQ(popup->count(), 3) << "both runs (the same identity); the corrupt file is skipped";
    auto* model = qobject_cast<QStandardItemModel*>(popup->model());
    EXPECT_FALSE(model->item(1)->isEnabled());
    EXPECT_TRUE(popup->itemText(1).contains("cannot be compared: a random test"));
    EXPECT_TRUE(model->item(2)->isEnabled());
    popup->setCurrentIndex(2);
    EXPECT_GT(MarkerPixels(), 0) << "the markers stand without bars of a new run";
    EXPECT_TRUE(CurrentGraphView()->LastPaint().labelsSet) << "with the scale they are drawn on";
    popup->setCurrentIndex(0);

    // The random pane compares with the random run.
    ShowPane(1);
    ASSERT_EQ(popup->count(), 3);
    ASSERT_TRUE(model->item(1)->isEnabled()) << popup->itemText(1).toStdString();
    popup->setCurrentIndex(1);
    auto* randomLine = Main()->findChild<QLabel*>("earlierRandomRun");
    ASSERT_NE(randomLine, nullptr);
    EXPECT_TRUE(randomLine->isVisible() && randomLine->text().startsWith("Earlier run (") &&
                randomLine->text().contains("  Read ")) << randomLine->text().toStdString();
    popup->setCurrentIndex(0);

    // A saved run opens as the current results: its bars, its settings, its drive as it was.
    EXPECT_TRUE(OpenResultsFile(QString::fromStdString(files[0].string())).isEmpty());
    EXPECT_TRUE(ShownRun().ZoneMeasured(9));
    EXPECT_EQ(ShownRun().settings.zones, 10);
    EXPECT_EQ(CurrentGraphView()->LastPaint().barsDrawn, 20);
    EXPECT_EQ(ShownRun().target.name, "Loop Device (" + drive().substr(5) + ")") << "reports name the run's drive";
    EXPECT_EQ(ShownRun().target.sizeLabel, "1.500 Gigabytes");
    EXPECT_FALSE(OpenResultsFile(QString::fromStdString(folder + "/19990101T000000.000Z.json")).isEmpty());

    // Run documents hold what anybody may write: a date with terminal controls is no date, neither
    // listed nor opened, and the refusal shows it escaped; a drive name with them is named escaped.
    std::ifstream in(files[0]);
    const std::string document(std::istreambuf_iterator<char>(in), {});
    const std::string datePath = folder + "/20000101T000000.000Z.json", namePath = folder + "/20000101T000001.000Z.json";
    std::ofstream(datePath) << std::regex_replace(document, std::regex(R"("when": ?"[^"]*")"),
                                                  R"("when": "\u001b]0;PWNED\u0007")");
    std::ofstream(namePath) << std::regex_replace(document, std::regex(R"("description": ?"[^"]*")"),
                                                  R"("description": "Disk\u009b2J")");
    RefreshComparePopup();
    EXPECT_EQ(popup->findText("PWNED", Qt::MatchContains), -1);
    EXPECT_TRUE(OpenResultsFile(QString::fromStdString(datePath)).contains("\\x1B]0;PWNED\\x07"));
    EXPECT_TRUE(OpenResultsFile(QString::fromStdString(namePath)).isEmpty());
    EXPECT_EQ(ShownRun().target.name, "Disk\\xC2\\x9B2J");
}
// The run shown is the run made: options changed after it change the next run
// only; the kind popup and "Compare with" wait while it runs, and it is kept;
// an opened run is saved with its own date and shows and compares its own drive.
// The three share one drive's set-up; an assertion ends only its own part.
TEST_F(WindowDrive, TheRunShownIsTheRunMadeOrOpened)
{
    // Reports are saved as the user, and never under /dev.
    QTemporaryDir reports(QStringLiteral("/tmp/kestrelia-reports-XXXXXX"));
    ASSERT_EQ(chown(reports.path().toUtf8().constData(), kInvokingUser, kInvokingUser), 0);
    const auto savedReport = [this, &reports](const std::string& name) {
        const std::string path = reports.filePath(QString::fromStdString(name)).toStdString();
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&path] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                dialog->selectFile(QString::fromStdString(path));
                static_cast<QDialog*>(dialog)->accept();
            }
        });
        watch.start(5);
        Widgets().actionSaveText->trigger();
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string folder = DriveHistoryFolder(HistoryRoot(), "loop:" + device_->backingFile());
    std::vector<fs::path> files;
    {
        SCOPED_TRACE("the run made while its options wait");
        [&] {
            QComboBox* kindPopup = Widgets().testKindPopup;
            QWidget* kind = Widgets().testKindBox;
            ChooseDrive();
            Settings(2, 1, "1");
            ClickStart();
            ASSERT_TRUE(TestLaunchInProgress());
            EXPECT_FALSE(kind->isEnabled() || ComparePopup()->isEnabled());
            QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
            QApplication::sendEvent(kindPopup, &down);  // the user tries to switch to the random test
            ASSERT_TRUE(WaitForStatus("Test Complete")) << Status();
            EXPECT_TRUE(kind->isEnabled() && ComparePopup()->isEnabled());
            EXPECT_EQ(kindPopup->currentIndex(), 0);
            files.assign(fs::directory_iterator(folder), fs::directory_iterator());
            ASSERT_EQ(files.size(), 1u) << "the run is kept";
        }();
    }
    {
        SCOPED_TRACE("a refused size (then Escape) and an accepted one change the next run only");
        [&] {
            Settings(2, 1, "0");
            ASSERT_EQ(alerts.size(), 1u);
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(TheMainWindow()->optionsSheet, &escape);
            EXPECT_NE(savedReport("refused.txt").find("\rTransfer Size: 1 MByte\rZone Count: 2\r"), std::string::npos);
            Settings(3, 1, "300");
            EXPECT_NE(savedReport("accepted.txt").find("\rTransfer Size: 1 MByte\rZone Count: 2\r"), std::string::npos);
        }();
    }
    SCOPED_TRACE("two runs of another drive: the one opened shows that drive and its date, and is compared with the other");
    ASSERT_FALSE(files.empty());
    std::string why;
    std::optional<RunDocument> other = ReadRunDocumentFile(files[0].string(), &why);
    ASSERT_TRUE(other) << why;
    other->identity = "loop:/dev/shm/other-disk";
    other->description = "Other Disk";
    other->sizeBytes = 3ull << 30;
    std::string opened;
    for (const char* when : {"2020-01-02T03:04:05Z", "2021-01-02T03:04:05Z"}) {
        other->when = when;
        opened = SaveRunToHistory(HistoryRoot(), *other, *RunDocumentTime(*other) * 1000, &why, std::cerr);
        ASSERT_FALSE(opened.empty()) << why;
    }
    ASSERT_TRUE(OpenResultsFile(QString::fromStdString(opened)).isEmpty());
    EXPECT_EQ((std::vector<std::string>{"Other Disk", "3 Gigabytes", "0.5"}), (std::vector<std::string>{Text(1), Text(2), Text(22)}));
    ASSERT_EQ(ComparePopup()->count(), 2);
    EXPECT_TRUE(ComparePopup()->itemText(1).startsWith("2020-01-02")) << ComparePopup()->itemText(1).toStdString();
    const ReportDate date = ReportDateFor(*RunDocumentTime(*other));
    const std::string report = savedReport("opened.txt");
    EXPECT_NE(report.find("Test Date: " + date.longDate + " (" + date.timeOfDay + ")\rTest Drive Name: Other Disk\r"),
              std::string::npos) << report;
}
}  // namespace
