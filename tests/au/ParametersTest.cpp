#include "AuHost.h"

#include "LogCapture.h"
#include "synth/CParam.h"

#include <algorithm>
#include <sstream>

using namespace auhost;

namespace
{
class Parameters : public AuTest
{
};
}

TEST_F(Parameters, ListIsEmptyUntilInitialised)
{
	Instance instance;
	UInt32 size = 99;
	Boolean writable = true;
	ASSERT_EQ(AudioUnitGetPropertyInfo(instance.unit(), kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0, &size,
				  &writable),
		noErr);
	EXPECT_EQ(size, 0u);

	ASSERT_EQ(instance.initialize(), noErr);
	ASSERT_EQ(AudioUnitGetPropertyInfo(instance.unit(), kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0, &size,
				  &writable),
		noErr);
	ASSERT_EQ(size, 109 * sizeof(AudioUnitParameterID));
	std::vector<AudioUnitParameterID> ids(109, 999);
	ASSERT_EQ(AudioUnitGetProperty(
				  instance.unit(), kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0, ids.data(), &size),
		noErr);
	for (AudioUnitParameterID id = 0; id < 109; ++id)
		EXPECT_EQ(ids[id], id);

	ASSERT_EQ(AudioUnitGetPropertyInfo(instance.unit(), kAudioUnitProperty_ParameterList, kAudioUnitScope_Output, 0, &size,
				  &writable),
		noErr);
	EXPECT_EQ(size, 0u) << "every parameter lives in the Global scope";
}

TEST_F(Parameters, InfoDescribesNormalisedValuesWithTheTablesNames)
{
	Instance instance;
	AudioUnitParameterInfo info{};
	UInt32 size = sizeof info;
	// The parameter ID travels in the element argument.
	EXPECT_EQ(AudioUnitGetProperty(instance.unit(), kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global, 10, &info, &size),
		kAudioUnitErr_Uninitialized);
	ASSERT_EQ(instance.initialize(), noErr);

	for (AudioUnitParameterID id : {0u, 10u, 39u, 107u, 108u})
	{
		AudioUnitParameterInfo info{};
		UInt32 size = sizeof info;
		ASSERT_EQ(AudioUnitGetProperty(
					  instance.unit(), kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global, id, &info, &size),
			noErr);
		const zentlib::CParam& record = zentlib::g_params[id];
		const std::string name = record.group + record.name;
		EXPECT_EQ(std::string(info.name), name);
		EXPECT_EQ(toString(info.cfNameString), name);
		CFRelease(info.cfNameString);
		EXPECT_EQ(info.unit, kAudioUnitParameterUnit_Generic);
		EXPECT_EQ(info.minValue, 0.f);
		EXPECT_EQ(info.maxValue, 1.f);
		EXPECT_EQ(info.defaultValue, 0.f);
		EXPECT_EQ(info.flags, 0xC8200010u);
	}
	size = sizeof info;
	EXPECT_EQ(AudioUnitGetProperty(instance.unit(), kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global, 109, &info, &size),
		kAudioUnitErr_InvalidParameter);
	size = sizeof info;
	EXPECT_EQ(AudioUnitGetProperty(instance.unit(), kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Output, 10, &info, &size),
		kAudioUnitErr_InvalidParameter);
}

