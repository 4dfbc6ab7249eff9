#include "sheetedit/EditorRegistrySettings.h"

#include "platform/win/Registry.h"
#include "sheetedit/RegistryStore.h"

bool EditorRegistrySettings::read()
{
    const bool language = RegistryStore::readString(HKEY_LOCAL_MACHINE, kKeyPath, kLanguageValue, Language);
    const bool defaults = RegistryStore::readString(HKEY_LOCAL_MACHINE, kKeyPath, kDefaultSettingsValue, DefaultSettings);
    return language && defaults;
}

bool EditorRegistrySettings::write() const
{
    const bool language = RegistryStore::writeString(HKEY_LOCAL_MACHINE, kKeyPath, kLanguageValue, Language);
    const bool defaults = RegistryStore::writeString(HKEY_LOCAL_MACHINE, kKeyPath, kDefaultSettingsValue, DefaultSettings);
    return language && defaults;
}
