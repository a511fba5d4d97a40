// A surface run started from the window over the span the options set, less
// than the drive: the graph draws it, the summary and the status tell of it,
// the positions under the graph stand for the span, it leaves every byte as
// it was, and the history lists it without reading its samples.
#include "WindowDriveFixture.h"

#include "display/GraphColors.h"
#include "display/GraphView.h"
#include "display/ResultPanes.h"
#include "reports/RunHistory.h"
#include "shell/ShownRun.h"

#include <sstream>

namespace {

TEST_F(WindowDrive, ASurfaceRunFromStartCoversTheSpanOfTheOptionsAndIsKept)
{
    FillAndTakeChecksum();
    ChooseDrive();
    ShowPane(2);
    Widgets().optionsButton->click();
    Main()->optionsSheet->ui.surfaceSpan->setText("1");
    Main()->optionsSheet->ui.confirmButton->click();
    ClickStart();
    ASSERT_TRUE(WaitForStatus("Test Complete")) << Status();
    EXPECT_EQ(ShownRun().surface.coveredSectors, (1ull << 30) / 512);
    EXPECT_EQ(Text(31), "1.0");  // 0.0 to 1.0 GB, not the drive's 1.5 GiB
    EXPECT_TRUE(Widgets().surfaceSummary->text().startsWith("Reads: average "));
    const QImage& graph = CurrentGraphView()->Image();
    const QRgb read = (Main()->isActiveWindow() ? myGreenColor : myLtGreenColor).rgb();
    int readPixels = 0;
    for (int y = 0; y < graph.height(); ++y)
        for (int x = 0; x < graph.width(); ++x)
            readPixels += graph.pixel(x, y) == read;
    EXPECT_GT(readPixels, graph.width() / 2);  // a line across the chart
    std::ostringstream notes;
    const std::vector<HistoryEntry> kept = ListDriveHistory(HistoryRoot(), "loop:" + device_->backingFile(), notes);
    ASSERT_EQ(kept.size(), 1u) << notes.str();
    EXPECT_TRUE(kept[0].run.surfaceTest && kept[0].run.surface->samples.empty());
    ExpectEverythingBack();
    EXPECT_TRUE(alerts.empty()) << alerts.front();
    ExpectSameChecksum();
}

}  // namespace
