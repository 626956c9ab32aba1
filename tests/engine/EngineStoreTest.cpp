#include <gtest/gtest.h>

#include <cstring>

#include "EngineTestSupport.h"
#include "LogCapture.h"
#include "QuietEngineListener.h"
#include "RecordingEngineListener.h"
#include "synth/ParameterConverter.h"

using namespace zentlib;

namespace
{
class EngineStore : public ::testing::Test
{
protected:
	RecordingEngineListener listener;
	Engine engine{&listener};
};
}

TEST(EngineConstruction, LoadsTheFactoryStoreAndLogsTheTwoWheelModes)
{
	RecordingEngineListener listener;
	LogCapture log;
	Engine engine(&listener);
	EXPECT_EQ(engine.singles.size(), 768u);
	EXPECT_EQ(engine.factorySingles.size(), 768u);
	EXPECT_EQ(engine.currentSingle, 0u);
	int wheelModeLines = 0;
	for (const auto& text : log.texts())
		wheelModeLines += text.rfind("Invalid vibrato wheel mode", 0) == 0;
	EXPECT_EQ(wheelModeLines, 2);
	EXPECT_TRUE(listener.calls.empty()) << "construction announces nothing";
	for (size_t i = 0; i < 768; ++i)
		ASSERT_FALSE(engine.isSingleModified(i)) << i;
}

TEST(EngineNaming, NumbersAndStorageNames)
{
	EXPECT_EQ(Engine::getSingleNumberAsName(0), "IA-1");
	EXPECT_EQ(Engine::getSingleNumberAsName(31), "ID-8");
	EXPECT_EQ(Engine::getSingleNumberAsName(32), "iA-1");
	EXPECT_EQ(Engine::getSingleNumberAsName(63), "iD-8");
	EXPECT_EQ(Engine::getSingleNumberAsName(64), "EA-1");
	EXPECT_EQ(Engine::getSingleNumberAsName(95), "ED-8");
	EXPECT_EQ(Engine::getSingleNumberAsName(96), "eA-1");
	EXPECT_EQ(Engine::getSingleNumberAsName(100), "eA-5");
	EXPECT_EQ(Engine::getSingleNumberAsName(767), "eD-8");
	EXPECT_EQ(Engine::getStorageName(63), "Zent Int");
	EXPECT_EQ(Engine::getStorageName(64), "ROM R3-01");
	EXPECT_EQ(Engine::getStorageName(767), "ROM T3-03");
	EXPECT_EQ(Engine::getStorageName(768), "");
}

TEST_F(EngineStore, SwitchingSinglesLogsDumpsAndReports)
{
	{
		LogCapture log;
		EXPECT_TRUE(engine.setSingle(0));
		EXPECT_TRUE(log.lines().empty());
	}
	EXPECT_TRUE(listener.calls.empty());

	LogCapture log;
	EXPECT_TRUE(engine.setSingle(5));
	const auto texts = log.texts();
	ASSERT_GE(texts.size(), 2u);
	EXPECT_EQ(texts[0], "Switching to single 5");
	EXPECT_EQ(texts[1].rfind("Single ", 0), 0u);
	EXPECT_EQ(listener.calls, std::vector<std::string>{"program 5"});
	EXPECT_EQ(engine.pitchBendRange, int32_t(engine.singles[5].pitchBendDepth));
	EXPECT_FALSE(engine.setSingle(768));
}

TEST_F(EngineStore, StoringASingleReportsOnlyRealChanges)
{
	SinglePreset preset = engine.singles[5];
	EXPECT_TRUE(engine.setSingle(5, preset));
	EXPECT_TRUE(listener.calls.empty());

	preset.sources[0].envAttack = (preset.sources[0].envAttack + 1) % 100;
	EXPECT_TRUE(engine.setSingle(5, preset));
	EXPECT_EQ(listener.calls, std::vector<std::string>{"single 5"});
	EXPECT_TRUE(engine.isSingleModified(5));

	listener.clear();
	engine.setSingle(5);
	listener.clear();
	preset.sources[0].envAttack = (preset.sources[0].envAttack + 1) % 100;
	EXPECT_TRUE(engine.setSingle(5, preset));
	EXPECT_EQ(listener.calls, (std::vector<std::string>{"active 5", "single 5"}));

	listener.clear();
	EXPECT_TRUE(engine.restoreFactorySingle(5));
	EXPECT_FALSE(engine.isSingleModified(5));
	EXPECT_FALSE(engine.restoreFactorySingle(5));
	EXPECT_FALSE(engine.setSingle(768, preset));
}

