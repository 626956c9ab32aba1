#include "EditorHarness.h"
#include "TestData.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "DumpFile.h"
#include "synth/Engine.h"
#include "synth/Sysex.h"
#include "synth/data/zentdata.h"
#include "vstgui/lib/platform/scriptedfileselector.h"

using namespace VSTGUI;
using namespace zentlib;
namespace fs = std::filesystem;

namespace
{
// The window with scripted file dialogs and message boxes, and a folder of its own for the files.
struct FileActions : testing::Test
{
	FileActions() { fs::create_directories(dir); }
	~FileActions() override { fs::remove_all(dir); }

	std::string path(const std::string& name) const { return (dir / name).string(); }
	void write(const std::string& name, const std::vector<uint8_t>& bytes) const
	{
		std::ofstream(path(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
	}
	std::vector<SinglePreset> all()
	{
		std::vector<SinglePreset> out(h.plugin.getSingleCount());
		for (size_t i = 0; i < out.size(); ++i)
			h.plugin.getSingle(out[i], i);
		return out;
	}
	// Clicks the button and answers its file dialog with the file.
	void run(const std::string& button, const std::string& file)
	{
		files.queueChoice({file});
		h.click(button);
	}
	std::string lastMessage() const { return boxes.shown().empty() ? "" : boxes.shown().back().message; }
	void showPage(size_t offset)
	{
		for (int i = 0; i < 24; ++i)
			h.click("btBankDec");
		for (size_t i = 0; i < offset / 32; ++i)
			h.click("btBankInc");
	}

	const fs::path dir = fs::temp_directory_path() / ("virel-singles-" + std::to_string(getpid()));
	EditorHarness h;
	ScriptedFileSelectors files;
	cf::ScriptedUserNotifications boxes;
};

std::vector<SinglePreset> part(const std::vector<SinglePreset>& singles, size_t first, size_t count)
{
	return {singles.begin() + first, singles.begin() + first + count};
}

Sysex::SysexResult parse(const std::vector<uint8_t>& bytes)
{
	Sysex::SysexResult result;
	Sysex::readBuffer(result, bytes, 255);
	return result;
}

// A one-track Standard MIDI File whose only events are the messages, as SysEx events at time 0.
std::vector<uint8_t> midiFileOf(const std::vector<std::vector<uint8_t>>& messages)
{
	std::vector<uint8_t> track;
	for (const auto& m : messages)
	{
		track.insert(track.end(), {0x00, 0xF0});
		const size_t length = m.size() - 1;  // the bytes after F0, its closing F7 included
		for (int shift = 14; shift > 0; shift -= 7)
			if (length >> shift)
				track.push_back(uint8_t(0x80 | ((length >> shift) & 0x7F)));
		track.push_back(uint8_t(length & 0x7F));
		track.insert(track.end(), m.begin() + 1, m.end());
	}
	track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
	std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k'};
	for (int shift = 24; shift >= 0; shift -= 8)
		file.push_back(uint8_t(track.size() >> shift));
	file.insert(file.end(), track.begin(), track.end());
	return file;
}

std::vector<uint8_t> factoryImage()
{
	return {zentdata::getData_sysex_R301(), zentdata::getData_sysex_R301() + zentdata::getDataSize_sysex_R301()};
}
}

TEST_F(FileActions, ExportedSinglesAndPagesAreOneDumpToTheInternalMemoryAndImportBack)
{
	const std::vector<SinglePreset> before = all();
	h.plugin.setCurrentSingleIndex(100);
	run("btSingleExport", path("single"));
	const auto single = testdata::readBytes(path("single.syx"));
	ASSERT_EQ(single.size(), 97u);
	EXPECT_EQ(parse(single).singles, std::vector<SinglePreset>{before[100]});
	EXPECT_EQ(parse(single).location, 36u);  // internal memory, single 36 of its 64

	showPage(96);
	run("btBankExport", path("upper"));
	showPage(64);
	run("btBankExport", path("lower.syx"));
	const auto upper = testdata::readBytes(path("upper.syx")), lower = testdata::readBytes(path("lower.syx"));
	ASSERT_EQ(upper.size(), 2825u);
	EXPECT_EQ(parse(upper).singles, part(before, 96, 32));
	EXPECT_EQ(parse(upper).location, 32u);  // the upper half of the internal memory
	EXPECT_EQ(parse(lower).location, 0u);
	EXPECT_TRUE(boxes.shown().empty());

	// Back in: the single over the current one, the page over the page on show.
	h.plugin.setCurrentSingleIndex(5);
	run("btSingleImport", path("single.syx"));
	run("btBankImport", path("upper.syx"));
	const std::vector<SinglePreset> after = all();
	EXPECT_EQ(after[5], before[100]);
	EXPECT_EQ(part(after, 64, 32), part(before, 96, 32));
	EXPECT_TRUE(boxes.shown().empty());
	EXPECT_EQ(after[4], before[4]);
	EXPECT_EQ(after[96], before[96]);
}

TEST_F(FileActions, DialogsOfferTheirFileTypesAndNamesGetTheirExtensionOnce)
{
	for (const char* button : {"btSingleExport", "btSingleImport", "btBankExport", "btBankImport"})
		h.click(button);  // each dialog cancelled
	ASSERT_EQ(files.requests().size(), 4u);
	std::vector<std::string> seen;
	for (const auto& r : files.requests())
	{
		std::string types;
		for (const auto& e : r.extensions)
			types += e + " ";
		seen.push_back(std::to_string(r.style) + " " + types + "| " + r.defaultExtension + " | " + r.title);
	}
	EXPECT_EQ(seen, (std::vector<std::string>{"1 syx | syx | Choose a sysex file", "0 syx mid |  | Choose a sysex file",
	                                          "1 syx | syx | Choose a sysex file",
	                                          "0 syx mid | syx | Choose a sysex file"}));

	for (const char* name : {"bank", "bank.SYX", "old.syx.txt"})
		run("btSingleExport", path(name));
	EXPECT_TRUE(fs::exists(path("bank.syx")));
	EXPECT_TRUE(fs::exists(path("bank.SYX.syx")));
	EXPECT_TRUE(fs::exists(path("old.syx.txt")));
	EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);

