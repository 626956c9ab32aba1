#pragma once

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

typedef double CFTimeInterval;
// Seconds since 2001-01-01 00:00:00 GMT.
typedef CFTimeInterval CFAbsoluteTime;

extern const CFTimeInterval kCFAbsoluteTimeIntervalSince1970;

CFAbsoluteTime CFAbsoluteTimeGetCurrent(void);

CF_EXTERN_C_END
