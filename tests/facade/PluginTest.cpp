#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <functional>

#include "FacadeTestSupport.h"
#include "LogCapture.h"
#include "synth/Sysex.h"

using namespace zentlib;

namespace
{
// Construction logs the factory banks' two reduced wheel modes.
std::unique_ptr<Plugin> quietPlugin(IPluginListener& listener)
{
	LogCapture quiet;
	return makePlugin(listener);
}

class PluginFacade : public ::testing::Test
{
protected:
	void SetUp() override { plugin = quietPlugin(listener); }

	// What updateParametersFromEngine should report to the editor ("E") or the host ("L") for the cache as it
	// was before an event.
	std::vector<std::string> parameterReports(const std::vector<float>& cacheBefore, const std::string& to)
	{
		std::vector<std::string> expected;
		const std::vector<float> engine = engineParameters(*plugin);
		for (uint32_t p = 0; p < ParamCount; ++p)
			if (engine[p] != cacheBefore[p])
				expected.push_back(to + " param " + std::to_string(p));
		return expected;
	}

	// The editor hears of an event at once; the host hears of the parameters after the other calls, once
	// the engine lock is released.
	std::vector<std::string> reportsAround(const std::vector<float>& cacheBefore, const std::vector<std::string>& calls)
	{
		std::vector<std::string> expected = parameterReports(cacheBefore, "E");
		expected.insert(expected.end(), calls.begin(), calls.end());
		const std::vector<std::string> host = parameterReports(cacheBefore, "L");
		expected.insert(expected.end(), host.begin(), host.end());
		return expected;
	}

	std::vector<std::string> take()
	{
		auto entries = journal.entries();
		journal.clear();
		return entries;
	}

	SinglePreset single(size_t index)
	{
		SinglePreset out;
		EXPECT_TRUE(plugin->getSingle(out, index));
		return out;
	}

	static void setName(SinglePreset& preset, const char* name)
	{
		std::memset(preset.name, ' ', 10);
		std::memcpy(preset.name, name, std::min<size_t>(std::strlen(name), 10));
	}

	CallJournal journal;
	RecordingListener listener{journal};
	RecordingEditor editor{journal};
	std::unique_ptr<Plugin> plugin;
};

using Entries = std::vector<std::string>;

std::vector<uint8_t> oneSingleDump(const SinglePreset& preset)
{
	std::vector<uint8_t> bytes;
	EXPECT_TRUE(Sysex::writeSingle(bytes, preset, 0, StorageLocation::InternalLow, 0));
	return bytes;
}

SinglePreset parsedSingle(const std::vector<uint8_t>& bytes)
{
	Sysex::SysexResult result;
	Sysex::readBuffer(result, bytes, 255);
	EXPECT_FALSE(result.singles.empty());
	return result.singles.empty() ? SinglePreset{} : result.singles.front();
}
}

TEST(PluginConstruction, CacheStartsAtTheEngineValuesWithoutAnnouncing)
{
	CallJournal journal;
	RecordingListener listener(journal);
	std::unique_ptr<Plugin> plugin;
	{
		LogCapture quiet;
		plugin = std::make_unique<Plugin>(&listener);
	}
	EXPECT_TRUE(journal.entries().empty());
	EXPECT_EQ(cachedParameters(*plugin), engineParameters(*plugin));
	EXPECT_EQ(plugin->getSingleCount(), 768u);
	EXPECT_EQ(plugin->getCurrentSingleIndex(), 0u);
}

TEST_F(PluginFacade, SetParameterUpdatesCacheAndEngineAndCallsOnlyTheEditor)
{
	plugin->setEditor(&editor);
	const EParam p = Param_PolyMode;
	const float cached = plugin->getParameter(p);
	std::vector<uint8_t> before, after;
	plugin->getState(before);
	take();

	EXPECT_FALSE(plugin->setParameter(p, cached));
	EXPECT_TRUE(take().empty());
	plugin->getState(after);
	EXPECT_EQ(after, before) << "an unchanged value leaves the engine alone";
	take();

	const float value = cached == 1.0f ? 0.0f : 1.0f;
	EXPECT_TRUE(plugin->setParameter(p, value));
	EXPECT_EQ(take(), Entries{"E param " + std::to_string(p)}) << "the editor hears back before the call returns";
	EXPECT_EQ(plugin->getParameter(p), value);
	EXPECT_EQ(engineParameters(*plugin)[p], value);
	// The display follows the cache at once, before any block has rendered.
	EXPECT_EQ(plugin->getParameterDisplay(p), value == 1.0f ? "Solo" : "Poly 1");
}

