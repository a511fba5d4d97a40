// The result graph as a picture of its own, for sharing results where no
// desktop runs (kestrelia-cli --graph): a title, the graph key, the graph with
// its speed labels and the drive's sector range beneath it, drawn offscreen
// from the current result records exactly as the window draws it.
#pragma once

#include "display/OverlaySettings.h"
#include "engine/Run.h"

#include <QImage>
#include <QString>

struct GraphImageOptions {
    QString title;     // first line, bold
    QString subtitle;  // second line: what was measured
    OverlayInputs overlay;  // switched off unless enabled
};

// Sets the graph geometry for the picture's layout (the window's geometry is
// replaced, so call this only where no window shows the graph) and paints the
// zone graph of run. Needs a QGuiApplication for the fonts.
QImage RenderResultGraphImage(const Run& run, const GraphImageOptions& options);
