// ZnMACallBackData: shared ownership of the macro data, so copies never free it twice.
#include "macro/ZnMACallBackData.h"

ZnMACallBackData::ZnMACallBackData() = default;

ZnMACallBackData::ZnMACallBackData(const ZnMACallBackData& other) = default;

// shared_ptr assignment takes the new macro data before it releases the old one, so an object
// assigned to itself (or to a copy sharing its data) keeps it alive.
ZnMACallBackData& ZnMACallBackData::operator=(const ZnMACallBackData& other) = default;

ZnMACallBackData::~ZnMACallBackData() = default;

void ZnMACallBackData::initDataClass(const MacroData& macro)
{
    if (!m_macro)
        m_macro = std::make_shared<MacroData>(macro);
}
