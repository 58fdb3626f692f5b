#pragma once
// Bitmaps the program draws for itself instead of loading them from resource
// files, and the small patterns its brushes use.
#include "platform/canvas/colors.h"

#include <QImage>
#include <QString>

namespace platform
{

// The bitmap of that resource name (letter case ignored, as for resources);
// a null image when there is none by that name.
QImage LoadBitmap(const QString &name);

// An 8 x 8 checker board for pattern brushes: pixel (x, y) takes `even` when
// x + y is even, `odd` otherwise.
QImage checkerPattern(TColor even, TColor odd);

} // namespace platform
