#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <future>
#include <map>
#include <random>
#include <thread>

#include "FacadeTestSupport.h"
#include "LogCapture.h"
#include "synth/Sysex.h"

using namespace zentlib;

namespace
{
using Clock = std::chrono::steady_clock;

// Runs tasks on threads of their own, for a callback to see whether another thread gets through meanwhile; the
// test joins them once nothing waits any more.
class Meanwhile
{
public:
	// Whether task finishes within limit.
	bool finishes(std::function<void()> task, std::chrono::seconds limit)
	{
		auto finished = std::make_shared<std::promise<void>>();
		std::future<void> done = finished->get_future();
		m_threads.emplace_back([task, finished] {
			task();
			finished->set_value();
		});
		return done.wait_for(limit) == std::future_status::ready;
	}

	void join()
	{
		for (std::thread& thread : m_threads)
			thread.join();
	}

private:
	std::vector<std::thread> m_threads;
};

// A facade made without its log lines, for a listener that reaches back into it.
template <class Listener> std::unique_ptr<Plugin> madeQuietlyFor(Listener& listener)
{
	LogCapture quiet;
	std::unique_ptr<Plugin> plugin = makePlugin(listener);
	listener.plugin = plugin.get();
	return plugin;
}

// Counts what the host side is told; the threads below compare it with what they caused.
class CountingListener : public IPluginListener
{
public:
	void onActiveProgramChanged(size_t index) override
	{
		++programChanges;
		lastProgram = index;
	}
	void onSingleModified(size_t) override { ++singleReports; }
	void onActiveSingleModified(size_t) override {}
	void sendMidi(const SMidiEvent& event) override
	{
		switch (event.sysex.size())
		{
		case 7:
			writeResults += event.sysex[3] == 0x40;
			break;
		case 10:
			++parameterMessages;
			break;
		case 97:
			++dumpReplies;
			break;
		default:
			++otherMessages;
			break;
		}
	}
	void onSinglesModified(size_t, size_t) override {}
	void onParameterChanged(EParam, float) override { ++parameterReports; }
	void serializeCustomData(std::vector<uint8_t>&) override {}
	void deserializeCustomData(const std::vector<uint8_t>&) override {}

	std::atomic<long> programChanges{0};
	std::atomic<size_t> lastProgram{0};
	std::atomic<long> singleReports{0};
	std::atomic<long> writeResults{0};
	std::atomic<long> parameterMessages{0};
	std::atomic<long> dumpReplies{0};
	std::atomic<long> otherMessages{0};
	std::atomic<long> parameterReports{0};
};

// An editor that knows whether it is registered, reads the facade back while it is told, and
// counts every call that reaches it while it is not registered.
class CheckingEditor : public IEditor
{
public:
	explicit CheckingEditor(Plugin& plugin) : m_plugin(plugin) {}

	void onParamChanged(EParam parameter, float) override
	{
		called();
		m_plugin.getParameter(parameter);
	}
	void onSinglesModified(size_t, size_t) override { called(); }
	void onSingleModified(size_t index) override
	{
		called();
		SinglePreset single;
		m_plugin.getSingle(single, index);
	}
	void onActiveSingleModified(size_t) override { called(); }
	void onActiveProgramChanged(size_t index) override
	{
		called();
		if (m_plugin.getCurrentSingleIndex() != index)
			++wrongIndex;
	}

	std::atomic<bool> registered{false};
	std::atomic<long> calls{0};
	std::atomic<long> callsWhileCleared{0};
	std::atomic<long> wrongIndex{0};

private:
	void called()
	{
		++calls;
		if (!registered)
			++callsWhileCleared;
	}

	Plugin& m_plugin;
};

std::vector<uint8_t> dumpTo(size_t index, SinglePreset preset)
{
	// Indices 64..127 are the external memory of the hardware's protocol.
	const uint8_t number = static_cast<uint8_t>(index - 64);
	std::vector<uint8_t> bytes;
	Sysex::writeSingle(bytes, preset, 0, number < 32 ? StorageLocation::ExternalLow : StorageLocation::ExternalHigh,
	                   number);
	return bytes;
}

std::vector<uint8_t> requestFor(size_t index)
{
	const uint8_t number = static_cast<uint8_t>(index);
	std::vector<uint8_t> bytes;
	Sysex::writeOneSingleRequest(bytes, 0, number < 32 ? StorageLocation::InternalLow : StorageLocation::InternalHigh,
	                             number);
	return bytes;
}

SinglePreset parsed(const std::vector<uint8_t>& bytes)
{
	Sysex::SysexResult result;
	Sysex::readBuffer(result, bytes, 255);
	return result.singles.empty() ? SinglePreset{} : result.singles.front();
}
}

