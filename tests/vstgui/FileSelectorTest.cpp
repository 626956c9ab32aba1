#include "vstgui/lib/cfileselector.h"
#include "vstgui/lib/platform/scriptedfileselector.h"

#include <gtest/gtest.h>

using namespace VSTGUI;

namespace
{
const CFileExtension kSyx ("Sysex File (*.syx)", "syx");
const CFileExtension kMid ("Midi File (*.mid)", "mid");
}

TEST (FileExtension, ComparesLooselyByAnyIdentification)
{
	// Two empty MIME types match, so these two are "equal".
	EXPECT_TRUE (kSyx == kMid);
	CFileExtension typedSyx ("a", "syx", "audio/x-syx", 0, "public.syx");
	CFileExtension typedMid ("b", "mid", "audio/midi", 0, "public.midi");
	EXPECT_FALSE (typedSyx == typedMid);
	EXPECT_TRUE (typedSyx == CFileExtension ("c", "syx", "x/y", 0, "u"));
	EXPECT_TRUE (CFileExtension ("a", "x", "m1", 0x54455854, "u1") == CFileExtension ("b", "y", "m2", 0x54455854, "u2"));
	EXPECT_EQ (kSyx.getDescription (), "Sysex File (*.syx)");
	EXPECT_EQ (kSyx.getMacType (), 0);
}

TEST (FileSelector, DefaultExtensionIsTheFirstEqualOneAddedWhenMissingAndSetOnce)
{
	ScriptedFileSelectors selectors;
	auto selector = owned (CNewFileSelector::create (nullptr, CNewFileSelector::kSelectFile));
	ASSERT_TRUE (selector);
	selector->setDefaultExtension (kMid);
	ASSERT_EQ (selector->getExtensions ().size (), 1u);
	EXPECT_EQ (selector->getDefaultExtension ()->getExtension (), "mid");
	selector->setDefaultExtension (kSyx);
	EXPECT_EQ (selector->getDefaultExtension ()->getExtension (), "mid");

	auto other = owned (CNewFileSelector::create (nullptr, CNewFileSelector::kSelectFile));
	other->addFileExtension (kSyx);
	other->addFileExtension (kMid);
	other->setDefaultExtension (kMid);
	EXPECT_EQ (other->getExtensions ().size (), 2u);
	EXPECT_EQ (other->getDefaultExtension (), &other->getExtensions ().front ());
}

TEST (FileSelector, ScriptedAnswersConfirmOrCancelAndEveryRequestIsRecorded)
{
	ScriptedFileSelectors selectors;
	selectors.queueChoice ({"/tmp/a.syx", "/tmp/b.syx"});
	selectors.queueCancel ();

	auto save = owned (CNewFileSelector::create (nullptr, CNewFileSelector::kSelectSaveFile));
	save->addFileExtension (kSyx);
	save->setDefaultExtension (kSyx);
	save->setTitle ("Choose a sysex file");
	EXPECT_TRUE (save->runModal ());
	ASSERT_EQ (save->getNumSelectedFiles (), 2u);
	EXPECT_STREQ (save->getSelectedFile (0), "/tmp/a.syx");
	EXPECT_EQ (save->getSelectedFile (2), nullptr);

	auto open = owned (CNewFileSelector::create (nullptr, CNewFileSelector::kSelectFile));
	bool called = false;
	open->run ([&] (CNewFileSelector*) { called = true; });
	EXPECT_FALSE (called);
	EXPECT_EQ (open->getNumSelectedFiles (), 0u);
	EXPECT_FALSE (open->runModal ());

	ASSERT_EQ (selectors.requests ().size (), 3u);
	const auto& first = selectors.requests ()[0];
	EXPECT_EQ (first.style, CNewFileSelector::kSelectSaveFile);
	EXPECT_EQ (first.title, "Choose a sysex file");
	EXPECT_EQ (first.extensions, (std::vector<std::string> {"syx"}));
	EXPECT_EQ (first.defaultExtension, "syx");

	selectors.setUnavailable (true);
	EXPECT_EQ (CNewFileSelector::create (nullptr, CNewFileSelector::kSelectFile), nullptr);
}