TEST_F(EngineStore, StoringARun)
{
	std::vector<SinglePreset> nine(engine.singles.begin() + 760, engine.singles.end());
	nine.push_back(nine.front());
	EXPECT_FALSE(engine.setSingles(760, nine));
	EXPECT_FALSE(engine.setSingles(0, {}));

	std::vector<SinglePreset> same(engine.singles.begin(), engine.singles.begin() + 4);
	EXPECT_FALSE(engine.setSingles(0, same));
	EXPECT_TRUE(listener.calls.empty());

	same[2].volume = static_cast<uint8_t>((same[2].volume + 1) % 100);
	same[0].volume = static_cast<uint8_t>((same[0].volume + 1) % 100);
	EXPECT_TRUE(engine.setSingles(0, same));
	EXPECT_EQ(listener.calls, (std::vector<std::string>{"active 0", "singles 0 4"}));
}

TEST_F(EngineStore, RenamingPadsToTenCharacters)
{
	SinglePreset preset = engine.singles[0];
	std::memset(preset.name, 0, sizeof(preset.name));
	std::memcpy(preset.name, "Piano", 5);
	engine.setSingle(0, preset);
	listener.clear();

	engine.setCurrentSingleName("Piano");
	EXPECT_EQ(std::memcmp(engine.singles[0].name, "Piano     \0", 11), 0);
	EXPECT_EQ(listener.calls, std::vector<std::string>{"active 0"});

	listener.clear();
	engine.setCurrentSingleName("Piano");
	EXPECT_TRUE(listener.calls.empty()) << "same ten characters: no change";

	engine.setCurrentSingleName("Twelve chars");
	EXPECT_EQ(std::string(engine.singles[0].name, 10), "Twelve cha");
}

TEST_F(EngineStore, SwappingSources)
{
	EXPECT_FALSE(engine.swapSources(1, 1));
	EXPECT_FALSE(engine.swapSources(0, 4));

	SinglePreset preset = engine.singles[0];
	preset.sources[1] = preset.sources[0];
	preset.mute[0] = true;
	engine.setSingle(0, preset);
	listener.clear();
	EXPECT_TRUE(engine.swapSources(0, 1));
	EXPECT_TRUE(listener.calls.empty()) << "equal sources: nothing changed";

	preset.sources[1].wave = static_cast<uint8_t>(preset.sources[0].wave + 1);
	engine.setSingle(0, preset);
	listener.clear();
	EXPECT_TRUE(engine.swapSources(0, 1));
	EXPECT_EQ(engine.singles[0].sources[0].wave, preset.sources[1].wave);
	EXPECT_TRUE(engine.singles[0].mute[0]) << "mute flags stay in place";
	EXPECT_EQ(listener.calls, (std::vector<std::string>{"active 0", "single 0"}));
}

TEST_F(EngineStore, ParametersFollowTheCurrentSingle)
{
	engine.setSingle(100);
	int volume = 0;
	ParameterConverter::getValue(volume, Param_Volume, engine.singles[100]);
	const CParam& record = g_params[Param_Volume];
	EXPECT_FLOAT_EQ(engine.parameters.vstParams[Param_Volume], (float(volume) - record.min) / record.range);
}

TEST(EngineDump, DescribesEverySourceOfTheSingle)
{
	Engine engine(QuietEngineListener::instance());
	SinglePreset single;
	std::copy_n("Bell Pad", 9, single.name);
	single.ampModS1S2 = 2;
	single.ampModS3S4 = 1;
	single.source2or4 = 0; // all four are described whatever sounds
	for (uint32_t s = 0; s < 4; ++s)
	{
		SingleSource& source = single.sources[s];
		source.coarse = 84 - s;
		source.fine = 50 + s;
		source.wave = static_cast<uint8_t>(s * 70);
		source.envLevel = 99 - s;
		source.envDelay = s;
		source.envAttack = 10 + s;
		source.envDecay = 20 + s;
		source.envSustain = 30 + s;
		source.envRelease = 40 + s;
	}
	LogCapture log;
	engine.dumpSingle(single);
	auto lines = log.lines();
	ASSERT_FALSE(lines.empty());
	EXPECT_EQ(lines.front().rfind("dumpSingle@", 0), 0u) << "one message with the usual prefix";
	lines.front() = lines.front().substr(lines.front().find(": ") + 2);
	std::vector<std::string> expected = {"Single Bell Pad:"};
	for (uint32_t s = 0; s < 4; ++s)
	{
		expected.push_back(" S" + std::to_string(s + 1) + ":");
		expected.push_back("  coarse=" + std::to_string(84 - s) + ", fine=" + std::to_string(50 + s));
		expected.push_back("  wave=" + std::to_string(s * 70) + " " + Waveforms::getName(static_cast<uint8_t>(s * 70)));
		expected.push_back("  env: level=" + std::to_string(99 - s) + ", dadsr=" + std::to_string(s) + " " +
		                   std::to_string(10 + s) + " " + std::to_string(20 + s) + " " + std::to_string(30 + s) + " " +
		                   std::to_string(40 + s));
	}
	expected.push_back("ampMod S1S2=2, S3S4=1");
	expected.push_back("");
	EXPECT_EQ(lines, expected);
}
