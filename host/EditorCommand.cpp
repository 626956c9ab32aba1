#include "EditorCommand.h"

#include "BlockRenderer.h"
#include "EditorScript.h"
#include "EditorWindow.h"
#include "HostError.h"
#include "HostOptions.h"
#include "HostedUnit.h"
#include "HostedView.h"
#include "MidiSequence.h"
#include "PluginLog.h"

#include <CoreFoundation/CFStandIn.h>

#include <atomic>
#include <chrono>
#include <exception>
#include <thread>

namespace
{
NSSize preferredSize(const HostOptions& o)
{
	return NSMakeSize(o.viewWidth, o.viewHeight);
}

// Plays the sequence once, then silence, in real time, as an audio device would ask for it.
class Player
{
public:
	Player(HostedUnit& unit, const HostOptions& o, MidiSequence sequence)
		: m_rate(o.sampleRate), m_block(o.blockSize), m_sequence(std::move(sequence)),
		  m_renderer(unit, m_sequence, o.midi, o.sampleRate), m_thread([this] { play(); })
	{
	}
	~Player()
	{
		m_stop = true;
		m_thread.join();
	}
	void rethrow()
	{
		if (m_failure)
			std::rethrow_exception(m_failure);
	}

private:
	void play()
	{
		try
		{
			std::vector<float> left(m_block), right(m_block);
			const auto began = std::chrono::steady_clock::now();
			for (uint64_t start = 0; !m_stop; start += m_block)
			{
				m_renderer.render(left.data(), right.data(), m_block);
				std::this_thread::sleep_until(began + std::chrono::duration<double>((start + m_block) / m_rate));
			}
		}
		catch (...)
		{
			m_failure = std::current_exception();
		}
	}

	const double m_rate;
	const UInt32 m_block;
	const MidiSequence m_sequence;
	BlockRenderer m_renderer;
	std::atomic<bool> m_stop{false};
	std::exception_ptr m_failure;
	std::thread m_thread;
};
}

int showEditor(HostedUnit& unit, const HostOptions& o, FILE* results)
{
	MidiSequence sequence = o.midi.empty() ? MidiSequence{} : MidiSequence::fromFile(o.midi);
	warnOfOwnPrograms(sequence, "'" + o.midi + "'", !o.preset.empty(), !o.params.empty());
	EditorWindow window("Virel");
	pluginLog::beginStep();
	// Released before the window goes, as a host closes a plug-in's view before its window.
	HostedView hosted(unit.unit(), preferredSize(o));
	window.show(hosted.view());
	const NSRect frame = hosted.view()->frame();
	std::fprintf(results, "Showing %s at %g x %g; close the window to quit\n", hosted.factoryDescription().c_str(),
		frame.size.width, frame.size.height);
	std::fflush(results);
	{
		Player player(unit, o, std::move(sequence));
		window.run([&] { player.rethrow(); });
	}
	return 0;
}

int drawEditor(HostedUnit& unit, const HostOptions& o, FILE* results)
{
	const std::vector<EditorAction> actions = o.script.empty() ? std::vector<EditorAction>{} : readEditorScript(o.script);
	// Waits pass on a clock of their own: the picture does not depend on how busy the machine is.
	cf::ManualClock clock;
	auto wait = [](double seconds) { CFRunLoopRunInMode(kCFRunLoopDefaultMode, seconds, false); };
	constexpr double kSettle = 0.1;

	pluginLog::beginStep();
	HostedView hosted(unit.unit(), preferredSize(o));
	NSView* view = hosted.view();
	NSWindow* window = NSObject::alloc<NSWindow>()->initWithContentRect(view->frame());
	window->setContentView(view);
	wait(kSettle);
	runEditorScript(window, actions, wait);
	wait(kSettle);

	const NSRect bounds = view->bounds();
	NSBitmapImageRep* image = view->bitmapImageRepForCachingDisplayInRect(bounds);
	view->cacheDisplayInRect(bounds, image);
	const bool written = image && image->writePNG(o.screenshot);
	if (image)
		image->release();
	window->setContentView(nullptr);
	window->release();
	if (!written)
		throw HostError("cannot write '" + o.screenshot + "'");
	std::fprintf(results, "Drew %s at %g x %g to %s\n", hosted.factoryDescription().c_str(), bounds.size.width,
		bounds.size.height, o.screenshot.c_str());
	return 0;
}
