// Export marker of the formula engine: the surface the grid and the tests link against.
#pragma once

#define KXFORMULA_API __attribute__((visibility("default")))
