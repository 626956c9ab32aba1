#include "vstgui/lib/cvstguitimer.h"
#include "vstgui/lib/platform/timerrunloop.h"

#include <gtest/gtest.h>

using namespace VSTGUI;

TEST (Timer, FiresEveryIntervalFromOneIntervalAfterStart)
{
	auto& loop = TimerRunLoop::instance ();
	std::vector<uint64_t> fired;
	auto* timer = new CVSTGUITimer ([&] (CVSTGUITimer*) { fired.push_back (loop.now ()); }, 100);
	const uint64_t start = loop.now ();
	loop.advance (99);
	EXPECT_TRUE (fired.empty ());
	loop.advance (251);
	EXPECT_EQ (fired, (std::vector<uint64_t> {start + 100, start + 200, start + 300}));
	EXPECT_TRUE (timer->stop ());
	EXPECT_FALSE (timer->stop ());
	loop.advance (1000);
	EXPECT_EQ (fired.size (), 3u);
	timer->forget ();
}

TEST (Timer, ReleasingItselfInsideTheCallbackIsSafe)
{
	auto& loop = TimerRunLoop::instance ();
	int calls = 0;
	CVSTGUITimer* timer = nullptr;
	timer = new CVSTGUITimer (
	    [&] (CVSTGUITimer* t) {
		    ++calls;
		    EXPECT_EQ (t, timer);
		    t->forget ();
		    timer = nullptr;
	    },
	    2000);
	loop.advance (5000);
	EXPECT_EQ (calls, 1);
	EXPECT_EQ (timer, nullptr);
	EXPECT_EQ (loop.runningTimers (), 0u);
}

TEST (Timer, SequencesRunInTimeOrderWithoutSleeping)
{
	auto& loop = TimerRunLoop::instance ();
	std::vector<std::string> steps;
	auto* slow = new CVSTGUITimer ([&] (CVSTGUITimer* t) { steps.push_back ("slow"); t->stop (); }, 2000);
	auto* fast = new CVSTGUITimer ([&] (CVSTGUITimer* t) { steps.push_back ("fast"); t->stop (); }, 500);
	bool later = false;
	Call::later ([&] { later = true; }, 10);
	loop.advance (2000);
	EXPECT_EQ (steps, (std::vector<std::string> {"fast", "slow"}));
	EXPECT_TRUE (later);
	slow->forget ();
	fast->forget ();
}

TEST (Timer, NotifiesATargetObject)
{
	struct Target : CBaseObject
	{
		CMessageResult notify (CBaseObject*, IdStringPtr message) override
		{
			if (message == kMsgTimer)
				++count;
			return kMessageNotified;
		}
		int count {0};
	};
	Target target;
	auto* timer = new CVSTGUITimer (&target, 50, true);
	TimerRunLoop::instance ().advance (100);
	EXPECT_EQ (target.count, 2);
	timer->forget ();
}
