#include "RunLoop.h"

#include "vstgui/lib/cvstguitimer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace VSTGUI;

TEST (Timer, FiresEveryIntervalFromOneIntervalAfterStart)
{
	RunLoop loop;
	std::vector<long> fired;
	auto* timer = new CVSTGUITimer ([&] (CVSTGUITimer*) { fired.push_back (loop.nowMs ()); }, 100);
	loop.advance (99);
	EXPECT_TRUE (fired.empty ());
	loop.advance (251);
	EXPECT_EQ (fired, (std::vector<long> {100, 200, 300}));
	EXPECT_TRUE (timer->stop ());
	EXPECT_FALSE (timer->stop ());
	loop.advance (1000);
	EXPECT_EQ (fired.size (), 3u);
	EXPECT_TRUE (timer->start ());
	loop.advance (101);
	EXPECT_EQ (fired.size (), 4u);
	timer->forget ();
}

TEST (Timer, ReleasingItselfInsideTheCallbackIsSafe)
{
	RunLoop loop;
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
}

TEST (Timer, SequencesRunInTimeOrderWithoutSleeping)
{
	RunLoop loop;
	std::vector<std::string> steps;
	auto* slow = new CVSTGUITimer ([&] (CVSTGUITimer* t) { steps.push_back ("slow"); t->stop (); }, 2000);
	auto* fast = new CVSTGUITimer ([&] (CVSTGUITimer* t) { steps.push_back ("fast"); t->stop (); }, 500);
	bool later = false;
	Call::later ([&] { later = true; }, 10);
	loop.advance (2001);
	EXPECT_EQ (steps, (std::vector<std::string> {"fast", "slow"}));
	EXPECT_TRUE (later);
	slow->forget ();
	fast->forget ();
}

TEST (Timer, NotifiesATargetObjectAndChangesItsInterval)
{
	RunLoop loop;
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
	loop.advance (101);
	EXPECT_EQ (target.count, 2);
	EXPECT_TRUE (timer->setFireTime (10));
	EXPECT_EQ (timer->getFireTime (), 10u);
	loop.advance (101);
	EXPECT_EQ (target.count, 12);
	timer->forget ();
}