	run("btSingleExport", path("missing/single"));
	EXPECT_EQ(lastMessage(), "Failed to create file");
	EXPECT_EQ(boxes.shown().size(), 1u);
}

TEST_F(FileActions, ForeignAndUnreadableFilesAreRefusedWithTheirMessageAndChangeNothing)
{
	REQUIRE_TESTDATA();
	const std::vector<SinglePreset> before = all();
	for (const auto& file : testdata::files("syx", ".syx"))
	{
		run("btSingleImport", file.string());
		EXPECT_EQ(lastMessage(), "Failed to import Sysex data") << file;
	}
	for (const auto& file : testdata::files("midi", ".mid"))
	{
		for (const char* button : {"btSingleImport", "btBankImport"})
		{
			run(button, file.string());
			EXPECT_TRUE(lastMessage() == "Failed to import Sysex data" || lastMessage() == "Failed to load file." ||
			            lastMessage() == "Failed to read file")
			    << file << " " << lastMessage();
		}
	}
	const fs::path midi = testdata::root() / "midi";
	run("btSingleImport", (midi / "jazzsoft-test-c-major-scale.mid").string());
	EXPECT_EQ(lastMessage(), "Failed to load file.");  // no SysEx in it, and not raw SysEx either
	run("btBankImport", (midi / "jazzsoft-test-c-major-scale.mid").string());
	EXPECT_EQ(lastMessage(), "Failed to read file");
	run("btBankImport", (midi / "jazzsoft-test-sysex-gs-40-1x-15-drum-part-change.mid").string());
	EXPECT_EQ(lastMessage(), "Failed to import Sysex data");
	write("notes.txt", {'F', '0', ' ', 'F', '7'});
	run("btSingleImport", path("notes.txt"));
	EXPECT_EQ(lastMessage(), "Failed to load file.");
	run("btBankImport", path("missing.syx"));
	EXPECT_EQ(lastMessage(), "Failed to read file");
	EXPECT_EQ(all(), before);
}

TEST_F(FileActions, PageImportsFillFromThePageAndAskBeforeGoingBeyondIt)
{
	const std::vector<SinglePreset> before = all();
	const std::vector<SinglePreset> bank = parse(factoryImage()).singles;  // two block dumps and a multi dump
	ASSERT_EQ(bank.size(), 64u);
	write("bank.syx", factoryImage());

	boxes.queueResponse(kCFUserNotificationDefaultResponse);
	run("btBankImport", path("bank.syx"));
	EXPECT_EQ(lastMessage(), "Imported file contains more singles than will fit on one page and will overwrite adjacent "
	                         "pages next to the currently displayed one. Please confirm to overwrite.");
	EXPECT_EQ(all(), before);
	boxes.queueResponse(kCFUserNotificationAlternateResponse);
	run("btBankImport", path("bank.syx"));
	EXPECT_EQ(part(all(), 0, 64), bank);

	std::vector<uint8_t> five, message;
	for (size_t i = 0; i < 5; ++i)
	{
		Sysex::writeSingle(message, before[700 + i], 3, InternalLow, static_cast<uint8_t>(i));
		five.insert(five.end(), message.begin(), message.end());
	}
	write("five.syx", five);
	showPage(32);
	run("btBankImport", path("five.syx"));
	EXPECT_EQ(part(all(), 32, 5), part(before, 700, 5));
	EXPECT_EQ(all()[37], bank[37]);

	// The last page takes a page without asking, and refuses what would run past the end.
	const size_t asked = boxes.shown().size();
	Sysex::writeSingles(message, part(bank, 0, 32), 0, InternalLow, 0);
	write("page.syx", message);
	showPage(736);
	run("btBankImport", path("page.syx"));
	EXPECT_EQ(boxes.shown().size(), asked);
	EXPECT_EQ(part(all(), 736, 32), part(bank, 0, 32));
	const std::vector<SinglePreset> full = all();
	run("btBankImport", path("bank.syx"));
	EXPECT_EQ(lastMessage(), "Imported file contains more singles than there is space left. Please select a lower page "
	                         "to start import.");
	EXPECT_EQ(all(), full);
}

TEST_F(FileActions, ASingleImportTakesExactlyOneSingle)
{
	const std::vector<SinglePreset> before = all();
	const std::vector<uint8_t> image = factoryImage();
	// The image's third message is its multi dump.
	auto start = image.begin();
	for (int k = 0; k < 2; ++k)
		start = std::find(start, image.end(), 0xF7) + 1;
	const std::vector<uint8_t> multis(start, image.end());
	ASSERT_TRUE(parse(multis).singles.empty() && !parse(multis).multis.empty());
	write("multis.syx", multis);
	run("btSingleImport", path("multis.syx"));
	EXPECT_EQ(lastMessage(), "File didn't contain any singles");
	write("bank.syx", image);
	run("btSingleImport", path("bank.syx"));
	EXPECT_EQ(lastMessage(), "File contained more than one single, please import as Bank");
	EXPECT_EQ(all(), before);
}

TEST_F(FileActions, ResetsNameTheFactorySingleAndRestoreOnlyWhenConfirmed)
{
	const std::vector<SinglePreset> before = all();
	h.plugin.setCurrentSingleName("Changed");
	h.click("btSingleReset");
	const SinglePreset factory = h.plugin.getFactorySingle(0);
	EXPECT_EQ(lastMessage(), "Do you want to reset the selected Single to factory defaults? Factory Preset is:\n\n"
	                         "Zent Int - IA-1 " + std::string(factory.name, strnlen(factory.name, 11)));
	EXPECT_TRUE(h.plugin.isSingleModified(0));
	boxes.queueResponse(kCFUserNotificationAlternateResponse);
	h.click("btSingleReset");
	EXPECT_EQ(all()[0], before[0]);

	SinglePreset edited = before[3];
	edited.volume ^= 1;
	h.plugin.setSingle(3, edited);
	h.plugin.setSingle(40, edited);
	h.click("btBankReset");
	EXPECT_EQ(lastMessage(), "Do you want to reset the selected page to factory defaults? This will discard all edits "
	                         "to 32 Singles!");
	EXPECT_TRUE(h.plugin.isSingleModified(3));
	boxes.queueResponse(kCFUserNotificationAlternateResponse);
	h.click("btBankReset");
	EXPECT_FALSE(h.plugin.isSingleModified(3));
	EXPECT_TRUE(h.plugin.isSingleModified(40));
}

TEST_F(FileActions, DumpsInsideAMidiFileImportLikeRawOnes)
{
	const std::vector<SinglePreset> before = all();
	std::vector<uint8_t> single, page;
	Sysex::writeSingle(single, before[300], 5, InternalHigh, 40);
	Sysex::writeSingles(page, part(before, 500, 32), 5, InternalLow, 0);
	write("single.mid", midiFileOf({single}));
	write("page.mid", midiFileOf({page}));

	h.plugin.setCurrentSingleIndex(7);
	run("btSingleImport", path("single.mid"));
	showPage(64);
	run("btBankImport", path("page.mid"));
	EXPECT_TRUE(boxes.shown().empty()) << lastMessage();
	const std::vector<SinglePreset> after = all();
	EXPECT_EQ(after[7], before[300]);
	EXPECT_EQ(part(after, 64, 32), part(before, 500, 32));
	// The page on show names what came in, marked as edited.
	const SinglePreset& first = before[500];
	EXPECT_EQ(h.viewAs<CTextLabel>("singleA0")->getText().getString(),
	          Engine::getSingleNumberAsName(64) + " " + std::string(first.name, strnlen(first.name, sizeof(first.name))) + "*");
}

namespace
{
// A page of 32 singles as a block dump, its record k damaged (a wrong checksum) or the dump cut after record k
// and closed by F7.
std::vector<uint8_t> pageDump(const std::vector<SinglePreset>& singles, size_t k, bool cut)
{
	std::vector<uint8_t> dump;
	Sysex::writeSingles(dump, singles, 0, InternalLow, 0);
	if (!cut)
	{
		dump[8 + 88 * k + 87] ^= 1;
		return dump;
	}
	dump.resize(8 + 88 * k);
	dump.push_back(0xF7);
	return dump;
}
}

// The reader keeps the records before a damaged one, and a dump cut short but closed by F7 reads as the records
// it still has; an import takes a file whole or not at all.
TEST_F(FileActions, DamagedOrCutDumpsChangeNothingInEitherImport)
{
	const std::vector<SinglePreset> before = all();
	const std::vector<SinglePreset> other = part(before, 500, 32);
	std::vector<uint8_t> one, twoRecords;
	Sysex::writeSingle(one, other[0], 0, InternalLow, 0);
	twoRecords = one;
	twoRecords.insert(twoRecords.end() - 1, one.begin() + 8, one.end() - 1);  // one single dump, two records
	write("fifth.syx", pageDump(other, 4, false));
	write("second.syx", pageDump(other, 1, false));
	write("ten.syx", pageDump(other, 10, true));
	write("one.syx", pageDump(other, 1, true));
	write("two.syx", twoRecords);
	for (const char* file : {"fifth.syx", "second.syx", "ten.syx", "one.syx", "two.syx"})
	{
		for (const char* button : {"btBankImport", "btSingleImport"})
		{
			run(button, path(file));
			EXPECT_EQ(lastMessage(), "Failed to import Sysex data") << file << " " << button;
		}
	}
	EXPECT_EQ(all(), before);

	// A message cut by the next one or by the end of the file spoils the file too, whatever is whole around it.
	const std::vector<uint8_t> pageA = pageDump(other, 32, true), pageB = pageDump(part(before, 600, 32), 32, true);
	std::vector<uint8_t> stray = pageA, cutPage = pageA, cutSixth, cutSingle = one;
	stray.insert(stray.end(), {0xF0, 0x40, 0x00});
	stray.insert(stray.end(), pageB.begin(), pageB.end());
	cutPage.insert(cutPage.end(), pageB.begin(), pageB.end() - 1);
	for (int k = 0; k < 5; ++k)
		cutSixth.insert(cutSixth.end(), pageA.begin(), pageA.end());
	cutSixth.insert(cutSixth.end(), pageB.begin(), pageB.begin() + 100);
	cutSingle.insert(cutSingle.end(), one.begin(), one.begin() + 50);
	write("stray.syx", stray);
	write("cut-page.syx", cutPage);
	write("cut-sixth.syx", cutSixth);
	write("cut-single.syx", cutSingle);
	for (const char* file : {"stray.syx", "cut-page.syx", "cut-sixth.syx", "cut-single.syx"})
	{
		for (const char* button : {"btBankImport", "btSingleImport"})
		{
			const size_t shown = boxes.shown().size();
			run(button, path(file));
			EXPECT_EQ(boxes.shown().size(), shown + 1) << file << " " << button;
			EXPECT_EQ(lastMessage(), "Failed to import Sysex data") << file << " " << button;
		}
	}
	EXPECT_EQ(all(), before);

	// A damaged dump spoils the file it is in; a message of someone else's in it does not.
	std::vector<uint8_t> mixed = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7};
	mixed.insert(mixed.end(), one.begin(), one.end());
	write("mixed.syx", mixed);
	run("btSingleImport", path("mixed.syx"));
	EXPECT_EQ(all()[0], other[0]);
}

