#pragma once

#include "AUScopeElement.h"

class AUOutputElement : public AUIOElement
{
public:
	explicit AUOutputElement(AUBase* audioUnit);
	// Reallocates the buffer for the new format once the unit has begun initialising.
	OSStatus SetStreamFormat(const CAStreamBasicDescription& desc) override;
};
