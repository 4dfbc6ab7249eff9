// Kx_ListOutputCallback: the feed protocol through which the bill engine (Kx_Bill) hands a bill's
// lines to an output (a spreadsheet, a text file): start, one call per line, sub-total lines, end.
// The engine drives it; what an output does with the lines is the output's business.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_StringArray.h"
#include "platform/host/AcDb.h"

class KXCORE_API Kx_ListOutputCallback {
public:
    Kx_ListOutputCallback() = default;
    Kx_ListOutputCallback(const Kx_ListOutputCallback&) = default;
    Kx_ListOutputCallback& operator=(const Kx_ListOutputCallback&) = default;
    virtual ~Kx_ListOutputCallback();

    // Before the first line. A status other than eOk stops the feed: no line follows and onEndFeed
    // is not called.
    virtual Acad::ErrorStatus onStartFeed();
    // After the last line; its status is what the engine's feed returns.
    virtual Acad::ErrorStatus onEndFeed();
    // Between pages of a paged output; the engine of this module never pages, the default does
    // nothing.
    virtual Acad::ErrorStatus onNewPage();
    // One bill line: a text per column, in the bill's column order.
    virtual void onAddRow(const Kx_StringArray& texts);
    // A sub-total line: texts only in the columns that carry a total (the others are empty).
    // `labels` holds the sub-total's descriptive texts, `isTotal` is true for the bill's grand total
    // and `level` is the grouping depth (1 for a group, 0 for the total).
    virtual void onAddSubTotals(const Kx_StringArray& texts, const Kx_StringArray& labels, bool isTotal, int level);
};
