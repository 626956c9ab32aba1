#include "UnitFixture.h"

#include "AUPlugInDispatch.h"

#include <CoreServices/Components.h>

#include <cstring>

namespace
{
// Counts what the base calls around initialisation and destruction.
class ProbeInstrument : public AUInstrumentBase
{
public:
	static inline int s_cleanups = 0;
	static inline int s_destroyed = 0;
	static inline bool s_initializedDuringInitialize = true;
	static inline bool s_buffersDuringInitialize = true;
	static inline bool s_throwInConstructor = false;

	explicit ProbeInstrument(AudioComponentInstance ci) : AUInstrumentBase(ci, 0, 1)
	{
		if (s_throwInConstructor)
			throw static_cast<OSStatus>(kAudioUnitErr_FailedInitialization);
	}
	~ProbeInstrument() override { ++s_destroyed; }
	OSStatus Initialize() override
	{
		s_initializedDuringInitialize = IsInitialized();
		try
		{
			GetOutput(0)->PrepareBuffer(16);
			s_buffersDuringInitialize = true;
		}
		catch (OSStatus)
		{
			s_buffersDuringInitialize = false;
		}
		return AUInstrumentBase::Initialize();
	}
	void Cleanup() override { ++s_cleanups; }
};

AudioComponentPlugInInterface* probeFactory(const AudioComponentDescription* desc)
{
	return static_cast<AudioComponentPlugInInterface*>(AUMusicDeviceFactory<ProbeInstrument>::Factory(desc));
}

AudioComponent probeComponent()
{
	static AudioComponent comp = [] {
		AudioComponentDescription desc = {kAudioUnitType_MusicDevice, 0x50726F62 /*'Prob'*/, 0x56656E7A, 0, 0};
		return AudioComponentRegister(&desc, nullptr, 1, probeFactory);
	}();
	return comp;
}

template <class... Args> ComponentParameters* params(std::vector<long>& storage, SInt16 what, Args... args)
{
	storage.assign(2 + sizeof...(Args), 0);
	auto* p = reinterpret_cast<ComponentParameters*>(storage.data());
	p->what = what;
	p->paramSize = UInt8(sizeof...(Args) * sizeof(long));
	long values[] = {0, long(args)...};
	for (size_t i = 1; i <= sizeof...(Args); ++i)
		p->params[i] = values[i];
	return p;
}
}

class DispatchTest : public UnitFixture
{
};

TEST_F(DispatchTest, FactoryFillsThePlugInBlock)
{
	AudioComponentDescription desc{};
	// The interface is the first member of the block.
	auto* acpi = reinterpret_cast<AudioComponentPlugInInstance*>(auPluginFactory(&desc));
	ASSERT_NE(acpi, nullptr);
	EXPECT_EQ(acpi->mPlugInInterface.Open, &ComponentBase::AP_Open);
	EXPECT_EQ(acpi->mPlugInInterface.Close, &ComponentBase::AP_Close);
	EXPECT_EQ(acpi->mPlugInInterface.Lookup, &AUMusicLookup::Lookup);
	EXPECT_EQ(acpi->mPlugInInterface.reserved, nullptr);
	EXPECT_NE(acpi->mConstruct, nullptr);
	EXPECT_NE(acpi->mDestruct, nullptr);
	EXPECT_EQ(acpi->mPad[0], nullptr);
	EXPECT_EQ(acpi->mPad[1], nullptr);
	std::free(acpi);
}

TEST_F(DispatchTest, MusicLookupKnowsEveryInstrumentSelectorAndNothingElse)
{
	for (int s : std::initializer_list<int>{kAudioUnitInitializeSelect, kAudioUnitUninitializeSelect, kAudioUnitGetPropertyInfoSelect,
			 kAudioUnitGetPropertySelect, kAudioUnitSetPropertySelect, kAudioUnitGetParameterSelect,
			 kAudioUnitSetParameterSelect, kAudioUnitResetSelect, kAudioUnitAddPropertyListenerSelect,
			 kAudioUnitRemovePropertyListenerSelect, kAudioUnitRenderSelect, kAudioUnitAddRenderNotifySelect,
			 kAudioUnitRemoveRenderNotifySelect, kAudioUnitScheduleParametersSelect,
			 kAudioUnitRemovePropertyListenerWithUserDataSelect, kMusicDeviceMIDIEventSelect, kMusicDeviceSysExSelect,
			 kMusicDevicePrepareInstrumentSelect, kMusicDeviceReleaseInstrumentSelect, kMusicDeviceStartNoteSelect,
			 kMusicDeviceStopNoteSelect})
		EXPECT_NE(AUMusicLookup::Lookup(SInt16(s)), nullptr) << s;
	for (int s : {int(kAudioUnitComplexRenderSelect), int(kAudioUnitProcessSelect), int(kAudioUnitProcessMultipleSelect), 0x08,
			 0x0C, 0x107})
		EXPECT_EQ(AUMusicLookup::Lookup(SInt16(s)), nullptr) << s;
	EXPECT_EQ(AUBaseLookup::Lookup(kMusicDeviceMIDIEventSelect), nullptr);
}

