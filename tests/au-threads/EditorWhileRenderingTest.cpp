#include "AuHost.h"
#include "HostedView.h"
#include "LogCapture.h"

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
