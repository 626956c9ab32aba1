#include "ParameterManager.h"

#include <utility>

namespace zentlib
{
namespace
{
// Below any real value, so that the first value set for a parameter always counts as a change.
constexpr float Unset = -99999.0f;
}

ParameterManager::ParameterManager()
{
	for (size_t p = 0; p < ParamCount; ++p)
	{
		vstParams[p] = Unset;
		realParams[p] = Unset;
		currentParams[p] = Unset;
		targetParams[p] = Unset;
		increments[p] = 0.0f;
	}
	dirtyParams.resize(ParamCount);

	for (uint32_t p = 0; p < ParamCount; ++p)
	{
		const CParam& param = g_params[p];
		const float normalised = (param.defaultValue - param.min) * param.invRange;
		vstParams[p] = normalised;
		realParams[p] = normalised * param.range + param.min;
		startRamp(p, realParams[p], true);
	}

	// Every parameter starts at its default and is reported once, so the owner applies all of them;
	// the ramps above keep running with no increment until their steps are used up.
	for (uint32_t p = 0; p < ParamCount; ++p)
	{
		currentParams[p] = targetParams[p];
		increments[p] = 0.0f;
		changedFlags[p] = 1;
		changedRing.push(p);
	}
}

void ParameterManager::startRamp(uint32_t p, float target, bool smooth)
{
	SDirtyParam& dirty = dirtyParams[p];
	dirty.param = p;
	targetParams[p] = target;

	uint32_t steps = 1;
	if (smooth)
	{
		increments[p] = (target - currentParams[p]) * rampFactor;
		steps = rampSteps;
	}
	else
	{
		// A value that lands at once stands from now on, although it is reported at the next step:
		// a glide that starts before that step starts from it, not from the value it replaced.
		currentParams[p] = target;
		increments[p] = 0.0f;
	}

	// A running ramp keeps its place in the ring and restarts from where the value stands.
	const uint32_t previous = dirty.remainingSteps;
	dirty.remainingSteps = steps;
	if (previous == 0)
		dirtyRing.push(&dirty);
}

void ParameterManager::moveToReal(uint32_t p, bool smooth)
{
	const float real = realParams[p];
	if (targetParams[p] != real)
		startRamp(p, real, smooth);
	else if (!smooth && currentParams[p] != real)
		startRamp(p, real, false);
}

bool ParameterManager::setVSTParam(uint32_t p, float normalised, bool smooth)
{
	if (p >= ParamCount)
		return false;
	normalised = withoutNegativeZero(normalised);
	if (vstParams[p] == normalised)
	{
		if (!smooth && targetParams[p] == realParams[p])
			moveToReal(p, false);
		return false;
	}
	vstParams[p] = normalised;
	realParams[p] = normalised * g_params[p].range + g_params[p].min;
	moveToReal(p, smooth);
	return true;
}

bool ParameterManager::setVSTParamReal(uint32_t p, float real, bool smooth)
{
	if (p >= ParamCount)
		return false;
	if (realParams[p] == real)
	{
		if (!smooth && targetParams[p] == real)
			moveToReal(p, false);
		return false;
	}
	realParams[p] = real;
	vstParams[p] = (real - g_params[p].min) * g_params[p].invRange;
	moveToReal(p, smooth);
	return true;
}

void ParameterManager::setIntParam(uint32_t p, float real, bool smooth)
{
	if (p >= ParamCount)
		return;
	if (targetParams[p] == real)
		return;
	startRamp(p, real, smooth);
}

void ParameterManager::setSamplerate(float rate)
{
	const float steps = rate * 0.1f;
	// A ramp needs at least one step, and the count has to fit; anything else (a zero, negative or
	// NaN rate) would leave ramps that never end, so such a rate keeps the present ramp length.
	if (!(steps >= 1.0f && steps < 4294967296.0f))
		return;
	rampFactor = 1.0f / steps;
	rampSteps = static_cast<uint32_t>(steps);
}

bool ParameterManager::process()
{
	while (changedRing.size() != 0)
		changedFlags[changedRing.pop()] = 0;

	if (dirtyRing.size() == 0)
		return false;

	uint32_t k = 0;
	while (k < dirtyRing.size())
	{
		SDirtyParam* dirty = dirtyRing[k];
		const uint32_t p = dirty->param;
		if (changedFlags[p] == 0)
		{
			changedFlags[p] = 1;
			changedRing.push(p);
		}
		currentParams[p] += increments[p];

		if (--dirty->remainingSteps > 0)
		{
			++k;
			continue;
		}

		// Finished: land exactly on the target and drop the entry in constant time by moving it to the
		// head of the ring. k then names the next entry not yet stepped.
		currentParams[p] = targetParams[p];
		if (k > 0)
			std::swap(dirtyRing[k], dirtyRing[0]);
		dirtyRing.pop();
	}
	return true;
}
}
