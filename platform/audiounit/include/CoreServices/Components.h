#pragma once

// What is left of the Component Manager: the parameter block of its entry points and its selectors.

#include <AudioUnit/AudioComponent.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef AudioComponentDescription ComponentDescription;
typedef AudioComponentInstance ComponentInstance;
typedef SInt32 ComponentResult;

// params[0] is the instance; the call's arguments follow in order (LP64 order).
struct ComponentParameters
{
	UInt8 flags;
	UInt8 paramSize;
	SInt16 what;
	UInt32 padding;
	long params[1];
};
typedef struct ComponentParameters ComponentParameters;

enum
{
	kComponentOpenSelect = -1,
	kComponentCloseSelect = -2,
	kComponentCanDoSelect = -3,
	kComponentVersionSelect = -4,
	kComponentRegisterSelect = -5,
	kComponentTargetSelect = -6,
	kComponentUnregisterSelect = -7
};

enum
{
	badComponentInstance = (SInt32)0x80008001,
	badComponentSelector = (SInt32)0x80008002
};

#ifdef __cplusplus
}
#endif
