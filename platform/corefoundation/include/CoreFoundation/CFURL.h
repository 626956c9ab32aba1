#pragma once

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

typedef const struct __CFURL* CFURLRef;

typedef CFIndex CFURLPathStyle;
enum
{
	kCFURLPOSIXPathStyle = 0,
	kCFURLHFSPathStyle = 1,
	kCFURLWindowsPathStyle = 2
};

CFTypeID CFURLGetTypeID(void);
// Relative paths are resolved against the working directory; a directory URL ends with a slash.
CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef allocator, CFStringRef filePath, CFURLPathStyle pathStyle,
	Boolean isDirectory);
CFURLRef CFURLCreateFromFileSystemRepresentation(CFAllocatorRef allocator, const UInt8* buffer, CFIndex bufLen,
	Boolean isDirectory);
CFStringRef CFURLCopyFileSystemPath(CFURLRef anURL, CFURLPathStyle pathStyle);
Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean resolveAgainstBase, UInt8* buffer, CFIndex maxBufLen);
Boolean CFURLHasDirectoryPath(CFURLRef anURL);
CFStringRef CFURLGetString(CFURLRef anURL);

CF_EXTERN_C_END