// A file far larger than any collection of dumps is refused before it is read, with the read failure.
TEST_F(FileActions, AHugeFileIsRefusedUnread)
{
	write("huge.syx", {0xF0, 0x40});
	fs::resize_file(path("huge.syx"), 600ull << 20);  // sparse: takes no room on the disk
	const std::vector<SinglePreset> before = all();
	run("btBankImport", path("huge.syx"));
	EXPECT_EQ(lastMessage(), "Failed to read file");
	run("btSingleImport", path("huge.syx"));
	EXPECT_EQ(lastMessage(), "Failed to load file.");
	EXPECT_EQ(all(), before);
}

// A disk that fills up part-way through an export leaves the file that was there as it was, and no other.
TEST_F(FileActions, AnExportThatFailsPartWayKeepsTheOldFile)
{
	run("btBankExport", path("bank.syx"));
	const std::vector<uint8_t> old = testdata::readBytes(path("bank.syx"));
	ASSERT_EQ(old.size(), 2825u);
	h.plugin.setCurrentSingleName("Changed");

	rlimit saved{};
	getrlimit(RLIMIT_FSIZE, &saved);
	rlimit small = saved;
	small.rlim_cur = 1000;
	auto* previous = signal(SIGXFSZ, SIG_IGN);
	setrlimit(RLIMIT_FSIZE, &small);
	run("btBankExport", path("bank.syx"));
	setrlimit(RLIMIT_FSIZE, &saved);
	signal(SIGXFSZ, previous);

	EXPECT_EQ(lastMessage(), "Failed to create file");
	EXPECT_EQ(testdata::readBytes(path("bank.syx")), old);
	EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
	run("btBankExport", path("bank.syx"));
	EXPECT_NE(testdata::readBytes(path("bank.syx")), old);
}

