// Export marker of the core module: everything other modules may call carries KXCORE_API.
#pragma once

#define KXCORE_API __attribute__((visibility("default")))