TEST_F(PluginFacade, NamesAndLabelsComeFromTheParameterTable)
{
	EXPECT_EQ(plugin->getParameterName(Param_Volume), "CommonVolume");
	EXPECT_EQ(plugin->getParameterName(Param_PolyMode), "CommonPoly Mode");
	EXPECT_EQ(plugin->getParameterName(Param_SourceMix12), "Mix 1/2");
	EXPECT_EQ(plugin->getParameterLabel(Param_Volume), g_params[Param_Volume].getUnitLabel());
}

TEST_F(PluginFacade, ProgramChangeReportsEachChangedParameterThenTheHostThenTheEditor)
{
	plugin->setEditor(&editor);
	const std::vector<float> cacheBefore = cachedParameters(*plugin);
	take();

	ASSERT_TRUE(plugin->setCurrentSingleIndex(100));
	const Entries entries = take();
	ASSERT_GT(parameterReports(cacheBefore, "L").size(), 4u) << "single 100 should differ from single 0 in several parameters";
	EXPECT_EQ(entries, reportsAround(cacheBefore, {"L program 100", "E program 100"}));
	EXPECT_EQ(cachedParameters(*plugin), engineParameters(*plugin));
	take();

	EXPECT_TRUE(plugin->setCurrentSingleIndex(100)) << "already current";
	EXPECT_FALSE(plugin->setCurrentSingleIndex(768));
	EXPECT_TRUE(take().empty());
	EXPECT_EQ(plugin->getCurrentSingleIndex(), 100u);
}

TEST_F(PluginFacade, MidiProgramChangeIsAnnouncedFromTheRenderCallAndMayCallBack)
{
	// The editor reads the facade while it is told, as a real editor refreshes its views.
	struct ReadingEditor : RecordingEditor
	{
		using RecordingEditor::RecordingEditor;
		void onActiveProgramChanged(size_t index) override
		{
			RecordingEditor::onActiveProgramChanged(index);
			seenIndex = plugin->getCurrentSingleIndex();
			seenName = std::string(plugin->getCurrentSingle().name, 10);
			seenParameter = plugin->getParameter(Param_Volume);
		}
		Plugin* plugin = nullptr;
		size_t seenIndex = 0;
		std::string seenName;
		float seenParameter = -1.0f;
	};
	ReadingEditor reader(journal);
	reader.plugin = plugin.get();
	plugin->setEditor(&reader);
	const std::vector<float> cacheBefore = cachedParameters(*plugin);
	take();

	plugin->addMidiEvent(midiEvent(0xC0, 5, 0, 10));
	EXPECT_TRUE(take().empty()) << "nothing happens before the block renders";
	{
		LogCapture quiet;
		renderBlock(*plugin);
	}
	const Entries entries = take();
	EXPECT_EQ(entries, reportsAround(cacheBefore, {"L program 5", "E program 5"}));
	EXPECT_EQ(reader.seenIndex, 5u);
	EXPECT_EQ(reader.seenName, std::string(single(5).name, 10));
	EXPECT_EQ(reader.seenParameter, engineParameters(*plugin)[Param_Volume]);
}

TEST_F(PluginFacade, StoreChangesReachTheEditorBeforeTheHost)
{
	plugin->setEditor(&editor);
	SinglePreset other = single(200);
	setName(other, "Other");
	take();

	EXPECT_TRUE(plugin->setSingle(5, other));
	EXPECT_EQ(take(), (Entries{"E single 5", "L single 5"}));

	EXPECT_TRUE(plugin->setSingles(10, {other, other}));
	EXPECT_EQ(take(), (Entries{"E singles 10 2", "L singles 10 2"}));

	// Replacing the current single pushes its parameters first.
	const std::vector<float> cacheBefore = cachedParameters(*plugin);
	ASSERT_TRUE(plugin->setSingle(0, other));
	const Entries entries = take();
	ASSERT_FALSE(parameterReports(cacheBefore, "L").empty());
	EXPECT_EQ(entries, reportsAround(cacheBefore, {"E active 0", "L active 0", "E single 0", "L single 0"}));
	take();

	plugin->setCurrentSingleName("Renamed");
	EXPECT_EQ(take(), (Entries{"E active 0", "L active 0"}));
	EXPECT_EQ(std::string(plugin->getCurrentSingle().name, 10), "Renamed   ");

	plugin->setEditor(nullptr);
	EXPECT_TRUE(plugin->setSingle(6, other));
	EXPECT_TRUE(plugin->setSingles(20, {other}));
	plugin->setCurrentSingleName("Again");
	EXPECT_EQ(take(), (Entries{"L single 6", "L singles 20 1", "L active 0"})) << "a cleared editor hears nothing";

	EXPECT_TRUE(plugin->isSingleModified(6));
	EXPECT_TRUE(plugin->restoreFactorySingle(6));
	EXPECT_FALSE(plugin->isSingleModified(6));
	EXPECT_TRUE(plugin->getFactorySingle(6) == single(6));
}

