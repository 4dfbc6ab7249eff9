// Kx_StringArray: the list of texts the dialogs and files trade in; finding takes the case flag.
#pragma once

#include "core/Kx_Array.h"
#include "core/Kx_String.h"

class KXCORE_API Kx_StringArray : public Kx_Array<Kx_String> {
public:
    using Kx_Array<Kx_String>::Kx_Array;

    // exact == false ignores case as Kx_String::equal does.
    bool find(const Kx_String& text, int& index, bool exact = true, int start = 0) const;
    bool contains(const Kx_String& text, bool exact = true) const;
};
