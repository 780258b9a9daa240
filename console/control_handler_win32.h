// The console control handler that the key wait registers on Windows. Close,
// logoff and shutdown count as a key press and are reported handled, after a
// short hold that lets the wait end and the process exit on its own; every
// other event is left to the system's default handling.
#pragma once

#include <windows.h>

BOOL WINAPI consoleControlHandler(DWORD event);
