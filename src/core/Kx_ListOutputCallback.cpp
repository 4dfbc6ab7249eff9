// The feed protocol's defaults: an output that ignores what it is fed.
#include "core/Kx_ListOutputCallback.h"

Kx_ListOutputCallback::~Kx_ListOutputCallback() = default;

Acad::ErrorStatus Kx_ListOutputCallback::onStartFeed()
{
    return Acad::eOk;
}

Acad::ErrorStatus Kx_ListOutputCallback::onEndFeed()
{
    return Acad::eOk;
}

Acad::ErrorStatus Kx_ListOutputCallback::onNewPage()
{
    return Acad::eOk;
}

void Kx_ListOutputCallback::onAddRow(const Kx_StringArray&) {}

void Kx_ListOutputCallback::onAddSubTotals(const Kx_StringArray&, const Kx_StringArray&, bool, int) {}
