// The display inside a window built the way the main window is: graph pane,
// test panes, popup group box, group boxes and axis labels found by their
// control IDs.
#include "GraphFixture.h"

#include "display/GraphColors.h"
#include "display/GraphKey.h"
#include "display/GraphView.h"
#include "display/ResultPanes.h"
#include "engine/InterfaceHost.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>

#include <memory>

namespace {

QWidget* Tagged(QWidget* widget, const char* signature, int id)
{
    widget->setProperty("controlSignature", QString::fromLatin1(signature));
    widget->setProperty("controlId", id);
    return widget;
}

class ResultPanesTest : public GraphFixture {
protected:
    void SetUp() override
    {
        GraphFixture::SetUp();
        window = std::make_unique<QWidget>();
        window->resize(800, 560);
        standardPane = Tagged(new QWidget(window.get()), "upan", 1);
        standardPane->setGeometry(0, 40, 800, 500);
        graphPane = Tagged(new QWidget(standardPane), "upan", 10);
        graphPane->setGeometry(40, 60, 646, 316);  // window (40, 100): chart 630 x 300
        randomPane = Tagged(new QWidget(window.get()), "upan", 2);
        randomPane->setGeometry(0, 40, 800, 500);
        auto* kind = Tagged(new QGroupBox(window.get()), "pgrp", 1);
        popup = new QComboBox(kind);
        popup->addItems({QStringLiteral("Standard Zone Test"), QStringLiteral("Random Zone Test")});
        standardBox = Tagged(new QGroupBox(window.get()), "grpb", 1);
        randomBox = Tagged(new QGroupBox(window.get()), "grpb", 2);
        for (int i = 0; i < 10; ++i)
            labels[i] = static_cast<QLabel*>(Tagged(new QLabel(window.get()), "stxt", 11 + i));
        gMainWindowRef = window.get();
        ASSERT_EQ(InstallResultsDisplay(), 0);
        SetShownRunSource([this]() -> const ::Run& { return shown; });
        window->show();
    }

    void TearDown() override
    {
        SetShownRunSource(nullptr);
        window.reset();
        gMainWindowRef = nullptr;
    }

    QColor ViewAt(int x, int y) const
    {
        return CurrentGraphView()->Image().pixelColor(x - gButtonPictRect.left, y - gButtonPictRect.top);
    }

