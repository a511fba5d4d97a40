// The results display of the main window: where the graph goes, the switch
// between the standard and random test panes, and the one redraw entry point.
//
// The main window (gMainWindowRef, a QWidget*) carries controls marked with
// the dynamic properties controlSignature / controlId:
//   {'upan', 1}  standard test pane, holding the graph pane {'upan', 10}
//   {'upan', 2}  random test pane
//   {'pgrp', 1}  test-kind popup group box (1 = standard, 2 = random)
//   {'grpb', 1}, {'grpb', 2}  group boxes shown with the standard / random test
//   {'stxt', 11} .. {'stxt', 20}  vertical-axis labels, top first
#pragma once

#include "engine/Run.h"

#include <cstdint>
#include <functional>

class GraphView;

// Takes the graph geometry from {'upan', 10}, builds the graph key and the
// graph view in the standard pane and finds the axis labels. Call once after
// the window's layout is final and before it is shown. Returns 0, or -1 when
// gMainWindowRef or the graph pane is missing.
int32_t InstallResultsDisplay();

// Where the panes take the run they show from, at every redraw: the window
// gives the run on show or the one under way. Without a source no run shows.
void SetShownRunSource(std::function<const Run&()> source);

// Redraws the key and the whole graph of the run shown and sets the axis
// labels. Does nothing while the random test pane is showing.
// Interface thread only.
void DrawTestResults();

// Shows the pane that {'pgrp', 1} chooses, sets gCurrentSelectedTestType (the
// kind of the next run) and redraws; shows {'grpb', 1} with the standard pane
// and {'grpb', 2} with the random one.
void ToggleTestPanes();

// The graph view, null before InstallResultsDisplay or after the window is gone.
GraphView* CurrentGraphView();
