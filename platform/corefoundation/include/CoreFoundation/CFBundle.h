#pragma once

#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFDictionary.h>
#include <CoreFoundation/CFURL.h>

CF_EXTERN_C_BEGIN

typedef struct __CFBundle* CFBundleRef;

CFTypeID CFBundleGetTypeID(void);
// A bundle for an existing directory, or NULL.
CFBundleRef CFBundleCreate(CFAllocatorRef allocator, CFURLRef bundleURL);
CFURLRef CFBundleCopyBundleURL(CFBundleRef bundle);
// Contents/MacOS/ plus the Info.plist's CFBundleExecutable, or NULL when the file is missing.
CFURLRef CFBundleCopyExecutableURL(CFBundleRef bundle);
// Contents/Info.plist read as a property list; an empty dictionary when there is none. Not retained.
CFDictionaryRef CFBundleGetInfoDictionary(CFBundleRef bundle);
CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef bundle, CFStringRef key);
CFStringRef CFBundleGetIdentifier(CFBundleRef bundle);

CF_EXTERN_C_END
