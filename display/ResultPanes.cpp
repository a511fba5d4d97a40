#include "display/ResultPanes.h"

#include "display/ControlLookup.h"
#include "display/GraphKey.h"
#include "display/GraphView.h"
#include "engine/InterfaceHost.h"
#include "engine/TestModel.h"

#include <QPointer>
#include <QWidget>

#include <cstring>

namespace {

constexpr int kAxisLabelCount = 10;
constexpr int kFirstAxisLabelId = 11;

QPointer<GraphView> gGraphView;
QPointer<QWidget> gAxisLabels[kAxisLabelCount];
// The texts last put into the labels: unchanged labels are not touched again.
char gAxisLabelTexts[kAxisLabelCount][32];

QWidget* MainWindow()
{
    return static_cast<QWidget*>(gMainWindowRef);
}

void ShowControl(QWidget* window, const char* signature, int id, bool show)
{
    if (QWidget* control = display::FindControl(window, signature, id))
        control->setVisible(show);
}

void SetAxisLabels(const GraphPaintResult& paint)
{
    if (!paint.labelsSet)
        return;
    for (int i = 0; i < kAxisLabelCount; ++i) {
        if (gAxisLabels[i].isNull() || std::strcmp(gAxisLabelTexts[i], paint.axisLabels[i]) == 0)
            continue;
        std::memcpy(gAxisLabelTexts[i], paint.axisLabels[i], sizeof gAxisLabelTexts[i]);
        display::SetControlText(gAxisLabels[i], QString::fromLatin1(paint.axisLabels[i]));
    }
}

}  // namespace

GraphView* CurrentGraphView()
{
    return gGraphView.data();
}

int32_t InstallResultsDisplay()
{
    QWidget* window = MainWindow();
    if (window == nullptr)
        return -1;
    QWidget* graphPane = display::FindControl(window, "upan", 10);
    if (graphPane == nullptr)
        return -1;
    const QPoint origin = graphPane->mapTo(window, QPoint(0, 0));
    ComputeGraphGeometry(Rect{static_cast<int16_t>(origin.y()), static_cast<int16_t>(origin.x()),
                              static_cast<int16_t>(origin.y() + graphPane->height()),
                              static_cast<int16_t>(origin.x() + graphPane->width())});
    InstallGraphicalDB();

    // The view covers the backdrop, which reaches past the graph pane, so it
    // lives beside the pane, in the standard test pane that shows and hides it.
    QWidget* parent = graphPane->parentWidget() != nullptr ? graphPane->parentWidget() : window;
    if (gGraphView.isNull())
        gGraphView = new GraphView(parent);  // owned by its parent widget
    else
        gGraphView->FollowGraphGeometry();
    gGraphView->show();
    gGraphView->raise();
    if (QWidget* key = gGraphicalDataBrowerCntl)
        key->raise();

    for (int i = 0; i < kAxisLabelCount; ++i) {
        gAxisLabels[i] = display::FindControl(window, "stxt", kFirstAxisLabelId + i);
        gAxisLabelTexts[i][0] = '\0';
    }
    return 0;
}

void DrawTestResults()
{
    if (gCurrentSelectedTestType != 1)
        return;
    if (gGraphicalDataBrowerCntl != nullptr)
        gGraphicalDataBrowerCntl->update();
    if (gGraphView.isNull())
        return;
    gGraphView->Redraw();
    SetAxisLabels(gGraphView->LastPaint());
}

void ToggleTestPanes()
{
    QWidget* window = MainWindow();
    if (window == nullptr)
        return;
    ShowControl(window, "upan", 1, false);
    ShowControl(window, "upan", 2, false);
    const int value = display::ControlValue(display::FindControl(window, "pgrp", 1));
    // A popup without a choice shows the standard test, as at start-up.
    gCurrentSelectedTestType = value == 2 ? 2 : 1;
    ShowControl(window, "upan", gCurrentSelectedTestType, true);
    DrawTestResults();
    const bool standard = gCurrentSelectedTestType == 1;
    ShowControl(window, "grpb", 2, !standard);
    ShowControl(window, "grpb", 1, standard);
}