TEST(PluginThreads, RenderingParametersMidiAndEditorTogetherLoseNothing)
{
	CountingListener listener;
	std::unique_ptr<Plugin> plugin;
	{
		LogCapture quiet;
		plugin = makePlugin(listener);
	}
	CheckingEditor editor(*plugin);
	const SinglePreset dumpTemplate = plugin->getFactorySingle(64);

	std::atomic<bool> stop{false};
	std::atomic<long> blocks{0};
	std::atomic<long> parameterSets{0}, parameterMessagesSent{0};
	std::atomic<long> searches{0}, searchOutsideTargets{0}, registrations{0};
	std::atomic<long> programChangesSent{0};
	long dumpsSent = 0, requestsSent = 0, notesSent = 0;
	size_t lastProgramSent = 0;
	std::map<size_t, std::vector<uint8_t>> lastDumpTo;

	std::vector<std::string> logTexts;
	{
		LogCapture log; // a program change logs the single it switches to

		std::thread render([&] {
			std::vector<float> left(256), right(256);
			float* outputs[2] = {left.data(), right.data()};
			while (!stop)
			{
				plugin->process(outputs, left.size());
				++blocks;
			}
		});

		std::thread parameters([&] {
			std::mt19937 random(1);
			std::uniform_real_distribution<float> unit(0.0f, 1.0f);
			while (!stop)
			{
				// The name characters are left alone so that no name can come to read "dump".
				const auto p = static_cast<EParam>(Param_Volume + random() % (ParamCount - Param_Volume));
				parameterSets += plugin->setParameter(p, unit(random));
				plugin->getParameter(p);
				const auto q = static_cast<EParam>(random() % ParamCount);
				plugin->getParameterDisplay(q);
				plugin->getParameterName(q);
				if (random() % 16 == 0)
					parameterMessagesSent += plugin->sendParameterChangeAsSysex(p, unit(random));
			}
		});

		std::thread midi([&] {
			std::mt19937 random(2);
			for (long i = 0; !stop; ++i)
			{
				// Everything at offset 0: blocks take their events in offset order, and events from
				// two iterations may share a block.
				const uint8_t note = static_cast<uint8_t>(40 + random() % 40);
				plugin->addMidiEvent(midiEvent(0x90, note, 100));
				plugin->addMidiEvent(midiEvent(0x80, note, 0));
				++notesSent;
				if (i % 8 == 0)
				{
					// A program change without bank select stays in the current storage, 0..63.
					size_t program;
					do
						program = random() % 64;
					while (program == lastProgramSent);
					plugin->addMidiEvent(midiEvent(0xC0, static_cast<uint8_t>(program), 0));
					lastProgramSent = program;
					++programChangesSent;
				}
				if (i % 4 == 1)
				{
					const size_t target = 64 + random() % 64;
					SinglePreset preset = dumpTemplate;
					std::snprintf(preset.name, sizeof(preset.name), "DUMP%06ld", i % 1000000);
					preset.volume = static_cast<uint8_t>(1 + i % 99);
					lastDumpTo[target] = dumpTo(target, preset);
					plugin->addMidiEvent(sysexEvent(lastDumpTo[target]));
					++dumpsSent;
				}
				if (i % 4 == 2)
				{
					plugin->addMidiEvent(sysexEvent(requestFor(random() % 64)));
					++requestsSent;
				}
				std::this_thread::sleep_for(std::chrono::microseconds(200));
			}
		});

		std::thread editing([&] {
			std::vector<size_t> found;
			std::vector<uint8_t> bytes;
			while (!stop)
			{
				const long callsBefore = editor.calls;
				editor.registered = true;
				plugin->setEditor(&editor);
				++registrations;
				plugin->searchSingles(found, "dump", plugin->getSingleCount());
				++searches;
				for (size_t index : found)
					searchOutsideTargets += index < 64 || index >= 128;
				plugin->getSingle(bytes, 64 + found.size() % 64);
				// The search holds the engine lock almost throughout; the editor stays registered until
				// another thread has reached it, so that every round is seen from both sides.
				while (!stop && editor.calls == callsBefore)
					std::this_thread::yield();
				plugin->setEditor(nullptr);
				editor.registered = false;
				plugin->searchSingles(found, "", 10);
				std::this_thread::sleep_for(std::chrono::microseconds(100));
			}
		});

		// Two seconds together at least, and as long as a loaded machine needs for every thread to have
		// done its share; the bound only keeps a hang from lasting forever.
		const auto start = Clock::now();
		auto enough = [&] {
			return Clock::now() - start >= std::chrono::seconds(2) && blocks > 10 && parameterSets > 100 &&
				   programChangesSent > 10 && searches > 10 && editor.calls > 0;
		};
		while (!enough() && Clock::now() - start < std::chrono::minutes(5))
			std::this_thread::sleep_for(std::chrono::milliseconds(10));
		stop = true;
		for (std::thread* t : {&render, &parameters, &midi, &editing})
			t->join();

		// The events of the last iterations are still queued.
		renderBlock(*plugin);
		logTexts = log.texts();
	}

	EXPECT_GT(blocks.load(), 10);
	EXPECT_GT(parameterSets.load(), 100);
	EXPECT_GT(programChangesSent.load(), 10);
	EXPECT_GT(searches.load(), 10);

	// Every MIDI event was applied, once.
	EXPECT_EQ(listener.programChanges.load(), programChangesSent.load());
	EXPECT_EQ(listener.lastProgram.load(), lastProgramSent);
	EXPECT_EQ(plugin->getCurrentSingleIndex(), lastProgramSent);
	EXPECT_EQ(std::count_if(logTexts.begin(), logTexts.end(),
	                        [](const std::string& t) { return t.rfind("Switching to single ", 0) == 0; }),
	          programChangesSent.load());
	EXPECT_EQ(listener.writeResults.load(), dumpsSent);
	EXPECT_EQ(listener.dumpReplies.load(), requestsSent);
	EXPECT_EQ(listener.parameterMessages.load(), parameterMessagesSent.load());
	EXPECT_EQ(listener.otherMessages.load(), 0);

	// The store holds exactly what was sent to it.
	ASSERT_EQ(plugin->getSingleCount(), 768u);
	std::vector<size_t> expectedTargets;
	for (const auto& [target, bytes] : lastDumpTo)
	{
		expectedTargets.push_back(target);
		SinglePreset stored;
		ASSERT_TRUE(plugin->getSingle(stored, target));
		EXPECT_TRUE(stored == parsed(bytes)) << target;
	}
	std::vector<size_t> found;
	plugin->searchSingles(found, "DUMP", 768);
	EXPECT_EQ(found, expectedTargets);
	EXPECT_EQ(searchOutsideTargets.load(), 0);
	for (size_t index = 128; index < 768; ++index)
		ASSERT_FALSE(plugin->isSingleModified(index)) << index;

	// The cache ends where the engine is.
	const std::vector<float> cache = cachedParameters(*plugin);
	const std::vector<float> engine = engineParameters(*plugin);
	for (uint32_t p = 0; p < ParamCount; ++p)
		EXPECT_EQ(cache[p], engine[p]) << "parameter " << p;

	EXPECT_GT(editor.calls.load(), 0);
	EXPECT_EQ(editor.callsWhileCleared.load(), 0);
	EXPECT_EQ(editor.wrongIndex.load(), 0);
}

