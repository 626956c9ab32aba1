// The editor as a host shows it: the owner behind property 70001, the view its factory makes, the window size in
// the saved state, and input reaching the host.

#include "AuHost.h"
#include "HostedView.h"
#include "Layout.h"
#include "LogCapture.h"
#include "StateChunks.h"

#include <AudioUnit/AUCocoaUIView.h>
#include <vstgui/lib/cframe.h>
#include <objc/runtime.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>

using namespace auhost;

namespace
{
class EditorView : public AuTest
{
};

constexpr AudioUnitPropertyID kEditorOwner = 70001;
constexpr AudioUnitParameterID kVolume = 10;

OSStatus editorOwner(Instance& instance, void*& owner)
{
	UInt32 size = sizeof owner;
	return AudioUnitGetProperty(instance.unit(), kEditorOwner, kAudioUnitScope_Global, 0, &owner, &size);
}

NSSize frameSize(const HostedView& hosted)
{
	return hosted.view()->frame().size;
}

// The window block of a saved state, and a state that carries the given one.
Bytes windowBlockOf(Instance& instance)
{
	CFPropertyListRef state = instance.saveState();
	const Bytes block = StateCodec().editorBlockOf(chunkOf(state));
	CFRelease(state);
	return block;
}

// The centre of the named view as the panel lays it out, in the pixels of a full-size window.
bool centreOf(const uidesc::View& view, const std::string& name, NSPoint origin, NSPoint& out)
{
	origin = NSMakePoint(origin.x + view.r.x, origin.y + view.r.y);
	out = NSMakePoint(origin.x + view.r.w / 2, origin.y + view.r.h / 2);
	return view.name == name ||
		std::any_of(view.children.begin(), view.children.end(),
			[&](const uidesc::View& child) { return centreOf(child, name, origin, out); });
}

Bytes windowBlock(uint32_t version, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
	Bytes block;
	for (uint32_t v : {version, uint32_t(left), uint32_t(top), uint32_t(right), uint32_t(bottom)})
		for (int i = 0; i < 4; ++i)
			block.push_back(uint8_t(v >> (8 * i)));
	return block;
}
}

TEST_F(EditorView, OwnerIsMadeOnceTheFacadeExistsAndThenAlwaysTheSame)
{
	Instance instance;
	void* first = nullptr;
	EXPECT_EQ(editorOwner(instance, first), kAudioUnitErr_Uninitialized);
	ASSERT_EQ(instance.initialize(), noErr);
	LogCapture log;
	ASSERT_EQ(editorOwner(instance, first), noErr);
	void* second = nullptr;
	ASSERT_EQ(editorOwner(instance, second), noErr);
	EXPECT_NE(first, nullptr);
	EXPECT_EQ(first, second);
	const auto texts = log.texts();
	EXPECT_EQ(std::count(texts.begin(), texts.end(), "AU: Virel editor instance created"), 1);
}

TEST_F(EditorView, FactoryMakesViewsAtThePreferredSizeKeptTo16By9)
{
	Class factoryClass = objc_getClass("VirelCocoaUI");
	ASSERT_NE(factoryClass, Nil);
	NSObject* factory = asNSObject(factoryClass->create());
	ASSERT_TRUE(factory->conformsToProtocol("AUCocoaUIBase"));
	EXPECT_EQ(static_cast<AUCocoaUIBase*>(factory)->interfaceVersion(), 0u);
	EXPECT_EQ(toString(factory->description()), "Vens' Virel Editor");
	factory->release();

	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	struct Case
	{
		NSSize preferred;
		NSSize expected;
		const char* logged;
	};
	// Without a preferred size the owner's rectangle decides: the default, later the last window's.
	for (const Case& c : {Case{{0, 0}, {1024, 576}, "Initial UI size is 1024 576"},
			 Case{{800, 600}, {800, 450}, "Initial UI size is 800 450"},
			 Case{{1920, 1200}, {1920, 1080}, "Initial UI size is 1920 1080"},
			 Case{{0, 0}, {1920, 1080}, "Initial UI size is 1920 1080"}})
	{
		NSSize size;
		NSUInteger mask = 0;
		bool posts = false;
		std::vector<std::string> texts;
		{
			LogCapture log;
			HostedView hosted(instance.unit(), c.preferred);
			size = frameSize(hosted);
			mask = hosted.view()->autoresizingMask();
			posts = hosted.view()->postsFrameChangedNotifications();
			texts = log.texts();
		}
		EXPECT_EQ(size.width, c.expected.width);
		EXPECT_EQ(size.height, c.expected.height);
		EXPECT_EQ(mask, 18u);
		EXPECT_TRUE(posts);
		EXPECT_NE(std::find(texts.begin(), texts.end(), c.logged), texts.end()) << c.logged;
	}
}

