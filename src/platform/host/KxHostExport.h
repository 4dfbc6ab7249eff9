// Export marker of the host stand-in: what a real host exports to the modules it loads.
#pragma once

#define KXHOST_API __attribute__((visibility("default")))
