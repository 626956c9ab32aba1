#include "AuHost.h"
#include "HostedView.h"
#include "LogCapture.h"
#include "StateChunks.h"

#include <atomic>
#include <chrono>
#include <thread>

using namespace auhost;

namespace
{
class EditorThreads : public AuTest
{
};
}

// The host's main thread opens, resizes, idles and closes editor views again and again while its render thread
// plays notes and automates every parameter, which the open window is told of from the render thread.
TEST_F(EditorThreads, ViewsComeAndGoWhileTheRenderThreadPlaysAndAutomates)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(48000), noErr);
	LogCapture quiet; // automation and the views log a line each time
	std::atomic<bool> stop{false};
	std::thread render([&] {
		std::vector<float> left, right;
		for (int block = 0; !stop; ++block)
		{
			EXPECT_EQ(AudioUnitSetParameter(instance.unit(), AudioUnitParameterID(block % 109), kAudioUnitScope_Global, 0,
						  float(block % 50) / 50.f, 0),
				noErr);
			if (block % 8 == 0)
				instance.midi(0x90, UInt8(48 + block % 24), 100);
			if (block % 8 == 4)
				instance.midi(0x80, UInt8(48 + (block + 20) % 24), 0);
			EXPECT_EQ(instance.render(256, left, right), noErr);
			std::this_thread::sleep_for(std::chrono::microseconds(200)); // a host waits for the next buffer
		}
	});

	for (int round = 0; round < 12; ++round)
	{
		HostedView hosted(instance.unit(), round % 2 ? NSMakeSize(800, 600) : NSMakeSize(0, 0));
		CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.06, false);
		hosted.view()->setFrame(NSMakeRect(0, 0, 640 + 40 * round, 360 + 40 * round));
		CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.06, false);
	}
	stop = true;
	render.join();
	// Anything the window left for the main loop runs with no window there.
	CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.06, false);
}

// A host may save the state on a thread of its own while its main thread opens, resizes and closes editor
// views: every save holds a whole window block.
TEST_F(EditorThreads, StateSavedOnAnotherThreadWhileViewsOpenResizeAndClose)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(48000), noErr);
	LogCapture quiet; // every save and resize logs a line
	std::atomic<bool> stop{false};
	std::thread saver([&] {
		StateCodec codec;
		do
		{
			CFPropertyListRef state = instance.saveState();
			EXPECT_EQ(codec.editorBlockOf(chunkOf(state)).size(), 20u);
			CFRelease(state);
			std::this_thread::sleep_for(std::chrono::milliseconds(1)); // a host saves now and then
		} while (!stop);
	});
	// Six views, each resized five times.
	for (int view = 0, step = 0; view < 6; ++view)
	{
		HostedView hosted(instance.unit(), NSMakeSize(0, 0));
		for (int size = 0; size < 5; ++size, ++step)
		{
			hosted.view()->setFrame(NSMakeRect(0, 0, 640 + 32 * step, 360 + 18 * step));
			CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.01, false);
		}
	}
	stop = true;
	saver.join();
}
