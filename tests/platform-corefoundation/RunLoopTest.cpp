#include <CoreFoundation/CFStandIn.h>
#include <CoreFoundation/CoreFoundation.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace
{
struct Recorder
{
	std::vector<std::pair<int, CFAbsoluteTime>> fires;
	int id = 0;
};

struct Tick
{
	Recorder* recorder;
	int id;
};

void recordFire(CFRunLoopTimerRef, void* info)
{
	auto* tick = static_cast<Tick*>(info);
	tick->recorder->fires.emplace_back(tick->id, CFAbsoluteTimeGetCurrent());
}

CFRunLoopTimerRef makeTimer(Tick& tick, CFAbsoluteTime fireDate, CFTimeInterval interval, CFIndex order = 0)
{
	CFRunLoopTimerContext context = {0, &tick, nullptr, nullptr, nullptr};
	return CFRunLoopTimerCreate(kCFAllocatorDefault, fireDate, interval, 0, order, recordFire, &context);
}

class RunLoopTest : public ::testing::Test
{
protected:
	void TearDown() override { EXPECT_EQ(cf::liveObjectCount(), m_liveAtStart); }
	long m_liveAtStart = cf::liveObjectCount();
};
}

TEST_F(RunLoopTest, RepeatingTimerFiresOnItsGridAsSimulatedTimePasses)
{
	cf::ManualClock clock(1000.0);
	Recorder recorder;
	Tick tick{&recorder, 1};
	CFRunLoopTimerRef timer = makeTimer(tick, clock.now() + 0.05, 0.05);
	CFRunLoopAddTimer(CFRunLoopGetMain(), timer, kCFRunLoopCommonModes);

	EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.2, false), kCFRunLoopRunTimedOut);
	ASSERT_EQ(recorder.fires.size(), 4u);
	for (size_t i = 0; i < 4; ++i)
		EXPECT_NEAR(recorder.fires[i].second, 1000.0 + 0.05 * double(i + 1), 1e-9);
	EXPECT_NEAR(clock.now(), 1000.2, 1e-9);

	CFRunLoopTimerInvalidate(timer);
	EXPECT_FALSE(CFRunLoopTimerIsValid(timer));
	EXPECT_FALSE(CFRunLoopContainsTimer(CFRunLoopGetMain(), timer, kCFRunLoopDefaultMode));
	CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.2, false);
	EXPECT_EQ(recorder.fires.size(), 4u);
	CFRelease(timer);
}

TEST_F(RunLoopTest, MissedFiresCollapseIntoOneCallAndTheGridIsKept)
{
	cf::ManualClock clock(0.0);
	Recorder recorder;
	Tick tick{&recorder, 1};
	CFRunLoopTimerRef timer = makeTimer(tick, 0.05, 0.05);
	CFRunLoopAddTimer(CFRunLoopGetMain(), timer, kCFRunLoopDefaultMode);
	clock.advance(0.33);
	CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false);
	EXPECT_EQ(recorder.fires.size(), 1u);
	EXPECT_NEAR(CFRunLoopTimerGetNextFireDate(timer), 0.35, 1e-9);
	CFRunLoopTimerInvalidate(timer);
	CFRelease(timer);
}

TEST_F(RunLoopTest, OneShotTimerFiresOnceAndInvalidatesItself)
{
	cf::ManualClock clock(0.0);
	Recorder recorder;
	Tick tick{&recorder, 7};
	CFRunLoopTimerRef timer = makeTimer(tick, 0.1, 0);
	CFRunLoopAddTimer(CFRunLoopGetMain(), timer, kCFRunLoopDefaultMode);
	EXPECT_EQ(CFGetRetainCount(timer), 2); // the loop holds its own reference
	EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 1.0, true), kCFRunLoopRunHandledSource);
	ASSERT_EQ(recorder.fires.size(), 1u);
	EXPECT_NEAR(recorder.fires[0].second, 0.1, 1e-9);
	EXPECT_FALSE(CFRunLoopTimerIsValid(timer));
	EXPECT_EQ(CFGetRetainCount(timer), 1);
	CFRelease(timer);
}

