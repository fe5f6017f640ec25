#pragma once
// Levara's icon: a leveling staff. The window shows it and the package installs it,
// both drawn here.
#include <QIcon>
#include <QImage>

namespace levara {

// The staff on a transparent square of size pixels.
QImage staffImage(int size);

// The staff at the sizes window decorations and task bars ask for.
QIcon staffIcon();

}  // namespace levara