    std::unique_ptr<QWidget> window;
    QWidget* standardPane = nullptr;
    QWidget* graphPane = nullptr;
    QWidget* randomPane = nullptr;
    QComboBox* popup = nullptr;
    QWidget* standardBox = nullptr;
    QWidget* randomBox = nullptr;
    QLabel* labels[10] = {};
};

TEST_F(ResultPanesTest, GeometryComesFromTheGraphPane)
{
    const Rect& chart = gGraphicChartRect;
    EXPECT_EQ((std::vector<int>{108, 48, 408, 678, 30, 63}),
              (std::vector<int>{chart.top, chart.left, chart.bottom, chart.right, gGridHeight, gGridWidth}));
    ASSERT_EQ(CurrentGraphView()->parentWidget(), standardPane);
    ASSERT_FALSE(gGraphicalDataBrowerCntl.isNull());
    EXPECT_EQ(QRect(gGraphicalDataBrowerCntl->mapTo(window.get(), QPoint(0, 0)),
                    gGraphicalDataBrowerCntl->size()),
              QRect(48 - 24, 108 - 38, 659, 19));
    EXPECT_EQ(gColumnWidth, 94);
}

TEST_F(ResultPanesTest, RedrawPaintsTheBarsAndSetsTheLabels)
{
    SetZone(0, 0, {50, 70, 85.3});
    DrawTestResults();
    GraphView* view = CurrentGraphView();
    EXPECT_EQ(view->LastPaint().barsDrawn, 1);
    EXPECT_EQ(labels[9]->text(), QStringLiteral("8.600"));
    // The bars follow the window's activation.
    const QPoint bar(gGraphicChartRect.left + 3, gGraphicChartRect.bottom - 1);
    QApplication::setActiveWindow(nullptr);
    EXPECT_EQ(Hex(ViewAt(bar.x(), bar.y())), Hex(myLtRedColor));
    QApplication::setActiveWindow(window.get());
    EXPECT_EQ(Hex(ViewAt(bar.x(), bar.y())), Hex(myRedColor));

    // Reset results keep the labels as they were.
    shown.zones[0] = ZoneResult{};
    shown.maxSpeed = 0.0;
    DrawTestResults();
    EXPECT_EQ(view->LastPaint().barsDrawn, 0);
    EXPECT_EQ(labels[0]->text(), QStringLiteral("86.000"));
}

TEST_F(ResultPanesTest, TogglingShowsOnePaneAndDrawsOnlyTheStandardOne)
{
    SetZone(0, 0, {10, 20, 30});
    popup->setCurrentIndex(1);
    ToggleTestPanes();
    const auto shown = [this] {
        return std::vector<bool>{standardPane->isVisibleTo(window.get()), randomPane->isVisibleTo(window.get()),
                                 standardBox->isVisibleTo(window.get()), randomBox->isVisibleTo(window.get())};
    };
    EXPECT_EQ(gCurrentSelectedTestType, 2);
    EXPECT_EQ(shown(), (std::vector<bool>{false, true, false, true}));
    DrawTestResults();
    EXPECT_EQ(CurrentGraphView()->LastPaint().barsDrawn, 0);  // never drawn while hidden

    popup->setCurrentIndex(0);
    ToggleTestPanes();
    EXPECT_EQ(gCurrentSelectedTestType, 1);
    EXPECT_EQ(shown(), (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(CurrentGraphView()->LastPaint().barsDrawn, 1);  // redrawn from the stored results
}

TEST_F(ResultPanesTest, HelpTagUnderThePointerAndAsATooltip)
{
    shown.settings.writes = true;
    SetZone(0, 0, {10, 20, 30}, true);
    SetZone(0, 0, {10, 20, 30}, false);
    DrawTestResults();
    // dx, dy from the read bar's bottom-left pixel; an empty expected start: no tag.
    const struct { int dx, dy; bool running; int pane; const char* expectedStart; } rows[] = {
        // Scale 31 MB/s on a 300-pixel chart: the 30 MB/s bars are 290 pixels high.
        {2, 0, false, 0,
         "Zone: 1\nStarting Sector: 0\nMaximum Read Speed: 30.00 MB/sec\nAverage Read Speed: 20.00 MB/sec\n"
         "Minimum Read Speed: 10.00 MB/sec"},
        {2, -289, false, 0, "Zone: 1\nStarting Sector: 0\nMaximum Read"},
        {15 + 3, -5, false, 0, "Zone: 1\nStarting Sector: 0\nMaximum Write Speed: 30.00"},
        {2, -290, false, 0, ""},  // above the bar
        {30, 0, false, 0, ""},    // right of both bars
        {2, 0, true, 0, ""},      // while the run is under way
        {2, 0, false, 1, ""},     // the random pane
    };
    GraphView* view = CurrentGraphView();
    for (const auto& row : rows) {
        shown.end = row.running ? RunEnd::NotEnded : RunEnd::Completed;
        popup->setCurrentIndex(row.pane);
        ToggleTestPanes();
        DrawTestResults();
        const QPoint point(gGraphicChartRect.left + row.dx, gGraphicChartRect.bottom - 1 + row.dy);
        const QString tag = view->HelpTagAt(point);
        SCOPED_TRACE(tag.toStdString());
        if (*row.expectedStart == '\0') {
            EXPECT_TRUE(tag.isEmpty());
            continue;
        }
        EXPECT_TRUE(tag.startsWith(QString::fromLatin1(row.expectedStart)));
        // A pointer resting there shows the tag as a tooltip.
        const QPoint local = view->mapFrom(window.get(), point);
        QHelpEvent help(QEvent::ToolTip, local, view->mapToGlobal(local));
        QApplication::sendEvent(view, &help);
        EXPECT_EQ(QToolTip::text(), tag);
        QToolTip::hideText();
    }
}

}  // namespace
