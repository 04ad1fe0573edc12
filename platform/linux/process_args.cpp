// The runtime's copy of the command line, as the Windows C runtime offers it.
#include "platform/linux/win32_subset.h"

int __argc = 0;
char** __argv = nullptr;