TEST(PluginThreads, ParameterSetDuringAProgramChangeKeepsCacheAndEngineTogether)
{
	// The render thread is held inside an engine callback, with the engine lock taken, while another
	// thread sets a parameter; the program change that follows in the same block reports the new
	// single's values before the setter gets the lock.
	struct HoldingListener : CountingListener
	{
		void onSingleModified(size_t index) override
		{
			CountingListener::onSingleModified(index);
			std::unique_lock<std::mutex> lock(mutex);
			held = true;
			changed.notify_all();
			changed.wait(lock, [this] { return released; });
		}
		std::mutex mutex;
		std::condition_variable changed;
		bool held = false;
		bool released = false;
	};
	HoldingListener listener;
	std::unique_ptr<Plugin> plugin;
	{
		LogCapture quiet;
		plugin = makePlugin(listener, Engine::InternalSamplerate);
	}
	const float value = 0.123f;
	ASSERT_NE(plugin->getParameter(Param_Volume), value);
	SinglePreset renamed;
	ASSERT_TRUE(plugin->getSingle(renamed, 70));
	renamed.name[0] = renamed.name[0] == 'X' ? 'Y' : 'X';
	plugin->addMidiEvent(sysexEvent(dumpTo(70, renamed)));
	plugin->addMidiEvent(midiEvent(0xC0, 40, 0));

	std::thread render([&] {
		LogCapture quiet;
		renderBlock(*plugin);
	});
	{
		std::unique_lock<std::mutex> lock(listener.mutex);
		listener.changed.wait(lock, [&] { return listener.held; });
	}
	std::thread setter([&] { EXPECT_TRUE(plugin->setParameter(Param_Volume, value)); });
	std::this_thread::sleep_for(std::chrono::milliseconds(100)); // the setter is now waiting for the lock
	{
		std::lock_guard<std::mutex> lock(listener.mutex);
		listener.released = true;
	}
	listener.changed.notify_all();
	render.join();
	setter.join();

	EXPECT_EQ(plugin->getCurrentSingleIndex(), 40u);
	EXPECT_EQ(engineParameters(*plugin)[Param_Volume], value);
	EXPECT_EQ(plugin->getParameter(Param_Volume), value);
}

