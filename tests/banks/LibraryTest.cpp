#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "LogCapture.h"
#include "Rules.h"
#include "Survey.h"

// The factory library as a player meets it, rendered through the plug-in facade: every single
// levelled, chords with headroom, swells that swell, one-shots that do not strike again, pitch
// settings that reach a source, and no two singles that sound or are named alike. The facade logs
// every program change, so the rendering runs under a log capture and the checks after it.
namespace
{
constexpr size_t Singles = 768;
constexpr size_t PerStorage = 64;

// The sanitizer builds play every eighth single of a storage and leave out the library-wide
// sweeps; the plain build plays and compares them all.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr size_t Stride = 8;
constexpr bool Sweeps = false;
#else
constexpr size_t Stride = 1;
constexpr bool Sweeps = true;
#endif

std::vector<zentlib::SinglePreset> allSingles()
{
	LogCapture quiet;
	banks::Audition audition;
	std::vector<zentlib::SinglePreset> singles;
	for (size_t i = 0; i < audition.singleCount(); ++i)
		singles.push_back(audition.single(i));
	return singles;
}

struct Played
{
	size_t index;
	banks::NoteSurvey note;
	double chordDb;
};

class LibraryStorage : public testing::TestWithParam<size_t>
{
};
}

TEST_P(LibraryStorage, SinglesPlayCleanlyStrikeOnceAndLeaveChordsHeadroom)
{
	std::vector<Played> played;
	{
		LogCapture quiet;
		banks::Audition audition;
		for (size_t i = GetParam() * PerStorage; i < (GetParam() + 1) * PerStorage; i += Stride)
			played.push_back({i, banks::surveyNote(audition, i), banks::surveyChordPeakDb(audition, i)});
	}
	size_t withHeadroom = 0;
	for (const Played& p : played)
	{
		SCOPED_TRACE("single " + std::to_string(p.index) + " " + p.note.name);
		EXPECT_TRUE(p.note.finite);
		EXPECT_GE(p.note.peakDb, -24.0);
		EXPECT_LE(p.note.peakDb, -3.0);
		EXPECT_TRUE(p.note.strikes.empty()) << "a one-shot strikes again after " << p.note.strikes.front() << " s";
		EXPECT_LE(p.chordDb, 0.0);
		withHeadroom += p.chordDb <= -1.0;
	}
	// Every voice starts its waves in phase, as the instrument does; the levels leave room for it.
	EXPECT_GE(withHeadroom * 100, played.size() * 95) << withHeadroom << " of " << played.size() << " chords keep 1 dB of headroom";
}

INSTANTIATE_TEST_SUITE_P(Storages, LibraryStorage, testing::Range(size_t{0}, size_t{12}));

TEST(Library, PadsStringsChoirsAndBrassSwellsTakeTheirTime)
{
	if (!Sweeps)
		GTEST_SKIP() << "library-wide sweep: plain build only";
	size_t slow = 0;
	{
		LogCapture quiet;
		banks::Audition audition;
		for (size_t i = 0; i < Singles; ++i)
			slow += banks::surveyNote(audition, i).secondsToPeak >= 0.2;
	}
	EXPECT_GE(slow, 48u) << "singles that take 200 ms or more to come within 3 dB of their peak";
}

TEST(Library, PitchSettingsReachASourceAndNamesBelongToOneSound)
{
	std::map<std::string, zentlib::SinglePreset> byName;
	for (const zentlib::SinglePreset& single : allSingles())
	{
		SCOPED_TRACE(single.name);
		EXPECT_FALSE(banks::pitchModulationReachesNoSource(single));
		// The internal storage holds copies of ROM singles; a copy may share its name.
		const auto [it, fresh] = byName.emplace(single.name, single);
		EXPECT_TRUE(fresh || it->second == single) << "the name is used by two different singles";
	}
}

TEST(Library, OneShotSourcesEndBeforeTheirWaveComesRound)
{
	// Rendered, a second strike shows only where it leaps out of the rest; this holds every heard
	// source to it at every key up to C5.
	for (const zentlib::SinglePreset& single : allSingles())
		EXPECT_EQ(banks::sourceReplayingOneShot(single, 72), -1) << single.name;
}

TEST(Library, NoTwoSinglesOutsideTheInternalCopiesSoundAlike)
{
	if (!Sweeps)
		GTEST_SKIP() << "library-wide sweep: plain build only";
	std::vector<std::array<banks::Print, banks::PrintKeys.size()>> prints;
	std::vector<std::string> names;
	{
		LogCapture quiet;
		banks::Audition audition;
		for (size_t i = PerStorage; i < Singles; ++i)
		{
			prints.push_back(banks::surveyPrints(audition, i));
			names.push_back(audition.single(i).name);
		}
	}
	for (size_t a = 0; a < prints.size(); ++a)
		for (size_t b = a + 1; b < prints.size(); ++b)
			EXPECT_GE(banks::twinDistanceDb(prints[a], prints[b]), banks::TwinDistanceDb) << names[a] << " and " << names[b];
}
