#include <gtest/gtest.h>

#include "LogCapture.h"
#include "synth/StaticArray.h"
#include "synth/log.h"

namespace
{
void logSomething(int value)
{
	ZENT_LOG("value is " << value);
}
}

TEST(Log, LineIsFunctionAtLineColonText)
{
	LogCapture log;
	logSomething(42);
	ASSERT_EQ(log.lines().size(), 1u);
	const std::string line = log.lines()[0];
	EXPECT_EQ(line.rfind("logSomething@", 0), 0u);
	EXPECT_NE(line.find(": value is 42"), std::string::npos);
}

TEST(Log, MultiLineMessageIsOneCallWithOneExtraBreak)
{
	LogCapture log;
	g_logUnix("first\nsecond");
	EXPECT_EQ(log.lines(), (std::vector<std::string>{"first", "second"}));
}

TEST(StaticArray, HoldsUpToItsCapacityInline)
{
	StaticArray<int, 3> a;
	EXPECT_TRUE(a.empty());
	a.push_back(1);
	a.push_back(2);
	a.resize(3);
	EXPECT_TRUE(a.full());
	EXPECT_EQ(a[2], 0);
	int sum = 0;
	for (int v : a)
		sum += v;
	EXPECT_EQ(sum, 3);
	a.pop_back();
	EXPECT_EQ(a.size(), 2u);
	static_assert(sizeof(StaticArray<int, 3>) <= 3 * sizeof(int) + 2 * sizeof(size_t), "elements are held inline");
}
