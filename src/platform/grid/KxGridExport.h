// Export marker of the grid control: the functions and types the module links against.
#pragma once

#define KXGRID_API __attribute__((visibility("default")))
