// Where the host keeps per-user configuration: the registry database, the core settings file.
#pragma once

#include "platform/host/KxHostExport.h"

#include <string>

namespace kxhost {

// $KESTRA_SS_HOME when set (tests point it at a scratch folder), else $XDG_CONFIG_HOME/kestra-ss
// (an absolute XDG_CONFIG_HOME only), else $HOME/.config/kestra-ss. Never ends with '/'. Empty
// when none of these is known. The folder is not created here.
KXHOST_API std::string userConfigFolder();

} // namespace kxhost