TEST_F(RunLoopTest, DueTimersFireByDateThenByOrder)
{
	cf::ManualClock clock(0.0);
	Recorder recorder;
	Tick a{&recorder, 1}, b{&recorder, 2}, c{&recorder, 3};
	CFRunLoopTimerRef late = makeTimer(a, 0.2, 0);
	CFRunLoopTimerRef secondOrder = makeTimer(b, 0.1, 0, 5);
	CFRunLoopTimerRef firstOrder = makeTimer(c, 0.1, 0, -1);
	for (CFRunLoopTimerRef t : {late, secondOrder, firstOrder})
		CFRunLoopAddTimer(CFRunLoopGetMain(), t, kCFRunLoopDefaultMode);
	clock.advance(1.0);
	CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false);
	ASSERT_EQ(recorder.fires.size(), 3u);
	EXPECT_EQ(recorder.fires[0].first, 3);
	EXPECT_EQ(recorder.fires[1].first, 2);
	EXPECT_EQ(recorder.fires[2].first, 1);
	for (CFRunLoopTimerRef t : {late, secondOrder, firstOrder})
		CFRelease(t);
}

TEST_F(RunLoopTest, CommonModesReachModalLoopsButAPlainModeDoesNot)
{
	cf::ManualClock clock(0.0);
	Recorder recorder;
	Tick common{&recorder, 1}, plain{&recorder, 2};
	CFRunLoopTimerRef t1 = makeTimer(common, 0.01, 0);
	CFRunLoopTimerRef t2 = makeTimer(plain, 0.01, 0);
	CFRunLoopAddTimer(CFRunLoopGetMain(), t1, kCFRunLoopCommonModes);
	CFRunLoopAddTimer(CFRunLoopGetMain(), t2, kCFRunLoopDefaultMode);
	CFRunLoopRunInMode(CFSTR("NSModalPanelRunLoopMode"), 0.1, false);
	ASSERT_EQ(recorder.fires.size(), 1u);
	EXPECT_EQ(recorder.fires[0].first, 1);
	CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false);
	EXPECT_EQ(recorder.fires.size(), 2u);
	CFRelease(t1);
	CFRelease(t2);
}

TEST_F(RunLoopTest, ContextInfoIsRetainedByTheTimerAndReleasedWithIt)
{
	static int retains, releases;
	retains = releases = 0;
	int payload = 0;
	CFRunLoopTimerContext context = {0, &payload,
		[](const void* info) -> const void* { ++retains; return info; },
		[](const void*) { ++releases; }, nullptr};
	CFRunLoopTimerRef timer = CFRunLoopTimerCreate(nullptr, 0, 0.05, 0, 0, recordFire, &context);
	EXPECT_EQ(retains, 1);
	CFRunLoopAddTimer(CFRunLoopGetMain(), timer, kCFRunLoopCommonModes);
	CFRunLoopTimerInvalidate(timer);
	EXPECT_EQ(releases, 0);
	CFRelease(timer);
	EXPECT_EQ(releases, 1);
}

TEST_F(RunLoopTest, WithoutTimersARunFinishesAtOnce)
{
	EXPECT_EQ(CFRunLoopRunInMode(CFSTR("an-empty-mode"), 0, false), kCFRunLoopRunFinished);
}

TEST_F(RunLoopTest, WorkPostedFromAnotherThreadRunsOnTheLoopThreadInOrder)
{
	std::vector<int> order;
	std::thread other([&] {
		for (int i = 0; i < 3; ++i)
			cf::performOnRunLoop(CFRunLoopGetMain(), [&order, i] { order.push_back(i); });
	});
	// The wall clock runs here: the loop waits for the posted work and wakes when it arrives.
	while (order.size() < 3)
		CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.5, true);
	other.join();
	EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
	EXPECT_EQ(cf::pendingWorkCount(CFRunLoopGetMain()), 0u);
}

