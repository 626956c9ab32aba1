#pragma once

#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFData.h>

CF_EXTERN_C_BEGIN

typedef const struct __CFError* CFErrorRef;

typedef CFIndex CFPropertyListFormat;
enum
{
	kCFPropertyListOpenStepFormat = 1,
	kCFPropertyListXMLFormat_v1_0 = 100,
	kCFPropertyListBinaryFormat_v1_0 = 200
};

typedef CFOptionFlags CFPropertyListMutabilityOptions;
enum
{
	kCFPropertyListImmutable = 0,
	kCFPropertyListMutableContainers = 1,
	kCFPropertyListMutableContainersAndLeaves = 2
};

CFTypeID CFErrorGetTypeID(void);
CFStringRef CFErrorCopyDescription(CFErrorRef err);

// Reads an XML property list (the only format this platform reads); NULL and *error on failure.
CFPropertyListRef CFPropertyListCreateWithData(CFAllocatorRef allocator, CFDataRef data, CFOptionFlags options,
	CFPropertyListFormat* format, CFErrorRef* error);
// Writes XML only; dictionaries come out with their keys sorted, as the real writer does.
CFDataRef CFPropertyListCreateData(CFAllocatorRef allocator, CFPropertyListRef propertyList,
	CFPropertyListFormat format, CFOptionFlags options, CFErrorRef* error);

CF_EXTERN_C_END
