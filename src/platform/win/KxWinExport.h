// Export marker of the window layer: the desktop framework's surface that modules link against.
#pragma once

#define KXWIN_API __attribute__((visibility("default")))
