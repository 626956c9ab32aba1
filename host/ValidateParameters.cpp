// Checks of what a host stores and recalls: parameter records, values and their texts, presets, scheduled
// parameter changes and the saved state.

#include "ValidationUnit.h"

#include <AudioUnit/MusicDevice.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace
{
struct Parameter
{
	AudioUnitParameterID id;
	AudioUnitParameterInfo info;
};

std::vector<Parameter> parametersOf(ValidationUnit& unit)
{
	std::vector<Parameter> result;
	for (AudioUnitParameterID id : unit.parameterIds())
		result.push_back({id, unit.parameterInfo(id)});
	return result;
}

// A unit initialised at 44.1 kHz and its parameters; a unit without any has nothing for the check to try.
std::vector<Parameter> preparedParameters(ValidationUnit& unit)
{
	require(unit.prepare(44100, 512), "initialising");
	auto parameters = parametersOf(unit);
	if (parameters.empty())
		throw CheckSkipped{"the unit has no parameters"};
	return parameters;
}

float randomValue(ValidationContext& c, const AudioUnitParameterInfo& info)
{
	return info.minValue + (info.maxValue - info.minValue) * std::uniform_real_distribution<float>(0, 1)(c.random);
}

std::string name(AudioUnitParameterID id)
{
	return "parameter " + std::to_string(id);
}

// Hosts draw and write back every value inside the range the unit gave, whatever led to it.
void requireValuesInRange(ValidationUnit& unit, const std::vector<Parameter>& parameters, const std::string& after)
{
	for (const Parameter& p : parameters)
	{
		const float value = unit.parameter(p.id);
		require(value >= p.info.minValue && value <= p.info.maxValue,
			name(p.id) + " reads " + std::to_string(value) + " after " + after + ", outside its range " +
				std::to_string(p.info.minValue) + " .. " + std::to_string(p.info.maxValue));
	}
}

bool offered(AudioUnit unit, AudioUnitPropertyID id)
{
	return AudioUnitGetPropertyInfo(unit, id, kAudioUnitScope_Global, 0, nullptr, nullptr) == noErr;
}

// The unit's text for a value (the current one when value is null).
std::string valueText(AudioUnit unit, AudioUnitParameterID id, const float* value)
{
	AudioUnitParameterStringFromValue request{id, value, nullptr};
	UInt32 size = sizeof request;
	require(AudioUnitGetProperty(unit, kAudioUnitProperty_ParameterStringFromValue, kAudioUnitScope_Global, 0, &request, &size),
		"the text of a value of " + name(id));
	require(request.outString != nullptr, name(id) + " gave no text for a value");
	const std::string text = textOf(request.outString);
	CFRelease(request.outString);
	return text;
}

std::string records(ValidationContext& c)
{
	ValidationUnit unit(c.component);
	require(unit.prepare(44100, 512), "initialising");
	const auto parameters = parametersOf(unit);
	for (const Parameter& p : parameters)
	{
		const AudioUnitParameterInfo& i = p.info;
		const size_t length = strnlen(i.name, sizeof i.name);
		require(length > 0 && length < sizeof i.name, name(p.id) + " has no name of at most 51 bytes");
		require(i.minValue <= i.defaultValue && i.defaultValue <= i.maxValue && i.minValue < i.maxValue,
			name(p.id) + " has a default outside its range or an empty range");
		require((i.flags & kAudioUnitParameterFlag_IsReadable) && (i.flags & kAudioUnitParameterFlag_IsWritable),
			name(p.id) + " is not both readable and writable");
	}
	return std::to_string(parameters.size()) + " parameters, each named with a default inside its range";
}

// Random values written and read back; each has a text, and a text turns back into a value with the same text
// where the unit offers that; values beyond the range are brought into it and values that are not numbers refused.
std::string values(ValidationContext& c)
{
	ValidationUnit unit(c.component);
	const auto parameters = preparedParameters(unit);
	const bool texts = offered(unit.unit(), kAudioUnitProperty_ParameterStringFromValue);
	const bool fromText = offered(unit.unit(), kAudioUnitProperty_ParameterValueFromString);
	const int trials = c.trials(40);
	for (int t = 0; t < trials; ++t)
	{
		const Parameter& p = parameters[c.random() % parameters.size()];
		const float value = randomValue(c, p.info);
		require(unit.setParameter(p.id, value), "setting " + name(p.id));
		require(unit.parameter(p.id) == value, name(p.id) + " set to " + std::to_string(value) + " reads back " +
												   std::to_string(unit.parameter(p.id)));
		if (texts && (p.info.flags & kAudioUnitParameterFlag_ValuesHaveStrings))
		{
			const std::string text = valueText(unit.unit(), p.id, &value);
			require(!text.empty(), name(p.id) + " has an empty text for " + std::to_string(value));
			require(valueText(unit.unit(), p.id, nullptr) == text, name(p.id) + ": the current value's text differs");
			if (fromText)
			{
				CFStringRef string = CFStringCreateWithCString(nullptr, text.c_str(), kCFStringEncodingUTF8);
				AudioUnitParameterValueFromString request{p.id, string, 0};
				UInt32 size = sizeof request;
				const OSStatus status = AudioUnitGetProperty(
					unit.unit(), kAudioUnitProperty_ParameterValueFromString, kAudioUnitScope_Global, 0, &request, &size);
				CFRelease(string);
				require(status, name(p.id) + ": the value of the text \"" + text + "\"");
				require(valueText(unit.unit(), p.id, &request.outValue) == text,
					name(p.id) + ": the text \"" + text + "\" does not come back from its value");
			}
		}
	}

	const Parameter& p = parameters[c.random() % parameters.size()];
	const float span = p.info.maxValue - p.info.minValue;
	for (float beyond : {p.info.maxValue + span, p.info.minValue - span})
	{
		require(unit.setParameter(p.id, beyond), "setting " + name(p.id) + " beyond its range");
		const float back = unit.parameter(p.id);
		require(back >= p.info.minValue && back <= p.info.maxValue,
			name(p.id) + " set to " + std::to_string(beyond) + " reads back " + std::to_string(back) + ", outside its range");
	}
	const float before = unit.parameter(p.id);
	require(unit.setParameter(p.id, std::numeric_limits<float>::quiet_NaN()) != noErr, name(p.id) + " took a value that is not a number");
	require(unit.parameter(p.id) == before, name(p.id) + " changed when refusing a value that is not a number");
	return std::to_string(trials) + " random values read back" + (texts ? " with their texts" : "") +
		   (fromText ? ", texts turned back into values" : ", no text-to-value conversion offered") +
		   "; values beyond the range clamped, not-a-number refused";
}

std::string presets(ValidationContext& c)
{
	ValidationUnit unit(c.component);
	require(unit.prepare(44100, 512), "initialising");
	CFArrayRef array = nullptr;
	UInt32 size = sizeof array;
	if (AudioUnitGetProperty(unit.unit(), kAudioUnitProperty_FactoryPresets, kAudioUnitScope_Global, 0, &array, &size) != noErr ||
		!array)
		throw CheckSkipped{"the unit has no factory presets"};
	std::vector<std::pair<SInt32, std::string>> list;
	for (CFIndex i = 0; i < CFArrayGetCount(array); ++i)
	{
		auto* preset = static_cast<const AUPreset*>(CFArrayGetValueAtIndex(array, i));
		list.push_back({preset->presetNumber, textOf(preset->presetName)});
	}
	CFRelease(array);
	require(!list.empty(), "the factory preset list is empty");
	const auto parameters = parametersOf(unit);
	const int trials = c.trials(10);
	for (int t = 0; t < trials; ++t)
	{
		const auto& [number, presetName] = list[c.random() % list.size()];
		require(!presetName.empty(), "preset " + std::to_string(number) + " has no name");
		// As a host does: the record from the list, name and all.
		CFStringRef listedName = CFStringCreateWithCString(nullptr, presetName.c_str(), kCFStringEncodingUTF8);
		AUPreset chosen = {number, listedName};
		const OSStatus selected = AudioUnitSetProperty(
			unit.unit(), kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &chosen, sizeof chosen);
		CFRelease(listedName);
		require(selected, "selecting preset " + std::to_string(number));
		AUPreset present{};
		size = sizeof present;
		require(AudioUnitGetProperty(unit.unit(), kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &present, &size),
			"reading the present preset");
		const std::string presentName = textOf(present.presetName);
		if (present.presetName)
			CFRelease(present.presetName);
		require(present.presetNumber == number && presentName == presetName,
			"selecting preset " + std::to_string(number) + " \"" + presetName + "\" presents " +
				std::to_string(present.presetNumber) + " \"" + presentName + "\"");
		requireValuesInRange(unit, parameters, "selecting preset " + std::to_string(number));
	}
	return std::to_string(trials) + " selections among " + std::to_string(list.size()) +
		   " presets, each presented by name with its values in their ranges";
}

// Immediate events are applied at once; ramped ones are taken without error even by a unit that does not ramp.
std::string scheduled(ValidationContext& c)
{
	ValidationUnit unit(c.component);
	const auto parameters = preparedParameters(unit);
	const int trials = c.trials(10);
	for (int t = 0; t < trials; ++t)
	{
		const Parameter& p = parameters[c.random() % parameters.size()];
		AudioUnitParameterEvent events[2]{};
		events[0].scope = events[1].scope = kAudioUnitScope_Global;
		events[0].parameter = events[1].parameter = p.id;
		events[0].eventType = kParameterEvent_Immediate;
		events[0].eventValues.immediate = {0, randomValue(c, p.info)};
		events[1].eventType = kParameterEvent_Ramped;
		events[1].eventValues.ramp = {0, 256, randomValue(c, p.info), randomValue(c, p.info)};
		require(AudioUnitScheduleParameters(unit.unit(), events, 1), "scheduling an immediate change of " + name(p.id));
		require(unit.parameter(p.id) == events[0].eventValues.immediate.value,
			"an immediate change of " + name(p.id) + " was not applied");
		require(AudioUnitScheduleParameters(unit.unit(), events + 1, 1), "scheduling a ramp of " + name(p.id));
		require(unit.render(512), "rendering");
		require(firstBadSample(unit.left()).empty(), firstBadSample(unit.left()));
	}
	return std::to_string(trials) + " immediate changes applied, ramps accepted";
}

// A state saved twice is the same; restored after the parameters were changed, it brings every value back and
// saves to the same bytes again, in the same unit and in a fresh one.
std::string state(ValidationContext& c)
{
	ValidationUnit unit(c.component);
	require(unit.prepare(44100, 512), "initialising");
	const auto parameters = parametersOf(unit);
	for (const Parameter& p : parameters)
		require(unit.setParameter(p.id, randomValue(c, p.info)), "setting " + name(p.id));
	std::vector<float> saved;
	for (const Parameter& p : parameters)
		saved.push_back(unit.parameter(p.id));
	const std::string first = unit.stateXml();
	require(unit.stateXml() == first, "a second save differs from the first");
	CFPropertyListRef state = unit.saveState();

	for (const Parameter& p : parameters)
		require(unit.setParameter(p.id, randomValue(c, p.info)), "setting " + name(p.id));
	const OSStatus restored = unit.restoreState(state);
	std::string failure;
	for (size_t i = 0; i < parameters.size() && failure.empty(); ++i)
		if (unit.parameter(parameters[i].id) != saved[i])
			failure = name(parameters[i].id) + " was " + std::to_string(saved[i]) + " when saved and is " +
					  std::to_string(unit.parameter(parameters[i].id)) + " after the restore";
	const std::string again = failure.empty() && restored == noErr ? unit.stateXml() : first;

	ValidationUnit fresh(c.component);
	const OSStatus freshRestored = fresh.restoreState(state);
	CFRelease(state);
	require(restored, "restoring the state");
	require(failure.empty(), failure);
	requireValuesInRange(unit, parameters, "a restore");
	require(again == first, "the state saved after a restore differs from the state restored");
	require(freshRestored, "restoring the state into a fresh unit");
	require(fresh.prepare(44100, 512), "initialising the fresh unit");
	requireValuesInRange(fresh, parameters, "a restore into a fresh unit");
	require(fresh.stateXml() == first, "a fresh unit given the state saves it differently");
	return std::to_string(first.size()) + " bytes, the same after a second save, a restore and in a fresh unit";
}

// SysEx edits as an editor or a librarian sends them, many of them beyond their field's range: parameter changes in
// the form of the hardware family this host's instrument emulates (F0 40, channel, 10 00 03, parameter, source and
// the value's high bit, value, F7) with random numbers; other units take them as foreign SysEx. Each edit keeps every
// value in its range, and the state saved after them reopens in a fresh unit with the same values.
std::string sysexEdits(ValidationContext& c)
{
	ValidationUnit unit(c.component);
	const auto parameters = preparedParameters(unit);
	const int trials = c.trials(40);
	for (int t = 0; t < trials; ++t)
	{
		const UInt8 edit[] = {0xF0, 0x40, UInt8(c.random() % 16), 0x10, 0x00, 0x03, UInt8(c.random() % 64),
			UInt8(c.random() % 8), UInt8(c.random() % 128), 0xF7};
		std::string text;
		for (UInt8 b : edit)
			text += (text.empty() ? "" : " ") + std::string{"0123456789ABCDEF"[b >> 4], "0123456789ABCDEF"[b & 15]};
		require(MusicDeviceSysEx(unit.unit(), edit, sizeof edit), "the SysEx edit " + text);
		require(unit.render(64), "rendering");
		requireValuesInRange(unit, parameters, "the SysEx edit " + text);
	}
	std::vector<float> saved;
	for (const Parameter& p : parameters)
		saved.push_back(unit.parameter(p.id));
	CFPropertyListRef state = unit.saveState();
	ValidationUnit fresh(c.component);
	const OSStatus restored = fresh.restoreState(state);
	CFRelease(state);
	require(restored, "restoring the state saved after the SysEx edits into a fresh unit");
	require(fresh.prepare(44100, 512), "initialising the fresh unit");
	for (size_t i = 0; i < parameters.size(); ++i)
		require(fresh.parameter(parameters[i].id) == saved[i],
			name(parameters[i].id) + " was " + std::to_string(saved[i]) + " when saved after the SysEx edits and is " +
				std::to_string(fresh.parameter(parameters[i].id)) + " in a fresh unit given that state");
	return std::to_string(trials) + " edits, values in their ranges after each; the state saved then reopens with them";
}
}

std::vector<Check> parameterChecks()
{
	return {
		{3, "parameter records", records},
		{3, "parameter values", values},
		{3, "presets", presets},
		{4, "state", state},
		{4, "SysEx edits", sysexEdits},
		{6, "scheduled parameters", scheduled},
	};
}
