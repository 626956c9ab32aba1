#pragma once

#include "ComponentBase.h"

// Selector look-ups for the plug-in interface: each method takes the factory's block as self and calls the
// AUBase at its offset 64.
struct AUBaseLookup
{
	static AudioComponentMethod Lookup(SInt16 selector);
};

struct AUMusicLookup
{
	static AudioComponentMethod Lookup(SInt16 selector);
};

template <class Implementor> class AUBaseFactory : public APFactory<AUBaseLookup, Implementor>
{
};

template <class Implementor> class AUMusicDeviceFactory : public APFactory<AUMusicLookup, Implementor>
{
};