// A pipe or a device stays what it is and gets the bytes; a name near the file system's limit of 255 bytes is
// no harder to replace than a short one; a file the person may not write stays as it was.
TEST_F(FileActions, ExportsReplaceOnlyPlainFilesThePersonMayWrite)
{
	ASSERT_EQ(mkfifo(path("pipe.syx").c_str(), 0600), 0);
	const int reader = open(path("pipe.syx").c_str(), O_RDONLY | O_NONBLOCK);
	run("btSingleExport", path("pipe.syx"));
	std::vector<uint8_t> got(200);
	EXPECT_EQ(read(reader, got.data(), got.size()), 97);
	close(reader);
	EXPECT_TRUE(fs::is_fifo(path("pipe.syx")));
	run("btSingleExport", path("pipe.syx"));  // no one reads it now
	EXPECT_EQ(lastMessage(), "Failed to create file");
	EXPECT_EQ(boxes.shown().size(), 1u);

	const std::string longName(251, 'n');
	run("btBankExport", path(longName));
	EXPECT_EQ(fs::file_size(path(longName + ".syx")), 2825u);
	EXPECT_EQ(boxes.shown().size(), 1u);

	write("kept.syx", {0xF0, 0xF7});
	fs::permissions(path("kept.syx"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
	fs::permissions(dir, fs::perms::all);
	// Root may write any file, so another user tries, in a process of its own.
	const pid_t child = fork();
	if (child == 0)
		_exit(setresgid(65534, 65534, 65534) == 0 && setresuid(65534, 65534, 65534) == 0 &&
		              !writeDumpFile(path("kept.syx"), {0xF0, 0x40, 0xF7})
		          ? 0
		          : 1);
	int status = -1;
	waitpid(child, &status, 0);
	EXPECT_EQ(status, 0);
	EXPECT_EQ(testdata::readBytes(path("kept.syx")), (std::vector<uint8_t>{0xF0, 0xF7}));
}

// An export into a pipe that stops taking bytes, its reader holding it or gone part-way, fails with its message
// and leaves the process running and its signal settings as they were. Each runs in a process of its own, which a
// frozen export (cut short by the alarm) or SIGPIPE would end.
TEST_F(FileActions, AnExportIntoAStalledOrAbandonedPipeFailsAndTheProcessGoesOn)
{
	ASSERT_EQ(mkfifo(path("pipe.syx").c_str(), 0600), 0);
	const auto statusOf = [](const std::function<bool()>& exportFails)
	{
		const pid_t child = fork();
		if (child == 0)
		{
			signal(SIGPIPE, SIG_DFL);  // as in a host that has not set it aside
			alarm(30);
			const bool failed = exportFails();
			sigset_t mask;
			pthread_sigmask(SIG_BLOCK, nullptr, &mask);
			_exit(failed && !sigismember(&mask, SIGPIPE) && signal(SIGPIPE, SIG_DFL) == SIG_DFL ? 0 : 1);
		}
		int status = -1;
		waitpid(child, &status, 0);
		return status;
	};

	EXPECT_EQ(statusOf([&] {
		          // The reader stays and reads nothing: the first page fills the pipe, the second finds no room.
		          const int reader = open(path("pipe.syx").c_str(), O_RDONLY | O_NONBLOCK);
		          fcntl(reader, F_SETPIPE_SZ, 4096);
		          run("btBankExport", path("pipe.syx"));
		          run("btBankExport", path("pipe.syx"));
		          return boxes.shown().size() == 1 && lastMessage() == "Failed to create file";
	          }),
	          0);
	EXPECT_EQ(statusOf([&] {
		          // The reader takes the first bytes and leaves while the rest still waits for room.
		          const int reader = open(path("pipe.syx").c_str(), O_RDONLY | O_NONBLOCK);
		          ssize_t taken = 0;
		          std::thread leaving([reader, &taken] {
			          pollfd data{reader, POLLIN, 0};
			          std::vector<uint8_t> some(100);
			          poll(&data, 1, -1);
			          taken = read(reader, some.data(), some.size());
			          close(reader);
		          });
		          const bool written = writeDumpFile(path("pipe.syx"), std::vector<uint8_t>(1 << 20, 0xF7));
		          leaving.join();
		          return taken > 0 && !written;
	          }),
	          0);
}
