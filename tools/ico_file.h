#pragma once
// The Windows icon container, written by hand so that every size lands in one file (Qt's own
// writer stores a single image).
#include <QImage>
#include <string>
#include <vector>

namespace tallowby::tools {

// An ICO file holding each image as a 32-bit BGRA bitmap with its transparency mask, largest first
// as given. Images must be square and at most 256 pixels wide.
std::string icoBytes(const std::vector<QImage>& images);

} // namespace tallowby::tools
