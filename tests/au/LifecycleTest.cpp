#include "AuHost.h"

#include "LogCapture.h"

using namespace auhost;

TEST_F(AuTest, OpensInitialisesRendersAndCloses)
{
	LogCapture log;
	{
		Instance instance;
		ASSERT_EQ(instance.initialize(48000), noErr);
		std::vector<float> left, right;
		EXPECT_EQ(instance.render(512, left, right), noErr);
	}
	const auto texts = log.texts();
	ASSERT_GE(texts.size(), 4u);
	EXPECT_EQ(texts.front(), "AudioUnit constructed");
	EXPECT_EQ(texts.back(), "AudioUnit being destroyed");
}
