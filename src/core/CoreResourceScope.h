// CoreResourceScope: the core module's own dialogs switch resource loading to the core's resources
// ("kxcore") while they run, and back on every path out. Private to src/core.
//
// Not ZnTempResourceOverride: that class keeps one saved handle per including module, and the one a
// calling module records is that module's own, so the core's templates would not be found through it.
#pragma once

#include "platform/win/Resources.h"

namespace kxcore::detail {

// Name under which kx_embed_resources registers the files of resources/kxcore.
inline constexpr const char* kCoreResourceModule = "kxcore";

class CoreResourceScope {
public:
    CoreResourceScope() : m_previous(AfxGetResourceHandle())
    {
        AfxSetResourceHandle(kxwin::resourceModule(kCoreResourceModule));
    }
    ~CoreResourceScope() { AfxSetResourceHandle(m_previous); }
    CoreResourceScope(const CoreResourceScope&) = delete;
    CoreResourceScope& operator=(const CoreResourceScope&) = delete;

private:
    HINSTANCE m_previous;
};

} // namespace kxcore::detail
