// The run's platform as the program uses it: the system's provider, console
// and clock, and file writer.
#pragma once

#include "app/key_generation_run.h"

RunPlatform systemPlatform();
