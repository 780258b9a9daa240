// GMP's memory functions replaced by ones that zero every block they free or
// move, so that numbers that held key material do not linger in freed memory.
#pragma once

// Installs them, once per process; later calls do nothing.
void useZeroingAllocator();