TEST_F(DispatchTest, UnknownHandlesAreRefusedAndTheRegisteredCodesAreReported)
{
	EXPECT_EQ(AudioUnitInitialize(nullptr), badComponentInstance);
	auto* bogus = reinterpret_cast<AudioUnit>(&m_sampleTime);
	EXPECT_EQ(AudioUnitReset(bogus, 0, 0), badComponentInstance);
	EXPECT_EQ(AudioComponentInstanceDispose(bogus), badComponentInstance);

	AudioComponentDescription desc{};
	ASSERT_EQ(AudioComponentGetDescription(AudioComponentInstanceGetComponent(m_unit), &desc), noErr);
	EXPECT_EQ(desc.componentSubType, TestInstrument::kSubType);
	AudioComponentDescription any = {kAudioUnitType_MusicDevice, 0, TestInstrument::kManufacturer, 0, 0};
	EXPECT_EQ(AudioComponentFindNext(nullptr, &any), component());
}

TEST_F(DispatchTest, InitializeRunsBeforeBuffersExistAndCloseCleansUp)
{
	ProbeInstrument::s_cleanups = 0;
	ProbeInstrument::s_destroyed = 0;
	AudioUnit unit = nullptr;
	ASSERT_EQ(AudioComponentInstanceNew(probeComponent(), &unit), noErr);
	ASSERT_EQ(AudioUnitInitialize(unit), noErr);
	EXPECT_FALSE(ProbeInstrument::s_initializedDuringInitialize);
	EXPECT_FALSE(ProbeInstrument::s_buffersDuringInitialize);
	EXPECT_EQ(AudioUnitInitialize(unit), noErr); // already initialised: nothing runs again
	ASSERT_EQ(AudioComponentInstanceDispose(unit), noErr);
	EXPECT_EQ(ProbeInstrument::s_cleanups, 1);
	EXPECT_EQ(ProbeInstrument::s_destroyed, 1);
}

TEST_F(DispatchTest, AFailedOpenReturnsTheThrownStatusAndLeavesNothingOpen)
{
	ProbeInstrument::s_throwInConstructor = true;
	AudioUnit unit = reinterpret_cast<AudioUnit>(1);
	EXPECT_EQ(AudioComponentInstanceNew(probeComponent(), &unit), kAudioUnitErr_FailedInitialization);
	EXPECT_EQ(unit, nullptr);
	ProbeInstrument::s_throwInConstructor = false;
}

TEST_F(DispatchTest, ThrownElementLookupsReachTheHostAsStatus)
{
	AudioUnitParameterValue value = 0;
	EXPECT_EQ(AudioUnitGetParameter(m_unit, 0, kAudioUnitScope_Output, 3, &value), kAudioUnitErr_InvalidElement);
	EXPECT_EQ(AudioUnitGetParameter(m_unit, 0, 9, 0, &value), kAudioUnitErr_InvalidScope);
	EXPECT_EQ(AudioUnitGetParameter(m_unit, 7, kAudioUnitScope_Global, 0, &value), kAudioUnitErr_InvalidParameter);
	EXPECT_EQ(AudioUnitGetParameter(m_unit, 0, kAudioUnitScope_Global, 0, nullptr), kAudio_ParamError);
}

