#include "vstgui/lib/cfileselector.h"
#include "vstgui/lib/platform/scriptedfileselector.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

#include <CoreFoundation/CFStandIn.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

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

namespace
{
// Puts a stand-in "zenity" first on the PATH for the life of the object.
struct FakeZenity
{
	explicit FakeZenity (const std::string& script)
	{
		dir = std::filesystem::temp_directory_path () / ("fake-zenity-" + std::to_string (getpid ()));
		std::filesystem::create_directories (dir);
		std::ofstream (dir / "zenity") << "#!/bin/sh\n" << script;
		std::filesystem::permissions (dir / "zenity", std::filesystem::perms::owner_all);
		const char* old = getenv ("PATH");
		oldPath = old ? old : "";
		setenv ("PATH", (dir.string () + ":" + oldPath).c_str (), 1);
	}
	~FakeZenity ()
	{
		setenv ("PATH", oldPath.c_str (), 1);
		std::filesystem::remove_all (dir);
	}
	std::string arguments () const
	{
		std::ifstream in (dir / "args");
		return std::string (std::istreambuf_iterator<char> (in), {});
	}

	std::filesystem::path dir;
	std::string oldPath;
};
}

namespace
{
struct OneWindowDialogHost : cf::DialogHost
{
	unsigned long dialogParentWindow () override { return 77; }
	void whileDialogOpen () override {}
};
}

TEST (FileSelector, AsksZenityWithTheFiltersAndReadsTheChosenPaths)
{
	OneWindowDialogHost host;
	cf::DialogHost* previousHost = cf::setDialogHost (&host);
	FakeZenity zenity ("for a in \"$@\"; do echo \"$a\" >> \"$(dirname \"$0\")/args\"; done\n"
	                   "echo '/home/someone/My Bank.syx'\n");
	auto selector = owned (CNewFileSelector::create (nullptr, CNewFileSelector::kSelectSaveFile));
	selector->addFileExtension (kSyx);
	selector->addFileExtension (CFileExtension ("Midi File (*.mid)", "mid", "audio/midi"));
	// Loose matching: the first listed filter (empty UTIs match) becomes the default.
	selector->setDefaultExtension (CFileExtension ("x", "mid", "audio/midi"));
	selector->setTitle ("Choose a sysex file; rm -rf ~");
	selector->setInitialDirectory ("/home/someone");
	selector->setDefaultSaveName ("bank.syx");
	ASSERT_TRUE (selector->runModal ());
	ASSERT_EQ (selector->getNumSelectedFiles (), 1u);
	EXPECT_STREQ (selector->getSelectedFile (0), "/home/someone/My Bank.syx");
	EXPECT_EQ (zenity.arguments (), "--file-selection\n--save\n--confirm-overwrite\n"
	                                "--title=Choose a sysex file; rm -rf ~\n--filename=/home/someone/bank.syx\n"
	                                "--file-filter=Sysex File (*.syx) | *.[sS][yY][xX]\n"
	                                "--file-filter=Midi File (*.mid) | *.[mM][iI][dD]\n--attach=77\n--modal\n");
	cf::setDialogHost (previousHost);
}

TEST (FileSelector, ACancelledOrMissingZenityConfirmsNothing)
{
	{
		FakeZenity zenity ("exit 1\n");
		auto selector = owned (CNewFileSelector::create (nullptr, CNewFileSelector::kSelectFile));
		EXPECT_FALSE (selector->runModal ());
		EXPECT_EQ (selector->getNumSelectedFiles (), 0u);
	}
	const char* old = getenv ("PATH");
	std::string saved = old ? old : "";
	setenv ("PATH", "/nonexistent", 1);
	LogCapture log;
	auto selector = owned (CNewFileSelector::create (nullptr, CNewFileSelector::kSelectFile));
	EXPECT_FALSE (selector->runModal ());
	setenv ("PATH", saved.c_str (), 1);
	EXPECT_EQ (log.texts (), (std::vector<std::string> {"Cannot start zenity for the file dialog"}));
}

// A bare name comes back as typed, for the caller to complete; an existing file of the name completed with the
// chosen type's extension is replaced only after the person said so; declining brings the dialog back.
TEST (FileSelector, SavingABareNameNeverReplacesItsCompletedFileUnasked)
{
	const auto dir = std::filesystem::temp_directory_path () / ("save-" + std::to_string (getpid ()));
	std::filesystem::create_directories (dir);
	std::ofstream (dir / "bank.syx") << "keep";
	// Answers: the name "bank", then no to replacing, then "bank" again, then yes.
	FakeZenity zenity ("d=$(dirname \"$0\"); echo \"$*\" >> \"$d/args\"\n"
	                   "case \"$1\" in --question) n=$(cat \"$d/no\" 2>/dev/null); echo x >> \"$d/no\"; [ -n \"$n\" ];;\n"
	                   "*) echo '" + (dir / "bank").string () + "';; esac\n");
	auto selector = owned (CNewFileSelector::create (nullptr, CNewFileSelector::kSelectSaveFile));
	selector->addFileExtension (kSyx);
	selector->setDefaultExtension (kSyx);
	selector->setTitle ("Choose a sysex file");
	ASSERT_TRUE (selector->runModal ());
	EXPECT_STREQ (selector->getSelectedFile (0), (dir / "bank").c_str ());
	const std::string select = "--file-selection --save --confirm-overwrite --title=Choose a sysex file";
	const std::string filter = " --file-filter=Sysex File (*.syx) | *.[sS][yY][xX]\n";
	const std::string ask = "--question --no-markup --title=Choose a sysex file --text=A file named \"bank.syx\" already "
	                        "exists. Do you want to replace it? --ok-label=Replace --cancel-label=Cancel --default-cancel\n";
	EXPECT_EQ (zenity.arguments (), select + filter + ask + select + " --filename=" + (dir / "bank").string () + filter + ask);
	std::filesystem::remove_all (dir);
}
