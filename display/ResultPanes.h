// The results display of the main window: where the graph goes, the switch
// between the standard and random test panes, and the one redraw entry point.
#pragma once

#include "engine/Run.h"

#include <QPointer>

#include <array>
#include <cstdint>
#include <functional>

class GraphView;
class QComboBox;
class QLabel;
class QWidget;

// The widgets of the main window the display works with.
struct ResultWidgets {
    QWidget* window = nullptr;            // whose coordinates the graph geometry is in
    QWidget* standardPane = nullptr;      // {'upan', 1}, holding the graph pane
    QWidget* randomPane = nullptr;        // {'upan', 2}
    QWidget* graphPane = nullptr;         // {'upan', 10}
    QComboBox* testKind = nullptr;        // in {'pgrp', 1}: item 1 standard, 2 random, 3 surface
    QWidget* standardSettings = nullptr;  // {'grpb', 1}, shown with the standard test
    QWidget* randomSettings = nullptr;    // {'grpb', 2}, shown with the random one
    std::array<QLabel*, 10> axisLabels{};  // {'stxt', 11} .. {'stxt', 20}, top first
    QLabel* surfaceSummary = nullptr;     // under the graph: a surface run's figures
};

// Takes the graph geometry from the graph pane, builds the graph key and the
// graph view in the standard pane and keeps the widgets. Call after the
// window's layout is final and before it is shown, and again when the layout
// changed (a new font). Returns 0, or -1 when the window or the graph pane is missing.
int32_t InstallResultsDisplay(const ResultWidgets& widgets);

// Where the panes take the run they show from, at every redraw: the window
// gives the run on show or the one under way. Without a source no run shows.
void SetShownRunSource(std::function<const Run&()> source);

// Redraws the key and the whole graph of the run shown and sets the axis
// labels. Does nothing while the random test pane is showing.
// Interface thread only.
void DrawTestResults();

// Shows the pane that the test-kind popup chooses and redraws; shows the standard settings with the
// standard pane and the random ones with the random pane.
// The surface test shares the standard pane (its graph) and settings (its transfer size).
void ToggleTestPanes();

// The graph view, null before InstallResultsDisplay or after the window is gone.
GraphView* CurrentGraphView();