TEST_F(PluginFacade, OutgoingMidiAndCustomDataGoOnlyToTheHost)
{
	plugin->setEditor(&editor);
	take();
	EXPECT_TRUE(plugin->sendParameterChangeAsSysex(Param_Volume, 1.0f));
	EXPECT_FALSE(plugin->sendParameterChangeAsSysex(Param_SourceMix12, 1.0f));
	EXPECT_EQ(take(), Entries{"L midi"});
	ASSERT_EQ(listener.sent().size(), 1u);
	EXPECT_EQ(listener.sent()[0].size(), 10u);

	listener.customOut = {1, 2, 3};
	std::vector<uint8_t> state;
	EXPECT_TRUE(plugin->getState(state));
	EXPECT_EQ(take(), Entries{"L serialize"});
	EXPECT_EQ(state.size(), 68308u + 3u);

	CallJournal otherJournal;
	RecordingListener otherListener(otherJournal);
	RecordingEditor otherEditor(otherJournal);
	auto restored = quietPlugin(otherListener);
	restored->setEditor(&otherEditor);
	{
		LogCapture quiet;
		EXPECT_TRUE(restored->setState(state));
	}
	EXPECT_EQ(otherListener.customIn, (std::vector<uint8_t>{1, 2, 3}));
	const Entries entries = otherJournal.entries();
	ASSERT_GE(entries.size(), 3u);
	EXPECT_EQ(entries.front(), "L deserialize");
	EXPECT_NE(std::find(entries.begin(), entries.end(), "L program 0"), entries.end());
}

// A SysEx edit of one parameter arriving while the host's values glide, at once or 30 ms on, leaves them
// where the host sent them: the glides go on to their targets, and a save holds the host's values.
TEST_F(PluginFacade, ASysexEditKeepsTheHostsValuesInFlight)
{
	for (const size_t framesBefore : {size_t{0}, size_t{1323}})
	{
		plugin = quietPlugin(listener);
		ASSERT_TRUE(plugin->setParameter(Param_Volume, 0.41f));
		ASSERT_TRUE(plugin->setParameter(Param_SourceS1Fine, 0.7f));
		if (framesBefore > 0)
			renderBlock(*plugin, framesBefore);
		plugin->addMidiEvent(sysexEvent({0xF0, 0x40, 0x00, 0x10, 0x00, 0x03, 0x23, 0x00, 0x05, 0xF7}));
		renderBlock(*plugin, 8820);
		const std::vector<float> saved = engineParameters(*plugin);
		EXPECT_EQ(saved[Param_Volume], 0.41f) << framesBefore;
		EXPECT_EQ(saved[Param_SourceS1Fine], 0.7f) << framesBefore;
		const SinglePreset current = plugin->getCurrentSingle();
		EXPECT_EQ(std::vector<int>({current.volume, int(current.sources[0].fine), current.sources[0].wave}),
		          std::vector<int>({41, 70, 5})) << "42 stored less one, +20 stored plus 50";
	}
}

// Bytes below the blank may stand in a dumped name; what one instance then sends for its name place by place,
// another takes, so the two hold the same name.
TEST_F(PluginFacade, AnotherInstanceTakesTheNameThisOneEchoes)
{
	const char name[NameLength] = {'\x01', 'B', '\x1F', 'a', '\x09', 's', '\x10', 's', '\x02', '\x7F'};
	SinglePreset preset = single(0);
	std::memcpy(preset.name, name, NameLength);
	plugin->addMidiEvent(sysexEvent(oneSingleDump(preset)));
	renderBlock(*plugin);
	listener.clearSent();
	for (uint32_t p = Param_Name01; p <= Param_Name10; ++p)
		plugin->sendParameterChangeAsSysex(static_cast<EParam>(p), plugin->getParameter(static_cast<EParam>(p)));

	auto other = quietPlugin(listener);
	for (const std::vector<uint8_t>& message : listener.sent())
		other->addMidiEvent(sysexEvent(message));
	renderBlock(*other);
	EXPECT_EQ(std::string(other->getCurrentSingle().name, NameLength), std::string(name, NameLength));
}

