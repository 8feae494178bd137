#pragma once
// The program's own icon: a shield carrying an hourglass. Green while the rules run, grey with a
// red hourglass while they are stopped.
#include <QImage>

namespace tallowby::tools {

enum class IconState { Running, Stopped };

QImage drawIcon(IconState state, int size);

} // namespace tallowby::tools