TEST_F(EditorView, SavedStateHoldsTheWindowRectangleOfAnOpenViewAndTheNextViewOpensAtIt)
{
	CFPropertyListRef state;
	{
		Instance instance;
		ASSERT_EQ(instance.initialize(), noErr);
		HostedView hosted(instance.unit(), NSMakeSize(1024, 576));
		NSSize notified{};
		id observer = NSNotificationCenter::defaultCenter()->addObserverForName(NSViewFrameDidChangeNotification,
			hosted.view(), [&](const NSNotification&) { notified = frameSize(hosted); });
		// The host asks for a square; the window keeps to 16:9 and the host's view ends at the window's size.
		hosted.view()->setFrame(NSMakeRect(0, 0, 1000, 1000));
		EXPECT_EQ(windowBlockOf(instance), windowBlock(1, 0, 0, 1000, 563));
		EXPECT_EQ(frameSize(hosted).height, 563);
		EXPECT_EQ(notified.height, 563);
		NSNotificationCenter::defaultCenter()->removeObserver(observer);
		hosted.view()->setFrame(NSMakeRect(0, 0, 1280, 720));
		state = instance.saveState();
	}
	Instance instance;
	ASSERT_EQ(instance.restoreState(state), noErr);
	ASSERT_EQ(instance.initialize(), noErr);
	// A saved size wins over the host's preferred one.
	HostedView hosted(instance.unit(), NSMakeSize(800, 600));
	EXPECT_EQ(frameSize(hosted).width, 1280);
	EXPECT_EQ(frameSize(hosted).height, 720);
	CFRelease(state);
}

TEST_F(EditorView, ARefusedBlockIsDroppedAndTheLastWindowSizeStays)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	{
		HostedView hosted(instance.unit(), NSMakeSize(1600, 900));
	}
	StateCodec codec;
	for (const Bytes& refused : {windowBlock(2, 0, 0, 640, 360), Bytes(19, 1), Bytes(21, 1)})
	{
		CFPropertyListRef state = instance.saveState();
		setChunk(state, codec.stateWithEditorBlock(refused));
		ASSERT_EQ(instance.restoreState(state), noErr);
		CFRelease(state);
		HostedView hosted(instance.unit(), NSMakeSize(0, 0));
		EXPECT_EQ(frameSize(hosted).width, 1600);
		EXPECT_EQ(frameSize(hosted).height, 900);
	}
	// Stored sizes are not clipped until a view opens; negative corners travel unchanged.
	CFPropertyListRef state = instance.saveState();
	setChunk(state, codec.stateWithEditorBlock(windowBlock(1, -20, -10, 3000, 2000)));
	ASSERT_EQ(instance.restoreState(state), noErr);
	CFRelease(state);
	EXPECT_EQ(windowBlockOf(instance), windowBlock(1, -20, -10, 3000, 2000));
	HostedView hosted(instance.unit(), NSMakeSize(0, 0));
	EXPECT_EQ(frameSize(hosted).width, 2560);
	EXPECT_EQ(frameSize(hosted).height, 1440);
}

