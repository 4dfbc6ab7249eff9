// Kx_StringArray: finding texts with or without regard to case.
#include "core/Kx_StringArray.h"

#include <algorithm>

bool Kx_StringArray::find(const Kx_String& text, int& index, bool exact, int start) const
{
    for (int i = std::max(start, 0); i < length(); ++i) {
        if ((*this)[i].equal(text, exact)) {
            index = i;
            return true;
        }
    }
    return false;
}

bool Kx_StringArray::contains(const Kx_String& text, bool exact) const
{
    int unused = 0;
    return find(text, unused, exact);
}