TEST_F(Parameters, ValuesAreCheckedStoredAndLogged)
{
	Instance instance;
	const AudioUnit unit = instance.unit();
	AudioUnitParameterValue value = 0;
	EXPECT_EQ(AudioUnitGetParameter(unit, 10, kAudioUnitScope_Global, 0, &value), kAudioUnitErr_Uninitialized);
	EXPECT_EQ(AudioUnitSetParameter(unit, 10, kAudioUnitScope_Global, 0, 0.5f, 0), kAudioUnitErr_Uninitialized);
	EXPECT_EQ(AudioUnitGetParameter(unit, 109, kAudioUnitScope_Global, 0, &value), kAudioUnitErr_InvalidParameter);
	ASSERT_EQ(instance.initialize(), noErr);
	EXPECT_EQ(AudioUnitGetParameter(unit, 109, kAudioUnitScope_Global, 0, &value), kAudioUnitErr_InvalidParameter);
	EXPECT_EQ(AudioUnitGetParameter(unit, 10, kAudioUnitScope_Output, 0, &value), kAudioUnitErr_InvalidParameter);
	EXPECT_EQ(AudioUnitSetParameter(unit, 109, kAudioUnitScope_Global, 0, 0.5f, 0), kAudioUnitErr_InvalidParameter);
	EXPECT_EQ(AudioUnitSetParameter(unit, 10, kAudioUnitScope_Input, 0, 0.5f, 0), kAudioUnitErr_InvalidParameter);
	// The global scope has element 0 only.
	EXPECT_EQ(AudioUnitSetParameter(unit, 10, kAudioUnitScope_Global, 5, 0.5f, 0), kAudioUnitErr_InvalidElement);
	EXPECT_NE(instance.parameter(10), 0.5f);

	std::vector<std::string> texts;
	const float current = instance.parameter(5);
	{
		LogCapture log;
		EXPECT_EQ(AudioUnitSetParameter(unit, 10, kAudioUnitScope_Global, 0, 0.25f, 0), noErr);
		EXPECT_EQ(AudioUnitSetParameter(unit, 5, kAudioUnitScope_Global, 0, current, 0), noErr);
		texts = log.texts();
	}
	std::ostringstream currentText;
	currentText << current;
	EXPECT_EQ(texts,
		(std::vector<std::string>{"AU: SetParameter 10 to 0.25", "AU: SetParameter 5 to " + currentText.str()}));
	EXPECT_EQ(instance.parameter(10), 0.25f);
	EXPECT_EQ(instance.parameter(5), current);
	EXPECT_EQ(instance.parameterText(10), zentlib::g_params[10].formatValue(zentlib::Param_Volume,
											  0.25f * zentlib::g_params[10].range + zentlib::g_params[10].min));
}

TEST_F(Parameters, DisplayTextsForCurrentAndGivenValues)
{
	Instance instance;
	AudioUnitParameterStringFromValue request{};
	request.inParamID = 10;
	UInt32 size = sizeof request;
	EXPECT_EQ(AudioUnitGetProperty(instance.unit(), kAudioUnitProperty_ParameterStringFromValue, kAudioUnitScope_Global, 0,
				  &request, &size),
		kAudioUnitErr_Uninitialized);
	ASSERT_EQ(instance.initialize(), noErr);

	for (AudioUnitParameterID id : {10u, 20u, 39u, 107u})
	{
		const auto p = static_cast<zentlib::EParam>(id);
		const zentlib::CParam& record = zentlib::g_params[id];
		const float zero = 0.f;
		EXPECT_EQ(instance.parameterText(id, &zero), record.formatValue(p, record.min));
		const float one = 1.f;
		EXPECT_EQ(instance.parameterText(id, &one), record.formatValue(p, record.max));
		EXPECT_EQ(instance.parameterText(id), record.formatValue(p, instance.parameter(id) * record.range + record.min));
	}
	request.inParamID = 109;
	size = sizeof request;
	EXPECT_EQ(AudioUnitGetProperty(instance.unit(), kAudioUnitProperty_ParameterStringFromValue, kAudioUnitScope_Global, 0,
				  &request, &size),
		kAudioUnitErr_InvalidParameter);
}

TEST_F(Parameters, ProgramChangeTellsTheHostOfEveryChangedValue)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	std::vector<AudioUnitParameterID> all(109);
	for (AudioUnitParameterID id = 0; id < 109; ++id)
		all[id] = id;
	ParameterEvents events(instance.unit(), all);

	std::vector<float> before(109);
	for (AudioUnitParameterID id = 0; id < 109; ++id)
		before[id] = instance.parameter(id);
	ASSERT_EQ(instance.midi(0xC0, 17, 0), noErr);
	std::vector<float> left, right;
	ASSERT_EQ(instance.render(512, left, right), noErr);
	ParameterEvents::runLoop();

	std::vector<ParameterEvents::Event> expected;
	for (AudioUnitParameterID id = 0; id < 109; ++id)
		if (instance.parameter(id) != before[id])
			for (AudioUnitEventType type : {kAudioUnitEvent_BeginParameterChangeGesture,
					 kAudioUnitEvent_ParameterValueChange, kAudioUnitEvent_EndParameterChangeGesture})
				expected.push_back({type, id});
	ASSERT_GT(expected.size(), 3u);
	EXPECT_EQ(events.received, expected);
}

