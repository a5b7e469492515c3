#pragma once

// The run list's background: a horizontal ramp from the window colour (left) to the button
// face colour (right) in as many bands as the larger colour step needs.

#include <QColor>
#include <QImage>
#include <QSize>

// The ramp from `from` to `to` over an image of `size`; one flat colour when they are equal.
QImage MakeListBackground(QSize size, QColor from, QColor to);
