// ZnMACallBackData and the callback through which the profile advanced dialog talks to its owner:
// the dialog never touches the drawing itself, it asks its owner to fill, apply, or step aside for
// a pick. The owner is the macro dialog's profile page, a plain MacroData (StartDlgMacroProfAdv) or
// a caller's own handler.
#pragma once

#include "core/Kx_Array.h"
#include "core/Kx_String.h"
#include "core/MacroData.h"
#include "frame/KxSsExport.h"

#include <memory>

// What the advanced dialog asks of its owner; travels as an int.
enum ZnMACallBackType : int {
    kMACallBackGet = 0,       // fill the record with the group's merged properties (on opening)
    kMACallBackSet = 1,       // apply the record to the group, then fill it with the result
    kMACallBackBeginPick = 2, // the dialog hides itself for a pick: hide what must be hidden
    kMACallBackEndPick = 3,   // the pick is over, the dialog shows itself again
};

// Names the group whose properties are edited and, when the caller wants it, a macro that the
// callback works on. Copies share one macro data: the last copy to go frees it, so a copy handed to
// the dialog and the caller's own can both be destroyed in any order (exactly one delete).
class KXSS_API ZnMACallBackData {
public:
    Kx_String groupName;
    // Copied with the object; this module's callbacks do not use them.
    int value1 = 0;
    int value2 = 0;
    Kx_String moduleName;
    Kx_Array<int> intList;

    ZnMACallBackData();
    ZnMACallBackData(const ZnMACallBackData& other);
    // Takes the other's macro data (shared) and releases its own; safe on itself.
    ZnMACallBackData& operator=(const ZnMACallBackData& other);
    ~ZnMACallBackData();

    // Gives the object a copy of macro when it has no macro data yet; a second call keeps the first copy.
    void initDataClass(const MacroData& macro);
    // The macro data, null until initDataClass. Shared by every copy of this object; not owned by
    // the caller.
    MacroData* macroData() const { return m_macro.get(); }
    // How many objects share the macro data (0 without one), for the module's tests.
    long macroDataUseCount() const { return m_macro.use_count(); }

private:
    std::shared_ptr<MacroData> m_macro;
};

// The callback: kind, the object above, the record to fill or apply. False leaves the dialog as it
// was (nothing shown from the record).
using ZnMACallBack = bool (*)(ZnMACallBackType, const ZnMACallBackData&, MacroProfData&);
