// Export marker of the module: every launcher and class other modules call carries KXSS_API.
#pragma once

#define KXSS_API __attribute__((visibility("default")))
