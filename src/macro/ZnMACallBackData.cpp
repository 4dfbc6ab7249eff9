// ZnMACallBackData: shared ownership of the macro data, so copies never free it twice.
#include "macro/ZnMACallBackData.h"

ZnMACallBackData::ZnMACallBackData() = default;

ZnMACallBackData::ZnMACallBackData(const ZnMACallBackData& other) = default;

ZnMACallBackData& ZnMACallBackData::operator=(const ZnMACallBackData& other)
{
    // shared_ptr assignment releases the old macro data only after taking the new one, so an object
    // assigned to itself (or to a copy sharing its data) keeps it alive.
    if (this == &other)
        return *this;
    groupName = other.groupName;
    value1 = other.value1;
    value2 = other.value2;
    moduleName = other.moduleName;
    intList = other.intList;
    m_macro = other.m_macro;
    return *this;
}

ZnMACallBackData::~ZnMACallBackData() = default;

void ZnMACallBackData::initDataClass(const MacroData& macro)
{
    if (!m_macro)
        m_macro = std::make_shared<MacroData>(macro);
}