TEST_F(EditorView, KnobDragAndEditGesturesReachTheHostsParameterListeners)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	ParameterEvents events(instance.unit(), {kVolume});

	// At full size the panel's pixels are the template's: the edit page, its common settings, the volume knob.
	HostedView hosted(instance.unit(), NSMakeSize(2560, 1440));
	NSWindow* window = NSObject::alloc<NSWindow>()->initWithContentRect(hosted.view()->frame());
	window->setContentView(hosted.view());
	auto click = [&](double x, double y) {
		NSAutoreleasePool pool;
		window->sendEvent(NSEvent::mouseEventWithType(NSEventTypeLeftMouseDown, NSMakePoint(x, y), 0, 1));
		window->sendEvent(NSEvent::mouseEventWithType(NSEventTypeLeftMouseUp, NSMakePoint(x, y), 0, 0));
		ParameterEvents::runLoop();
	};
	click(452, 603);
	click(308, 1183);
	const float before = instance.parameter(kVolume);
	{
		NSAutoreleasePool pool;
		window->sendEvent(NSEvent::mouseEventWithType(NSEventTypeLeftMouseDown, NSMakePoint(1882, 925), 0, 1));
		for (int y = 920; y >= 880; y -= 10)
			window->sendEvent(NSEvent::mouseEventWithType(NSEventTypeLeftMouseDragged, NSMakePoint(1882, y), 0, 0));
		window->sendEvent(NSEvent::mouseEventWithType(NSEventTypeLeftMouseUp, NSMakePoint(1882, 880), 0, 0));
	}
	ParameterEvents::runLoop();
	EXPECT_GT(instance.parameter(kVolume), before);
	// One gesture on the knob's parameter encloses the drag's value changes.
	ASSERT_GE(events.received.size(), 3u);
	EXPECT_EQ(events.received.front(), (ParameterEvents::Event{kAudioUnitEvent_BeginParameterChangeGesture, kVolume}));
	EXPECT_EQ(events.received.back(), (ParameterEvents::Event{kAudioUnitEvent_EndParameterChangeGesture, kVolume}));
	for (size_t i = 1; i + 1 < events.received.size(); ++i)
		EXPECT_EQ(events.received[i], (ParameterEvents::Event{kAudioUnitEvent_ParameterValueChange, kVolume}));

	// The window's controls report their gestures through the owner's toolkit interface.
	events.received.clear();
	void* owner = nullptr;
	ASSERT_EQ(editorOwner(instance, owner), noErr);
	auto* editor = static_cast<VSTGUI::VSTGUIEditorInterface*>(owner);
	editor->beginEdit(int32_t(kVolume));
	editor->endEdit(int32_t(kVolume));
	editor->beginEdit(-1);
	ParameterEvents::runLoop();
	EXPECT_EQ(events.received, (std::vector<ParameterEvents::Event>{{kAudioUnitEvent_BeginParameterChangeGesture, kVolume},
								   {kAudioUnitEvent_EndParameterChangeGesture, kVolume}}));

	window->setContentView(nullptr);
	window->release();
}

