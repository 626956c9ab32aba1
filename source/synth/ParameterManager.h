#pragma once

#include <cstddef>
#include <cstdint>

#include "CParam.h"
#include "StaticArray.h"

namespace zentlib
{
// A normalised value as it is kept: the -0 that automation curves give is the zero it equals, so a state
// saves the same bytes whichever zero arrived.
inline float withoutNegativeZero(float normalised)
{
	return normalised == 0.0f ? 0.0f : normalised;
}

// The engine's store of the 109 parameter values. Values from the host or the editor glide to their
// target over rampSteps samples so that automation does not click; values loaded from a single land at
// the next step. process() advances every running ramp once per engine sample and lists the parameters
// it moved in changedRing, which the engine reads right after the call.
//
// Everything is a fixed array: nothing allocates after construction, so process() is safe on the audio
// thread. No lock is taken here; the owner serialises every call.
class ParameterManager
{
public:
	struct SDirtyParam
	{
		uint32_t param = 0xFFFFFFFF;
		uint32_t remainingSteps = 0;
	};

	// A fixed ring of ParamCount entries. It never checks for overflow: each parameter stands in a ring
	// at most once, which keeps it within capacity. The count is a plain integer: every setter, process()
	// and every reader run under the owner's lock, and an atomic count nearly doubled the cost of a step
	// with all parameters ramping.
	template <typename T>
	struct Ring
	{
		T entries[ParamCount] = {};
		uint64_t writeIndex = 0;
		uint64_t readIndex = 0;
		uint32_t count = 0;

		uint32_t size() const { return count; }

		// Entry k counted from the read index, k < size().
		T& operator[](size_t k) { return entries[slot(k)]; }
		const T& operator[](size_t k) const { return entries[slot(k)]; }

		void push(T value)
		{
			entries[writeIndex] = value;
			writeIndex = next(writeIndex);
			++count;
		}

		T pop()
		{
			T value = entries[readIndex];
			readIndex = next(readIndex);
			--count;
			return value;
		}

		size_t slot(size_t k) const
		{
			size_t s = readIndex + k;
			return s >= ParamCount ? s - ParamCount : s;
		}

		static uint64_t next(uint64_t index) { return index + 1 == ParamCount ? 0 : index + 1; }
	};

	ParameterManager();
	// The ramp ring points into this object's own records, so a copy would step the original's.
	ParameterManager(const ParameterManager&) = delete;
	ParameterManager& operator=(const ParameterManager&) = delete;

	// A normalised value (0..1): smoothed from the host or the editor, at once from a restored state.
	// False when it is the value already held.
	bool setVSTParam(uint32_t p, float normalised, bool smooth = true);
	// A real value; the engine passes smooth false when it loads a single. False when it is the value
	// already held.
	bool setVSTParamReal(uint32_t p, float real, bool smooth);
	// Moves only the target, leaving the values reported to the host alone.
	void setIntParam(uint32_t p, float real, bool smooth);
	// Smoothed ramps last a tenth of a second at this rate.
	void setSamplerate(float rate);

	// One step of every running ramp. True when ramps were running at the start of the step.
	bool process();
	// A ramp of p has steps to go: its value has not yet reached targetParams[p].
	bool isMoving(uint32_t p) const { return dirtyParams[p].remainingSteps != 0; }

	float vstParams[ParamCount];
	float realParams[ParamCount];
	float currentParams[ParamCount];
	float targetParams[ParamCount];
	float increments[ParamCount];
	uint8_t changedFlags[ParamCount] = {};
	StaticArray<SDirtyParam, ParamCount> dirtyParams;
	Ring<SDirtyParam*> dirtyRing;
	// The parameters moved by the latest process(), in the order they were stepped. Readers leave it as
	// it is: the next process() empties it.
	Ring<uint32_t> changedRing;
	uint32_t rampSteps = 5000;
	float rampFactor = 0.0002f;

private:
	void startRamp(uint32_t p, float target, bool smooth);
	// Moves towards the real value just set, unless the target is there already. A value that lands at
	// once also ends a glide that is still on its way to it.
	void moveToReal(uint32_t p, bool smooth);
};
}
