// Export marker of the Qt backend library.
#pragma once

#define KXQT_API __attribute__((visibility("default")))
