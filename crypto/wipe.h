// Overwrites memory that held key material, in a way the compiler may not drop.
#pragma once

#include <cstddef>

void wipeBytes(void* data, std::size_t size);