TEST_F(EditorView, TwoViewsShareOneWindowAndAClosedWindowKeepsTheHostsSizeUntilTheNextView)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	auto first = std::make_unique<HostedView>(instance.unit(), NSMakeSize(1280, 720));
	auto second = std::make_unique<HostedView>(instance.unit(), NSMakeSize(800, 600));
	// The second view sized the window the first one showed, and the first followed it; the window is now the
	// second's.
	EXPECT_EQ(frameSize(*first).width, 800);
	EXPECT_EQ(frameSize(*first).height, 450);
	EXPECT_TRUE(first->view()->subviews().empty());
	EXPECT_EQ(second->view()->subviews().size(), 1u);
	// The view left behind sizes only itself.
	first->view()->setFrame(NSMakeRect(0, 0, 0, 0));
	EXPECT_EQ(frameSize(*second).width, 800);
	EXPECT_EQ(windowBlockOf(instance), windowBlock(1, 0, 0, 800, 450));

	// A host that makes the new view before it lets go of the old one keeps the window in the new one.
	first.reset();
	ASSERT_EQ(second->view()->subviews().size(), 1u);
	second->view()->setFrame(NSMakeRect(0, 0, 1280, 720));
	EXPECT_EQ(windowBlockOf(instance), windowBlock(1, 0, 0, 1280, 720));

	// The other order: the view showing the window takes it along, and the one left idles nothing.
	first = std::make_unique<HostedView>(instance.unit(), NSMakeSize(0, 0));
	EXPECT_TRUE(second->view()->subviews().empty());
	first.reset();
	CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.12, false);

	// Without a window a host's size is kept as it comes, and the next view keeps it to the rules.
	second->view()->setFrame(NSMakeRect(0, 0, 3000, 1000));
	EXPECT_EQ(frameSize(*second).width, 3000);
	EXPECT_EQ(windowBlockOf(instance), windowBlock(1, 0, 0, 3000, 1000));
	second.reset();
	LogCapture log;
	HostedView next(instance.unit(), NSMakeSize(0, 0));
	const auto texts = log.texts();
	EXPECT_NE(std::find(texts.begin(), texts.end(), "Initial UI size is 1778 1000"), texts.end());
	EXPECT_EQ(next.view()->subviews().size(), 1u);
}

// A size that is not a number is no size at all: neither the window nor the size kept for the next one takes it.
TEST_F(EditorView, ASizeThatIsNotANumberIsIgnoredWithOrWithoutAWindow)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	const double nan = std::numeric_limits<double>::quiet_NaN();
	auto hosted = std::make_unique<HostedView>(instance.unit(), NSMakeSize(1280, 720));
	for (const bool withWindow : {true, false})
	{
		// A newer view takes the window along when it goes.
		if (!withWindow)
			HostedView(instance.unit(), NSMakeSize(0, 0));
		hosted->view()->setFrame(NSMakeRect(0, 0, nan, nan));
		hosted->view()->setFrame(NSMakeRect(0, 0, 1024, nan));
		EXPECT_EQ(frameSize(*hosted).width, 1280) << withWindow;
	}
	hosted.reset();
	HostedView next(instance.unit(), NSMakeSize(0, 0));
	EXPECT_EQ(frameSize(next).width, 1280);
	EXPECT_EQ(frameSize(next).height, 720);
}

// Nothing makes a host release the view before it disposes of the instance, and some do it the other way round.
TEST_F(EditorView, AViewThatOutlivesItsInstanceShowsNothingAndGoesQuietly)
{
	auto instance = std::make_unique<Instance>();
	ASSERT_EQ(instance->initialize(), noErr);
	HostedView hosted(instance->unit(), NSMakeSize(1024, 576));
	instance.reset();
	EXPECT_TRUE(hosted.view()->subviews().empty());
	CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.12, false);
	hosted.view()->setFrame(NSMakeRect(0, 0, 1000, 1000));
	EXPECT_EQ(frameSize(hosted).height, 1000);
}

// Sessions of restoring, showing the editor and saving keep the size a person left, one saved between pixels too.
TEST_F(EditorView, TheWindowKeepsItsSizeOverSessionsOfSavingAndReopening)
{
	CFPropertyListRef state;
	{
		Instance instance;
		ASSERT_EQ(instance.initialize(), noErr);
		state = instance.saveState();
		setChunk(state, StateCodec().stateWithEditorBlock(windowBlock(1, 0, 0, 1050, 590)));
	}
	for (int session = 0; session < 8; ++session)
	{
		Instance instance;
		ASSERT_EQ(instance.restoreState(state), noErr);
		CFRelease(state);
		ASSERT_EQ(instance.initialize(), noErr);
		EXPECT_EQ(frameSize(HostedView(instance.unit(), NSMakeSize(0, 0))).width, 1049) << session;
		state = instance.saveState();
	}
	EXPECT_EQ(StateCodec().editorBlockOf(chunkOf(state)), windowBlock(1, 0, 0, 1049, 590));
	CFRelease(state);
}

