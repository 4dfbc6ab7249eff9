// UTF-8 stepping and case mapping of the core's string code: the program's one decoder, which lives
// in the window layer (platform/win/Utf8.h) so that every library shares it. Private to src/core:
// other folders work with Kx_String positions and never see byte offsets.
#pragma once

#include "platform/win/Utf8.h"
