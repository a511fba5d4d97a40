// The display inside a window built the way the main window is: graph pane,
// test panes, test-kind popup, group boxes and axis labels.
#include "GraphFixture.h"

#include "display/GraphColors.h"
#include "display/GraphKey.h"
#include "display/GraphView.h"
#include "display/ResultPanes.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

class ResultPanesTest : public GraphFixture {
protected:
    void SetUp() override
    {
        GraphFixture::SetUp();
        window = std::make_unique<QWidget>();
        window->resize(800, 560);
        standardPane = new QWidget(window.get());
        standardPane->setGeometry(0, 40, 800, 500);
        graphPane = new QWidget(standardPane);
        graphPane->setGeometry(40, 60, 646, 316);  // window (40, 100): chart 630 x 300
        randomPane = new QWidget(window.get());
        randomPane->setGeometry(0, 40, 800, 500);
        popup = new QComboBox(new QGroupBox(window.get()));
        popup->addItems({QStringLiteral("Standard Zone Test"), QStringLiteral("Random Zone Test")});
        standardBox = new QGroupBox(window.get());
        randomBox = new QGroupBox(window.get());
        ResultWidgets widgets{window.get(), standardPane, randomPane, graphPane, popup, standardBox, randomBox, {}};
        for (int i = 0; i < 10; ++i)
            widgets.axisLabels[i] = labels[i] = new QLabel(window.get());
        ASSERT_EQ(InstallResultsDisplay(widgets), 0);
        SetShownRunSource([this]() -> const ::Run& { return shown; });
        window->show();
    }

    void TearDown() override
    {
        SetShownRunSource(nullptr);
        window.reset();
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
    ASSERT_FALSE(gGraphKey.isNull());
    EXPECT_EQ(QRect(gGraphKey->mapTo(window.get(), QPoint(0, 0)), gGraphKey->size()),
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
    EXPECT_EQ(shown(), (std::vector<bool>{false, true, false, true}));
    DrawTestResults();
    EXPECT_EQ(CurrentGraphView()->LastPaint().barsDrawn, 0);  // never drawn while hidden

    popup->setCurrentIndex(0);
    ToggleTestPanes();
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

namespace {
// WCAG's relative luminance of an sRGB colour.
double Luminance(QRgb pixel)
{
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(pixel)) + 0.7152 * linear(qGreen(pixel)) + 0.0722 * linear(qBlue(pixel));
}

// The contrast between the lightest and the darkest pixel of area that
// counts: for text on a plain background, the text's contrast.
template <typename Counts>
double Contrast(const QImage& picture, const QRect& area, Counts counts)
{
    double darkest = 1.0, lightest = 0.0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (counts(x, y)) {
                darkest = std::min(darkest, Luminance(picture.pixel(x, y)));
                lightest = std::max(lightest, Luminance(picture.pixel(x, y)));
            }
    return (lightest + 0.05) / (darkest + 0.05);
}
}  // namespace

// On a dark desktop the key strip, the backdrop and the axis labels take the
// palette's colours and every text, the overlay's warning too, reads at 4.5:1
// or better, in the active window and in the inactive one.
TEST_F(ResultPanesTest, OnADarkPaletteTheKeyAndTheLabelsAreLegible)
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(46, 47, 50));
    dark.setColor(QPalette::WindowText, QColor(236, 236, 236));
    dark.setColor(QPalette::Button, QColor(56, 58, 62));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    window->setPalette(dark);
    SetZone(0, 0, {50, 70, 85.3});
    SetOverlayTargetRate(1000);  // above every speed: the warning text across the chart's middle
    const auto grab = [this](bool overlay) {
        gOverlayEnabled = overlay;
        DrawTestResults();
        return window->grab().toImage();
    };
    for (QWidget* active : {static_cast<QWidget*>(window.get()), static_cast<QWidget*>(nullptr)}) {
        QApplication::setActiveWindow(active);
        const QImage plain = grab(false), picture = grab(true);
        const auto all = [](int, int) { return true; };
        const QRect key(gGraphKey->mapTo(window.get(), QPoint(0, 0)),
                        gGraphKey->size());
        EXPECT_LT(Luminance(picture.pixel(key.left() + 2, key.center().y())), 0.1);
        for (int column = 0; column < kGraphKeyColumns; ++column) {
            // The right half of a cell holds only text (the icon sits left of the title).
            const int left = key.left() + column * gColumnWidth;
            const QRect text(left + gColumnWidth / 2, key.top() + 2, gColumnWidth / 2 - 3, key.height() - 4);
            EXPECT_GE(Contrast(picture, text, all), 4.5) << GraphKeyTitle(column);
        }
        for (const QLabel* label : labels)
            EXPECT_GE(Contrast(picture, label->geometry(), all), 4.5) << label->text().toStdString();
        const QPoint backdrop(gButtonPictRect.left + 3, gButtonPictRect.top + 3);
        EXPECT_LT(Luminance(picture.pixel(backdrop)), 0.1);
        // The warning: its letters against their rim, where it covers the bare backdrop.
        ASSERT_TRUE(CurrentGraphView()->LastPaint().warningShown);
        const QRgb face = plain.pixel(backdrop);
        const QRect chart(gGraphicChartRect.left, gGraphicChartRect.top, RectWidth(gGraphicChartRect),
                          RectHeight(gGraphicChartRect));
        const auto warning = [&](int x, int y) { return plain.pixel(x, y) == face && picture.pixel(x, y) != face; };
        EXPECT_GE(Contrast(picture, chart, warning), 4.5);
    }
    gOverlayEnabled = false;
    SetOverlayTargetRate(0);
}
