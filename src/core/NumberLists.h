// Rounding and sorting of numbers for layouts and tables. Lists of texts live in StringLists.h.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_Array.h"

// x rounded to the nearest multiple of step, halves away from zero (2.5 with step 1 gives 3, -2.5
// gives -3). A step of 0, a negative or non-finite step, a non-finite x, or an x so large that every
// neighbouring double is a multiple anyway, gives x unchanged. Steps like 0.1 and 0.01 whose inverse
// is a whole number divide by that number, so the result is the double nearest the decimal value
// (0.3, not 0.30000000000000004), and a half written in decimals counts as a half (0.15 -> 0.2).
// A result of zero is +0.
KXCORE_API double ObjectExportRoundTo(double x, double step);

// Sorts the first n keys ascending and moves the first n indices along, so idx[i] stays paired with
// keys[i]. Stable: equal keys keep their order. NaN keys go last. n is clamped to 0 .. the shorter
// list's length, so a wrong count never reads or writes outside the lists.
KXCORE_API void ObjectExportSort(Kx_Array<double>& keys, Kx_Array<int>& idx, int n);
