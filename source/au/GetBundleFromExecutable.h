#pragma once

#include <CoreFoundation/CoreFoundation.h>

// The bundle whose Contents/MacOS folder holds the executable at the given path: the path loses its
// last component three times. The caller releases the bundle; null when there is none.
CFBundleRef GetBundleFromExecutable(const char* executablePath);