// The host's window block is asked for while a state is saved and handed back while one is restored. A host whose
// callbacks wait for its audio meanwhile must not wait for ever: the engine is free while they are called.
TEST(PluginThreads, SaveAndRestoreCallTheListenerWithTheEngineFree)
{
	struct WaitingForABlock : CountingListener
	{
		void serializeCustomData(std::vector<uint8_t>& data) override
		{
			blockRendered.push_back(renderMeanwhile());
			data = {1, 2, 3};
		}
		void deserializeCustomData(const std::vector<uint8_t>&) override { blockRendered.push_back(renderMeanwhile()); }

		// Whether another thread renders a block within a time far beyond what one takes.
		bool renderMeanwhile()
		{
			return meanwhile.finishes([this] { renderBlock(*plugin); }, std::chrono::seconds(5));
		}

		Plugin* plugin = nullptr;
		std::vector<bool> blockRendered;
		Meanwhile meanwhile;
	};
	WaitingForABlock listener;
	std::unique_ptr<Plugin> plugin = madeQuietlyFor(listener);

	std::vector<uint8_t> state;
	plugin->getState(state);
	{
		LogCapture quiet; // the switch to the saved single
		EXPECT_TRUE(plugin->setState(state));
	}
	listener.meanwhile.join();
	EXPECT_EQ(listener.blockRendered, (std::vector<bool>{true, true}));
}

// A host's callback may wait for a thread that needs the engine: what reaches the host comes with the engine lock
// free, whether a block answers a request, a panel edit is sent or a program change reports its parameters.
TEST(PluginThreads, CallsThatReachTheHostComeWithTheEngineLockFree)
{
	struct ProbingListener : CountingListener
	{
		void sendMidi(const SMidiEvent& event) override
		{
			CountingListener::sendMidi(event);
			probe();
		}
		void onParameterChanged(EParam parameter, float value) override
		{
			CountingListener::onParameterChanged(parameter, value);
			if (parameterReports == 1)
				probe();
		}
		// Another thread reaches the engine while the host is being called.
		void probe()
		{
			++probes;
			lockedOut += !meanwhile.finishes([this] { plugin->getCurrentSingleIndex(); }, std::chrono::seconds(1));
		}
		Plugin* plugin = nullptr;
		Meanwhile meanwhile;
		int probes = 0;
		int lockedOut = 0;
	};
	ProbingListener listener;
	std::unique_ptr<Plugin> plugin = madeQuietlyFor(listener);

	std::vector<uint8_t> request;
	Sysex::writeMachineIdRequest(request, 0);
	plugin->addMidiEvent(sysexEvent(request));
	renderBlock(*plugin);
	EXPECT_TRUE(plugin->sendParameterChangeAsSysex(Param_Volume, 1.0f));
	{
		LogCapture quiet;
		EXPECT_TRUE(plugin->setCurrentSingleIndex(100));
	}
	listener.meanwhile.join();
	EXPECT_EQ(listener.probes, 3) << "the reply, the panel edit and the first report";
	EXPECT_EQ(listener.lockedOut, 0);
}