TEST_F(PluginFacade, RestoredStateReachesTheCache)
{
	// The saved values are applied after the switch to the saved single; the host reads them
	// from the cache, so the cache has to follow.
	EXPECT_TRUE(plugin->setParameter(Param_SourceMix12, 0.25f));
	EXPECT_TRUE(plugin->setParameter(Param_SourceMix34, 1.0f));
	{
		LogCapture quiet;
		EXPECT_TRUE(plugin->setCurrentSingleIndex(300));
	}
	std::vector<uint8_t> state;
	plugin->getState(state);

	CallJournal otherJournal;
	RecordingListener otherListener(otherJournal);
	RecordingEditor otherEditor(otherJournal);
	auto restored = quietPlugin(otherListener);
	restored->setEditor(&otherEditor);
	{
		LogCapture quiet;
		EXPECT_TRUE(restored->setState(state));
	}
	EXPECT_EQ(restored->getCurrentSingleIndex(), 300u);
	EXPECT_EQ(restored->getParameter(Param_SourceMix12), 0.25f);
	EXPECT_EQ(restored->getParameter(Param_SourceMix34), 1.0f);
	EXPECT_EQ(cachedParameters(*restored), engineParameters(*restored));
	const Entries entries = otherJournal.entries();
	const auto program = std::find(entries.begin(), entries.end(), "L program 300");
	ASSERT_NE(program, entries.end());
	const Entries tail(program + 1, entries.end());
	ASSERT_GE(tail.size(), 6u);
	EXPECT_EQ(Entries(tail.begin(), tail.begin() + 3), (Entries{"E program 300", "E param 107", "E param 108"}));
	EXPECT_EQ(Entries(tail.end() - 3, tail.end()), (Entries{"L param 107", "L param 108", "L serialize"}))
		<< "the host hears of the parameters once the state is in";
}

// Automation curves end on -0; kept as such it would be saved with its sign and restored without it.
TEST_F(PluginFacade, AZeroFromAutomationIsSavedAsZero)
{
	for (const EParam p : {Param_PolyMode, Param_SourceS2Mute, Param_SourceS4VibABend})
	{
		EXPECT_TRUE(plugin->setParameter(p, 0.46f));
		EXPECT_TRUE(plugin->setParameter(p, -0.0f));
		EXPECT_FALSE(std::signbit(plugin->getParameter(p)));
	}
	std::vector<uint8_t> state, again;
	plugin->getState(state);
	auto restored = quietPlugin(listener);
	{
		LogCapture quiet;
		ASSERT_TRUE(restored->setState(state));
	}
	restored->getState(again);
	EXPECT_EQ(again, state);
}

// Hosts and their automation lanes expect every value inside its range, the name characters included.
TEST_F(PluginFacade, EveryFactorySingleGivesValuesInsideTheirRanges)
{
	for (size_t index = 0; index < plugin->getSingleCount(); ++index)
	{
		{
			LogCapture quiet;
			plugin->setCurrentSingleIndex(index);
		}
		ASSERT_EQ(plugin->getCurrentSingleIndex(), index);
		for (uint32_t p = 0; p < ParamCount; ++p)
		{
			const float value = plugin->getParameter(static_cast<EParam>(p));
			ASSERT_TRUE(value >= 0.0f && value <= 1.0f) << "single " << index << ", parameter " << p << ": " << value;
		}
	}
}

TEST_F(PluginFacade, RefusedStatesChangeNothing)
{
	std::vector<uint8_t> before, after;
	plugin->getState(before);
	take();
	EXPECT_FALSE(plugin->setState({}));
	std::vector<uint8_t> version3 = before;
	version3[0] = 3;
	{
		LogCapture log;
		EXPECT_FALSE(plugin->setState(version3));
		EXPECT_EQ(log.texts(), std::vector<std::string>{"Unable to restore state, unknown version number 3"});
	}
	EXPECT_TRUE(take().empty());
	plugin->getState(after);
	EXPECT_EQ(after, before);
}

