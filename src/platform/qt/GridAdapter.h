// Private to platform/qt: the spreadsheet grid (window class "fpSpread70") as a QTableView over a
// model that reads the grid's own cell store through the SS functions, cell by cell, when Qt asks.
#pragma once

#include "platform/qt/QtMirror.h"

namespace kxqt {

// Registers the grid's adapter unless one is registered already; the mirror calls it once.
void registerGridAdapter();

} // namespace kxqt