TEST_F(Parameters, CustomPropertiesHandOutTheFacadeOnceItExists)
{
	Instance instance;
	const AudioUnit unit = instance.unit();
	UInt32 size = 0;
	Boolean writable = true;
	ASSERT_EQ(AudioUnitGetPropertyInfo(unit, 70000, kAudioUnitScope_Global, 0, &size, &writable), noErr);
	EXPECT_EQ(size, 8u);
	EXPECT_FALSE(writable);
	EXPECT_EQ(AudioUnitGetPropertyInfo(unit, 70001, kAudioUnitScope_Global, 0, &size, &writable), kAudioUnitErr_Uninitialized)
		<< "offered only once there is an editor owner to hand out";
	EXPECT_EQ(AudioUnitGetPropertyInfo(unit, 70000, kAudioUnitScope_Output, 0, &size, &writable),
		kAudioUnitErr_InvalidProperty);

	void* facade = reinterpret_cast<void*>(1);
	size = sizeof facade;
	ASSERT_EQ(AudioUnitGetProperty(unit, 70000, kAudioUnitScope_Global, 0, &facade, &size), noErr);
	EXPECT_EQ(facade, nullptr);
	void* editor = nullptr;
	size = sizeof editor;
	EXPECT_EQ(AudioUnitGetProperty(unit, 70001, kAudioUnitScope_Global, 0, &editor, &size), kAudioUnitErr_Uninitialized)
		<< "no editor owner without the facade it is built around";

	ASSERT_EQ(instance.initialize(), noErr);
	size = sizeof facade;
	ASSERT_EQ(AudioUnitGetProperty(unit, 70000, kAudioUnitScope_Global, 0, &facade, &size), noErr);
	EXPECT_NE(facade, nullptr);
	void* again = nullptr;
	ASSERT_EQ(AudioUnitGetProperty(unit, 70000, kAudioUnitScope_Global, 0, &again, &size), noErr);
	EXPECT_EQ(again, facade);
}

TEST_F(Parameters, MidiOutputPropertiesAndLogTexts)
{
	Instance instance;
	const AudioUnit unit = instance.unit();
	std::vector<std::string> texts;
	{
		LogCapture log;
		UInt32 size = 0;
		Boolean writable = true;
		EXPECT_EQ(AudioUnitGetPropertyInfo(unit, kAudioUnitProperty_MIDIOutputCallbackInfo, kAudioUnitScope_Global, 0,
					  &size, &writable),
			noErr);
		EXPECT_EQ(size, 8u);
		EXPECT_FALSE(writable);
		EXPECT_EQ(AudioUnitGetPropertyInfo(unit, kAudioUnitProperty_MIDIOutputCallback, kAudioUnitScope_Global, 0, &size,
					  &writable),
			noErr);
		EXPECT_EQ(size, 16u);
		EXPECT_TRUE(writable);

		CFArrayRef outputs = nullptr;
		size = sizeof outputs;
		EXPECT_EQ(AudioUnitGetProperty(
					  unit, kAudioUnitProperty_MIDIOutputCallbackInfo, kAudioUnitScope_Global, 0, &outputs, &size),
			noErr);
		ASSERT_NE(outputs, nullptr);
		ASSERT_EQ(CFArrayGetCount(outputs), 1);
		EXPECT_EQ(toString(static_cast<CFStringRef>(CFArrayGetValueAtIndex(outputs, 0))), "MIDI Out");
		CFRelease(outputs);

		AUMIDIOutputCallbackStruct callback = {MidiOutCapture::callback, nullptr};
		EXPECT_EQ(AudioUnitSetProperty(unit, kAudioUnitProperty_MIDIOutputCallback, kAudioUnitScope_Global, 0, &callback, 8),
			kAudioUnitErr_InvalidPropertyValue);
		EXPECT_EQ(AudioUnitSetProperty(unit, kAudioUnitProperty_MIDIOutputCallback, kAudioUnitScope_Global, 0, &callback,
					  sizeof callback),
			noErr);
		texts = log.texts();
	}
	EXPECT_EQ(texts, (std::vector<std::string>{"AU: GetPropertyInfo 47, scope 0",
						 "AU: GetPropertyInfo kAudioUnitProperty_MIDIOutputCallbackInfo", "AU: GetPropertyInfo 48, scope 0",
						 "AU: GetPropertyInfo kAudioUnitProperty_MIDIOutputCallback", "AU: GetPropertyInfo 47, scope 0",
						 "AU: GetPropertyInfo kAudioUnitProperty_MIDIOutputCallbackInfo", "AU: GetProperty 47, scope 0", "AU: GetProperty kAudioUnitProperty_MIDIOutputCallbackInfo",
						 "We've got a MIDI callback to send midi data"}));
}

TEST_F(Parameters, NoCarbonViewIsOffered)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	EXPECT_EQ(AudioUnitGetPropertyInfo(instance.unit(), kAudioUnitProperty_GetUIComponentList, kAudioUnitScope_Global, 0,
				  nullptr, nullptr),
		kAudioUnitErr_InvalidProperty);
}