TEST_F(PluginFacade, SearchIgnoresCaseAndKeepsIndexOrder)
{
	SinglePreset a = single(3);
	setName(a, "bRaSs Lead");
	SinglePreset b = single(700);
	setName(b, "BRASSY");
	plugin->setSingle(3, a);
	plugin->setSingle(700, b);

	auto bruteForce = [&](std::string needle) {
		for (char& c : needle)
			c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
		std::vector<size_t> found;
		for (size_t i = 0; i < plugin->getSingleCount(); ++i)
		{
			const SinglePreset s = single(i);
			std::string name(s.name, strnlen(s.name, sizeof(s.name)));
			for (char& c : name)
				c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
			if (name.find(needle) != std::string::npos)
				found.push_back(i);
		}
		return found;
	};

	std::vector<size_t> out{42, 43};
	for (const char* text : {"BRASS", "brass", "bRASS l"})
	{
		EXPECT_TRUE(plugin->searchSingles(out, text, 768));
		EXPECT_EQ(out, bruteForce(text)) << text;
		EXPECT_NE(std::find(out.begin(), out.end(), 3u), out.end()) << text;
	}
	EXPECT_TRUE(plugin->searchSingles(out, "rassy", 768));
	EXPECT_NE(std::find(out.begin(), out.end(), 700u), out.end()) << "the search runs to the end of the store";

	EXPECT_TRUE(plugin->searchSingles(out, "brass", 1));
	EXPECT_EQ(out, std::vector<size_t>{bruteForce("brass").front()});

	EXPECT_TRUE(plugin->searchSingles(out, "", 768));
	ASSERT_EQ(out.size(), 768u);
	for (size_t i = 0; i < out.size(); ++i)
		ASSERT_EQ(out[i], i);
	EXPECT_TRUE(plugin->searchSingles(out, "", 5));
	EXPECT_EQ(out, (std::vector<size_t>{0, 1, 2, 3, 4}));

	EXPECT_FALSE(plugin->searchSingles(out, "bRaSs Lead!", 768)) << "longer than any name";
	EXPECT_TRUE(out.empty());
}

TEST_F(PluginFacade, SinglesAsBytes)
{
	SinglePreset record = single(1);
	const SinglePreset kept = record;
	EXPECT_FALSE(plugin->getSingle(record, 768));
	EXPECT_TRUE(record == kept);
	std::vector<uint8_t> bytes{1, 2, 3};
	EXPECT_FALSE(plugin->getSingle(bytes, 768));
	EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 2, 3}));

	// Any single goes out addressed as internal single 0 on channel 0.
	ASSERT_TRUE(plugin->getSingle(bytes, 100));
	ASSERT_EQ(bytes.size(), 97u);
	EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 8),
	          (std::vector<uint8_t>{0xF0, 0x40, 0x00, 0x20, 0x00, 0x03, 0x00, 0x00}));
	EXPECT_EQ(bytes.back(), 0xF7);
	EXPECT_EQ(bytes, oneSingleDump(single(100)));

	std::vector<uint8_t> current;
	ASSERT_TRUE(plugin->getCurrentSingle(current));
	EXPECT_EQ(current, oneSingleDump(single(0)));

	// Two dumps: only the first lands, at the index given rather than the one in the message.
	std::vector<uint8_t> two = oneSingleDump(single(100));
	const std::vector<uint8_t> second = oneSingleDump(single(200));
	two.insert(two.end(), second.begin(), second.end());
	const SinglePreset eighth = single(8);
	take();
	EXPECT_TRUE(plugin->setSingle(two, 7));
	EXPECT_TRUE(single(7) == parsedSingle(oneSingleDump(single(100))));
	EXPECT_TRUE(single(8) == eighth);
	EXPECT_EQ(take(), (Entries{"L single 7"}));

	EXPECT_FALSE(plugin->setSingle(std::vector<uint8_t>{}, 7));
	std::vector<uint8_t> request;
	Sysex::writeMachineIdRequest(request, 0);
	{
		LogCapture quiet;
		EXPECT_FALSE(plugin->setSingle(request, 7)) << "no single in the bytes";
	}
	EXPECT_FALSE(plugin->setSingle(second, 768));

	EXPECT_TRUE(plugin->setCurrentSingle(second));
	EXPECT_TRUE(plugin->getCurrentSingle() == parsedSingle(second));
	EXPECT_EQ(plugin->getCurrentSingleIndex(), 0u);
}

