#pragma once

#include <cstddef>

#include "CParam.h"

namespace zentlib
{
// The facade's link to the open editor window.
class IEditor
{
public:
	virtual void onParamChanged(EParam parameter, float normalisedValue) = 0;
	virtual void onSinglesModified(size_t first, size_t count) = 0;
	virtual void onSingleModified(size_t index) = 0;
	virtual void onActiveSingleModified(size_t index) = 0;
	virtual void onActiveProgramChanged(size_t index) = 0;
	virtual ~IEditor() = default;
};
}