// Edits that no control's own gesture encloses, made as a person makes them: the host records each inside one.
TEST_F(EditorView, ArrowNameAndPadEditsReachTheHostInsideGestures)
{
	Instance instance;
	ASSERT_EQ(instance.initialize(), noErr);
	// Key tracking off shows the coarse arrows; centred balances put the pad's thumb in the middle of its area.
	for (auto [id, value] : {std::pair{43u, 0.f}, {107u, 0.5f}, {108u, 0.5f}})
		ASSERT_EQ(AudioUnitSetParameter(instance.unit(), id, kAudioUnitScope_Global, 0, value, 0), noErr);
	ParameterEvents events(instance.unit(), {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 35, 39, 107, 108});
	HostedView hosted(instance.unit(), NSMakeSize(2560, 1440));
	NSWindow* window = NSObject::alloc<NSWindow>()->initWithContentRect(hosted.view()->frame());
	window->setContentView(hosted.view());

	const uidesc::Panel panel = uidesc::buildPanel();
	auto at = [&](const std::string& name) {
		NSPoint centre;
		EXPECT_TRUE(centreOf(panel.root, name, NSMakePoint(0, 0), centre)) << name;
		return centre;
	};
	auto send = [&](NSEventType type, NSPoint p) {
		NSAutoreleasePool pool;
		const bool down = type == NSEventTypeLeftMouseDown || type == NSEventTypeRightMouseDown;
		window->sendEvent(NSEvent::mouseEventWithType(type, p, 0, down ? 1 : 0));
	};
	auto click = [&](NSPoint p) {
		send(NSEventTypeLeftMouseDown, p);
		send(NSEventTypeLeftMouseUp, p);
	};
	auto eventsOf = [&](const std::function<void()>& act) {
		events.received.clear();
		act();
		ParameterEvents::runLoop();
		return events.received;
	};
	// Begin on each parameter, then the values, then end on each.
	auto gesture = [](std::vector<AudioUnitParameterID> on, size_t values) {
		std::vector<ParameterEvents::Event> expected;
		for (AudioUnitParameterID id : on)
			expected.push_back({kAudioUnitEvent_BeginParameterChangeGesture, id});
		for (size_t n = 0; n < values; ++n)
			for (AudioUnitParameterID id : on)
				expected.push_back({kAudioUnitEvent_ParameterValueChange, id});
		for (AudioUnitParameterID id : on)
			expected.push_back({kAudioUnitEvent_EndParameterChangeGesture, id});
		return expected;
	};

	click(at("btModeEdit"));
	EXPECT_EQ(eventsOf([&] { click(at("btWaveInc")); }), gesture({39}, 1));
	EXPECT_EQ(eventsOf([&] { click(at("btCoarseDec")); }), gesture({35}, 1));

	click(at("btEditCommon"));
	EXPECT_EQ(eventsOf([&] {
		click(at("editSingleName"));
		NSAutoreleasePool pool;
		for (uint32_t key : {uint32_t('X'), uint32_t(NSCarriageReturnCharacter)})
			window->sendEvent(NSEvent::keyEventWithType(NSEventTypeKeyDown, key, 0));
	}),
		gesture({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 1));

	const NSPoint thumb = at("throttleArea"), dragged = NSMakePoint(thumb.x + 40, thumb.y + 10);
	EXPECT_EQ(eventsOf([&] {
		send(NSEventTypeLeftMouseDown, thumb);
		send(NSEventTypeLeftMouseDragged, NSMakePoint(thumb.x + 20, thumb.y));
		send(NSEventTypeLeftMouseDragged, dragged);
		send(NSEventTypeLeftMouseUp, dragged);
	}),
		gesture({107, 108}, 2));
	EXPECT_EQ(eventsOf([&] {
		send(NSEventTypeRightMouseDown, dragged);
		send(NSEventTypeRightMouseUp, dragged);
	}),
		gesture({107, 108}, 1));

	window->setContentView(nullptr);
	window->release();
}
