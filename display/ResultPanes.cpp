#include "display/ResultPanes.h"

#include "display/GraphKey.h"
#include "display/GraphView.h"
#include "display/GraphGeometry.h"
#include "display/SurfaceSummary.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kAxisLabelCount = 10;

QPointer<GraphView> gGraphView;
ResultWidgets gWidgets;
QPointer<QWidget> gWindow;  // the widgets above are alive while it is
QPointer<QLabel> gAxisLabels[kAxisLabelCount];
std::function<const Run&()> gShownRunSource;
bool gStandardPaneShown = true;  // as at start-up
// The texts last put into the labels: unchanged labels are not touched again.
char gAxisLabelTexts[kAxisLabelCount][32];

void ShowWidget(QWidget* widget, bool show)
{
    if (widget != nullptr)
        widget->setVisible(show);
}

QFont gAxisLabelFont;  // as the interface file gives it
constexpr int kAxisLabelGap = 4;  // between a label and the graph's backdrop

// Each label centred on its grid line, reaching from the pane's left edge to
// just before the backdrop.
void PlaceAxisLabels()
{
    QWidget* window = gWindow;
    for (int i = 0; i < kAxisLabelCount; ++i) {
        QLabel* label = gAxisLabels[i];
        if (label == nullptr || label->parentWidget() == nullptr)
            continue;
        QWidget* parent = label->parentWidget();
        const int lineY = gGraphicChartRect.bottom - (kAxisLabelCount - i) * gGridHeight;
        const QPoint line = parent->mapFrom(window, QPoint(gButtonPictRect.left - kAxisLabelGap, lineY));
        const int height = QFontMetrics(label->font()).height() + 2;
        const int left = std::min(label->x(), 0);
        label->setGeometry(left, line.y() - height / 2, std::max(line.x() - left, 1), height);
    }
}

// Long values (five digits and more) get a smaller font rather than being cut.
void FitAxisLabels()
{
    int room = 0;
    for (int i = 0; i < kAxisLabelCount; ++i)
        if (!gAxisLabels[i].isNull())
            room = gAxisLabels[i]->width();
    const auto widestAt = [](const QFont& font) {
        const QFontMetrics metrics(font);
        int widest = 0;
        for (int i = 0; i < kAxisLabelCount; ++i)
            widest = std::max(widest, metrics.horizontalAdvance(QString::fromLatin1(gAxisLabelTexts[i])));
        return widest;
    };
    QFont font = gAxisLabelFont;
    for (int step = 0; step < 40 && room > 0 && font.pointSizeF() > 4.0 && widestAt(font) > room; ++step)
        font.setPointSizeF(font.pointSizeF() * 0.92);
    for (int i = 0; i < kAxisLabelCount; ++i)
        if (!gAxisLabels[i].isNull() && gAxisLabels[i]->font() != font)
            gAxisLabels[i]->setFont(font);
}

void SetAxisLabels(const GraphPaintResult& paint)
{
    if (!paint.labelsSet)
        return;
    bool changed = false;
    for (int i = 0; i < kAxisLabelCount; ++i) {
        if (gAxisLabels[i].isNull() || std::strcmp(gAxisLabelTexts[i], paint.axisLabels[i]) == 0)
            continue;
        std::memcpy(gAxisLabelTexts[i], paint.axisLabels[i], sizeof gAxisLabelTexts[i]);
        gAxisLabels[i]->setText(QString::fromLatin1(paint.axisLabels[i]));
        changed = true;
    }
    if (changed)
        FitAxisLabels();
}

}  // namespace

void SetShownRunSource(std::function<const Run&()> source)
{
    gShownRunSource = std::move(source);
}

GraphView* CurrentGraphView()
{
    return gGraphView.data();
}

int32_t InstallResultsDisplay(const ResultWidgets& widgets)
{
    QWidget* window = widgets.window;
    QWidget* graphPane = widgets.graphPane;
    if (window == nullptr || graphPane == nullptr)
        return -1;
    gWidgets = widgets;
    gWindow = window;
    const QPoint origin = graphPane->mapTo(window, QPoint(0, 0));
    ComputeGraphGeometry(Rect{static_cast<int16_t>(origin.y()), static_cast<int16_t>(origin.x()),
                              static_cast<int16_t>(origin.y() + graphPane->height()),
                              static_cast<int16_t>(origin.x() + graphPane->width())});
    InstallGraphKey(window, widgets.standardPane);

    // The view covers the backdrop, which reaches past the graph pane, so it
    // lives beside the pane, in the standard test pane that shows and hides it.
    QWidget* parent = graphPane->parentWidget() != nullptr ? graphPane->parentWidget() : window;
    if (gGraphView.isNull())
        gGraphView = new GraphView(parent);  // owned by its parent widget
    else
        gGraphView->FollowGraphGeometry();
    gGraphView->show();
    gGraphView->raise();
    if (QWidget* key = gGraphKey)
        key->raise();

    for (int i = 0; i < kAxisLabelCount; ++i) {
        gAxisLabels[i] = widgets.axisLabels[i];
        gAxisLabelTexts[i][0] = '\0';
        // Made smaller for long values before: the window's font again, fitted at the next redraw.
        if (QLabel* label = gAxisLabels[i])
            label->setFont(QFont());
    }
    if (!gAxisLabels[0].isNull())
        gAxisLabelFont = gAxisLabels[0]->font();
    PlaceAxisLabels();
    return 0;
}

void DrawTestResults()
{
    if (!gStandardPaneShown)
        return;
    if (gGraphKey != nullptr)
        gGraphKey->update();
    if (gGraphView.isNull())
        return;
    static const Run kNoRun;
    const Run& shown = gShownRunSource ? gShownRunSource() : kNoRun;
    gGraphView->Redraw(shown);
    SetAxisLabels(gGraphView->LastPaint());
    const bool surface = shown.settings.kind == TestKind::Surface;
    if (gGraphKey != nullptr)
        gGraphKey->ShowSurfaceKeyFor(surface ? &gGraphView->LastRun() : nullptr);
    if (QLabel* summary = gWidgets.surfaceSummary; summary != nullptr && !gWindow.isNull()) {
        const QString text = SurfaceSummaryText(shown);
        if (summary->text() != text)
            summary->setText(text);
    }
}

void ToggleTestPanes()
{
    if (gWindow.isNull())
        return;
    ShowWidget(gWidgets.standardPane, false);
    ShowWidget(gWidgets.randomPane, false);
    const int value = gWidgets.testKind != nullptr ? gWidgets.testKind->currentIndex() + 1 : 0;
    // A popup without a choice shows the standard test, as at start-up.
    gStandardPaneShown = value != 2;
    const bool standard = gStandardPaneShown;
    ShowWidget(standard ? gWidgets.standardPane : gWidgets.randomPane, true);
    DrawTestResults();
    ShowWidget(gWidgets.randomSettings, !standard);
    ShowWidget(gWidgets.standardSettings, standard);
}
