#pragma once

#include "Validator.h"

#include <AudioUnit/AudioUnit.h>
#include <CoreFoundation/CoreFoundation.h>

#include <string>
#include <vector>

// One instance under validation, spoken to through the Audio Unit C interface with every status handed back
// rather than thrown, since the statuses are what the checks judge.
class ValidationUnit
{
public:
	// Throws CheckFailed when the component does not open.
	explicit ValidationUnit(AudioComponent component);
	~ValidationUnit();
	ValidationUnit(const ValidationUnit&) = delete;
	ValidationUnit& operator=(const ValidationUnit&) = delete;

	AudioUnit unit() const { return m_unit; }

	// Uninitialises if need be, sets the output rate and the largest block, then initialises.
	OSStatus prepare(double sampleRate, UInt32 maxFrames);
	// One block into the unit's own stereo buffers, each exactly frames long; the sample time advances. With
	// allocations, what the render call allocated on this thread is counted into it.
	OSStatus render(UInt32 frames, long* allocations = nullptr);
	const std::vector<float>& left() const { return m_left; }
	const std::vector<float>& right() const { return m_right; }
	OSStatus midi(UInt8 status, UInt8 data1, UInt8 data2, UInt32 offset = 0);

	std::vector<AudioUnitParameterID> parameterIds();
	// The parameter's record, its name string released; throws CheckFailed when the unit has none.
	AudioUnitParameterInfo parameterInfo(AudioUnitParameterID id);
	float parameter(AudioUnitParameterID id);
	OSStatus setParameter(AudioUnitParameterID id, float value);

	// The class-info dictionary as the XML a host stores: what byte-for-byte comparisons compare. Throws CheckFailed
	// when the unit cannot save.
	std::string stateXml();
	// The class-info dictionary; the caller releases it.
	CFPropertyListRef saveState();
	OSStatus restoreState(CFPropertyListRef state);

private:
	AudioUnit m_unit = nullptr;
	double m_sampleTime = 0;
	std::vector<float> m_left, m_right;
	std::vector<UInt8> m_bufferList;
};

// Throws CheckFailed saying what failed with which status, unless the status is 0.
void require(OSStatus status, const std::string& what);
// Throws CheckFailed with why unless the condition holds.
void require(bool condition, const std::string& why);
// The first sample that is not a finite number or is subnormal, described; empty when every sample is clean.
std::string firstBadSample(const std::vector<float>& samples);
std::string textOf(CFStringRef text);
