#include "sheetedit/SheetSettings.h"

SheetSettings::SheetSettings() : defaultFont("Tahoma") {}
void SheetSettings::reset() {}
bool SheetSettings::load(const Kx_String&) { return false; }
bool SheetSettings::save(const Kx_String&) const { return false; }
bool SheetSettings::readFromSheet(HWND) { return false; }
bool SheetSettings::writeToSheet(HWND) { return false; }
void SheetSettings::setVariables(const Kx_StringArray&, const Kx_StringArray&) {}
void SheetSettings::resolveHeaderFooter(const Kx_String&) {}
Kx_String SheetSettings::settingsFolder() { return {}; }
Kx_String SheetSettings::fileOf(const Kx_String&) { return {}; }