TEST_F(RunLoopTest, StopFromAnotherThreadEndsAWaitingRun)
{
	std::thread stopper([] {
		std::this_thread::sleep_for(std::chrono::milliseconds(20));
		CFRunLoopStop(CFRunLoopGetMain());
	});
	EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 10.0, false), kCFRunLoopRunStopped);
	stopper.join();
}

TEST_F(RunLoopTest, OtherThreadsHaveTheirOwnLoop)
{
	CFRunLoopRef seen = nullptr;
	std::thread other([&] { seen = CFRunLoopGetCurrent(); });
	other.join();
	EXPECT_NE(seen, CFRunLoopGetMain());
	EXPECT_EQ(CFRunLoopGetCurrent(), CFRunLoopGetMain());
}

TEST_F(RunLoopTest, ManualClockReplacesTheSystemClockOnlyWhileItLives)
{
	{
		cf::ManualClock clock(5.0);
		EXPECT_EQ(CFAbsoluteTimeGetCurrent(), 5.0);
		clock.advance(1.5);
		EXPECT_EQ(CFAbsoluteTimeGetCurrent(), 6.5);
	}
	// 2020-01-01 lies 599,616,000 s after the reference date.
	EXPECT_GT(CFAbsoluteTimeGetCurrent(), 599616000.0);
}

TEST_F(RunLoopTest, ATimerThatInvalidatesItselfStopsAndARescheduledOneMoves)
{
	cf::ManualClock clock(0.0);
	static int fires;
	fires = 0;
	CFRunLoopTimerRef self = CFRunLoopTimerCreate(nullptr, 0.01, 0.01, 0, 0,
		[](CFRunLoopTimerRef t, void*) {
			if (++fires == 2)
				CFRunLoopTimerInvalidate(t);
		},
		nullptr);
	CFRunLoopAddTimer(CFRunLoopGetMain(), self, kCFRunLoopDefaultMode);
	CFRunLoopRunInMode(kCFRunLoopDefaultMode, 1.0, false);
	EXPECT_EQ(fires, 2);
	CFRelease(self);

	Recorder recorder;
	Tick tick{&recorder, 1};
	CFRunLoopTimerRef moved = makeTimer(tick, clock.now() + 0.1, 0);
	CFRunLoopAddTimer(CFRunLoopGetMain(), moved, kCFRunLoopDefaultMode);
	CFRunLoopTimerSetNextFireDate(moved, clock.now() + 0.5);
	CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.3, false);
	EXPECT_TRUE(recorder.fires.empty());
	CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.3, false);
	ASSERT_EQ(recorder.fires.size(), 1u);
	CFRelease(moved);
}

TEST_F(RunLoopTest, ATimerRemovedFromOneModeStillFiresInTheOther)
{
	cf::ManualClock clock(0.0);
	Recorder recorder;
	Tick tick{&recorder, 1};
	CFRunLoopTimerRef timer = makeTimer(tick, 0.1, 0);
	CFRunLoopAddTimer(CFRunLoopGetMain(), timer, kCFRunLoopDefaultMode);
	CFRunLoopAddTimer(CFRunLoopGetMain(), timer, CFSTR("NSEventTrackingRunLoopMode"));
	EXPECT_EQ(CFGetRetainCount(timer), 2); // one reference per loop, whatever the modes
	CFRunLoopRemoveTimer(CFRunLoopGetMain(), timer, kCFRunLoopDefaultMode);
	CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.2, false);
	EXPECT_TRUE(recorder.fires.empty());
	CFRunLoopRunInMode(CFSTR("NSEventTrackingRunLoopMode"), 0.2, false);
	EXPECT_EQ(recorder.fires.size(), 1u);
	EXPECT_EQ(CFGetRetainCount(timer), 1);
	CFRelease(timer);
}
