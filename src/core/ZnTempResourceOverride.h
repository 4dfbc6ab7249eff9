// ZnTempResourceOverride: switches resource loading to the calling module's resources for the life
// of the object, and back on every path out of the scope.
//
// Header-only on purpose: every module that includes it gets its own saved handle (the library is
// built with hidden visibility), so each module's launchers switch to that module's resources.
#pragma once

#include "platform/win/Resources.h"

class ZnTempResourceOverride {
public:
    ZnTempResourceOverride() { SetDefaultResource(); }
    ~ZnTempResourceOverride() { RestoreOriginalResource(); }
    ZnTempResourceOverride(const ZnTempResourceOverride&) = delete;
    ZnTempResourceOverride& operator=(const ZnTempResourceOverride&) = delete;

    // Records the module's resource handle; called once when the module is attached.
    static void SaveDefaultResource(HINSTANCE module) { savedHandle() = module; }
    static HINSTANCE defaultResource() { return savedHandle(); }

    // Switches to the saved handle (once; a second call keeps the first previous handle).
    void SetDefaultResource()
    {
        if (m_switched || savedHandle() == nullptr)
            return;
        m_previous = AfxGetResourceHandle();
        AfxSetResourceHandle(savedHandle());
        m_switched = true;
    }

    void RestoreOriginalResource()
    {
        if (!m_switched)
            return;
        AfxSetResourceHandle(m_previous);
        m_switched = false;
    }

private:
    static HINSTANCE& savedHandle()
    {
        static HINSTANCE handle = nullptr;
        return handle;
    }

    HINSTANCE m_previous = nullptr;
    bool m_switched = false;
};
