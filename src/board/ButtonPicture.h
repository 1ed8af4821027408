// A text's picture as a button shows it: decoded under bounds (a hostile picture is shown as
// missing, never decoded past them), fitted to a size keeping its proportions, vectors drawn at
// the size shown.
#pragma once

#include "platform/BoardPicture.h"

#include <QPixmap>
#include <QSize>

namespace buttonpicture {

// The largest picture decoded: a button is never shown larger than a screen.
constexpr int kMaxSide = 4096;
constexpr int kAllocationLimitMiB = 64;
constexpr qsizetype kMaxSvgBytes = 4 * 1024 * 1024;

// The picture fitted inside `box` keeping its proportions; null when it cannot be decoded
// within the bounds (the button then shows it as missing).
QPixmap render(const BoardPicture& picture, const QSize& box);

} // namespace buttonpicture
