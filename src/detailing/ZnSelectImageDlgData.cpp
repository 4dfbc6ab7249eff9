// The image selection dialog's data.
#include "detailing/ZnSelectImageDlgData.h"

ZnSelectImageDlgData::ZnSelectImageDlgData() = default;
ZnSelectImageDlgData::ZnSelectImageDlgData(const ZnSelectImageDlgData& other) = default;
ZnSelectImageDlgData& ZnSelectImageDlgData::operator=(const ZnSelectImageDlgData& other) = default;
ZnSelectImageDlgData::~ZnSelectImageDlgData() = default;