TEST_F(PluginFacade, EventsAddedDuringABlockBelongToTheNext)
{
	// The host side adds a program change while the engine answers a request inside process().
	struct AddingListener : RecordingListener
	{
		using RecordingListener::RecordingListener;
		void sendMidi(const SMidiEvent& event) override
		{
			RecordingListener::sendMidi(event);
			plugin->addMidiEvent(midiEvent(0xC0, 9, 0));
		}
		Plugin* plugin = nullptr;
	};
	CallJournal otherJournal;
	AddingListener adding(otherJournal);
	auto own = quietPlugin(adding);
	adding.plugin = own.get();

	std::vector<uint8_t> request;
	Sysex::writeMachineIdRequest(request, 0);
	own->addMidiEvent(sysexEvent(request, 3));
	renderBlock(*own);
	EXPECT_EQ(adding.sent().size(), 1u);
	EXPECT_EQ(own->getCurrentSingleIndex(), 0u);
	{
		LogCapture quiet;
		renderBlock(*own);
	}
	EXPECT_EQ(own->getCurrentSingleIndex(), 9u);
	renderBlock(*own);
	EXPECT_EQ(adding.sent().size(), 1u) << "the request was handled once";
}

TEST_F(PluginFacade, BlocksWithoutEventsStillRender)
{
	SinglePreset sustained = single(0);
	for (SingleSource& source : sustained.sources)
	{
		source.envDelay = 0;
		source.envAttack = 0;
		source.envLevel = 100;
		source.envSustain = 100;
	}
	sustained.mute[0] = sustained.mute[1] = sustained.mute[2] = sustained.mute[3] = false;
	plugin->setSingle(0, sustained);
	plugin->addMidiEvent(midiEvent(0x90, 60, 100));
	std::vector<float> left, right;
	renderBlock(*plugin, left, right, 512);
	for (int block = 0; block < 8; ++block)
		renderBlock(*plugin, left, right, 512);
	float peak = 0.0f;
	for (float s : left)
		peak = std::max(peak, std::fabs(s));
	EXPECT_GT(peak, 1e-3f);
}

TEST_F(PluginFacade, MissingOutputChannelsAreRenderedAround)
{
	plugin->addMidiEvent(midiEvent(0x90, 60, 100));
	std::vector<float> left(256, 7.0f);
	float* leftOnly[2] = {left.data(), nullptr};
	for (int block = 0; block < 20; ++block)
		plugin->process(leftOnly, left.size());
	EXPECT_TRUE(std::all_of(left.begin(), left.end(), [](float s) { return std::isfinite(s) && s != 7.0f; }));
	EXPECT_TRUE(std::any_of(left.begin(), left.end(), [](float s) { return s != 0.0f; }));
	float* neither[2] = {nullptr, nullptr};
	plugin->process(neither, 256);
	plugin->process(nullptr, 256);
	plugin->process(leftOnly, 0);
}

TEST(PluginRates, EveryQueuedEventIsAppliedAtAnyRateAndBlockSize)
{
	for (const float rate : {44100.0f, 48000.0f, 96000.0f, 22050.0f, 49920.0f})
	{
		for (const size_t frames : {1u, 7u, 64u, 256u, 1000u})
		{
			CallJournal journal;
			RecordingListener listener(journal);
			std::unique_ptr<Plugin> plugin;
			{
				LogCapture quiet;
				plugin = makePlugin(listener, rate);
			}
			constexpr int blocks = 300;
			std::vector<float> left, right;
			{
				LogCapture quiet;
				for (int block = 0; block < blocks; ++block)
				{
					// A block's events may sit anywhere in it; the last frame is the hardest to reach.
					const uint32_t offset = block % 2 ? static_cast<uint32_t>(frames - 1) : 0;
					plugin->addMidiEvent(midiEvent(0xC0, static_cast<uint8_t>(1 + block % 2), 0, offset));
					renderBlock(*plugin, left, right, frames);
				}
				// An event the converter's renders have not reached yet is taken by the next one.
				renderBlock(*plugin, left, right, frames);
			}
			const auto entries = journal.entries();
			EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
			                        [](const std::string& e) { return e.rfind("L program ", 0) == 0; }),
			          blocks)
			    << rate << " Hz, blocks of " << frames;
		}
	}
}