TEST_F(DispatchTest, ComponentManagerEntryDispatchesEverySelectorKind)
{
	AudioComponentInstance ci = reinterpret_cast<AudioComponentInstance>(0x1234);
	std::vector<long> storage;
	ComponentParameters* p = params(storage, kComponentOpenSelect);
	p->params[0] = reinterpret_cast<long>(ci);
	ASSERT_EQ(ComponentEntryPoint<ProbeInstrument>::Dispatch(p, nullptr), noErr);
	auto* obj = static_cast<ProbeInstrument*>(GetComponentInstanceStorage(ci));
	ASSERT_NE(obj, nullptr);

	EXPECT_EQ(ComponentEntryPoint<ProbeInstrument>::Dispatch(params(storage, kComponentVersionSelect), obj), 1);
	EXPECT_EQ(ComponentEntryPoint<ProbeInstrument>::Dispatch(params(storage, kComponentCanDoSelect, kMusicDeviceSysExSelect), obj), 1);
	EXPECT_EQ(ComponentEntryPoint<ProbeInstrument>::Dispatch(params(storage, kComponentCanDoSelect, kAudioUnitProcessSelect), obj), 0);
	EXPECT_EQ(ComponentEntryPoint<ProbeInstrument>::Dispatch(params(storage, kMusicDeviceMIDIEventSelect, 0x90, 60, 100, 0), obj),
		kAudioUnitErr_Uninitialized);
	EXPECT_EQ(ComponentEntryPoint<ProbeInstrument>::Dispatch(params(storage, kAudioUnitInitializeSelect), obj), noErr);
	EXPECT_EQ(ComponentEntryPoint<ProbeInstrument>::Dispatch(params(storage, kMusicDeviceMIDIEventSelect, 0x90, 60, 100, 0), obj), noErr);

	UInt32 frames = 0, size = sizeof frames;
	EXPECT_EQ(ComponentEntryPoint<ProbeInstrument>::Dispatch(params(storage, kAudioUnitGetPropertySelect,
				  kAudioUnitProperty_MaximumFramesPerSlice, 0, 0, &frames, &size),
				  obj),
		noErr);
	EXPECT_EQ(frames, 1156u);
	EXPECT_EQ(ComponentEntryPoint<ProbeInstrument>::Dispatch(params(storage, kAudioUnitGetPropertySelect,
				  kAudioUnitProperty_MaximumFramesPerSlice, 0, 0, &frames, nullptr),
				  obj),
		kAudio_ParamError);
	EXPECT_EQ(ComponentEntryPoint<ProbeInstrument>::Dispatch(params(storage, 0x7777), obj), badComponentSelector);
	ProbeInstrument::s_destroyed = 0;
	EXPECT_EQ(ComponentEntryPoint<ProbeInstrument>::Dispatch(params(storage, kComponentCloseSelect), obj), noErr);
	EXPECT_EQ(ProbeInstrument::s_destroyed, 1);
	SetComponentInstanceStorage(ci, nullptr);
}

TEST_F(DispatchTest, OpeningAndClosingManyTimesLeaksNothing)
{
	const long objects = cf::liveObjectCount();
	for (int i = 0; i < 100; ++i)
	{
		AudioUnit unit = nullptr;
		ASSERT_EQ(AudioComponentInstanceNew(component(), &unit), noErr);
		if (i % 2)
		{
			ASSERT_EQ(AudioUnitInitialize(unit), noErr); // closing while initialised cleans up first
		}
		ASSERT_EQ(AudioComponentInstanceDispose(unit), noErr);
	}
	EXPECT_EQ(cf::liveObjectCount(), objects);
}

TEST_F(DispatchTest, NoteAndLifecycleSelectorsReachTheInstrument)
{
	ASSERT_EQ(AudioUnitInitialize(m_unit), noErr);
	MusicDeviceNoteParams params{2, 60, 100, {}};
	NoteInstanceID id = 0;
	EXPECT_EQ(MusicDeviceStartNote(m_unit, kMusicNoteEvent_UseGroupInstrument, 0, nullptr, 0, &params), kAudio_ParamError);
	EXPECT_EQ(MusicDeviceStartNote(m_unit, kMusicNoteEvent_UseGroupInstrument, 0, &id, 0, nullptr), kAudio_ParamError);
	ASSERT_EQ(MusicDeviceStartNote(m_unit, kMusicNoteEvent_UseGroupInstrument, 0, &id, 0, &params), noErr);
	EXPECT_EQ(id, 128u); // the instrument base numbers notes from 128 after each initialisation
	EXPECT_EQ(MusicDeviceStopNote(m_unit, 0, id, 0), noErr);

	ASSERT_EQ(AudioUnitUninitialize(m_unit), noErr);
	std::vector<float> l, r;
	EXPECT_EQ(render(16, l, r), kAudioUnitErr_Uninitialized);
	EXPECT_EQ(MusicDeviceMIDIEvent(m_unit, 0x90, 60, 1, 0), kAudioUnitErr_Uninitialized);
	ASSERT_EQ(AudioUnitInitialize(m_unit), noErr);
	EXPECT_EQ(render(16, l, r), noErr);
}
