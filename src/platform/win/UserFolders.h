// Where per-user configuration lives: the registry database, the core settings file.
#pragma once

#include "platform/win/KxWinExport.h"

#include <string>

namespace kxwin {

// $KESTRA_SS_HOME when set (tests point it at a scratch folder), else $XDG_CONFIG_HOME/kestra-ss
// (an absolute XDG_CONFIG_HOME only), else $HOME/.config/kestra-ss. Never ends with '/'. Empty
// when none of these is known. The folder is not created here.
KXWIN_API std::string userConfigFolder();

} // namespace kxwin
