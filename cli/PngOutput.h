// The pictures kestrelia-cli draws (--graph): painted without a desktop,
// encoded as PNG in memory and saved through the one file writer, with the
// rights of the user who asked.
#pragma once

#include <QImage>

#include <functional>
#include <ostream>
#include <string>

// Starts the offscreen toolkit when none runs (fonts need it), draws the
// picture and saves it at path; false with a message on err naming what was
// drawn ("the graph").
bool SavePngPicture(const std::string& path, const std::function<QImage()>& draw, const std::string& what,
                    std::ostream& err);
