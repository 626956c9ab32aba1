#include <CoreFoundation/CFStandIn.h>
#include <CoreFoundation/CoreFoundation.h>

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace fs = std::filesystem;

namespace
{
// A stand-in for the desktop's dialog program: records its arguments, says what FAKE_SAY holds, takes FAKE_WAIT
// seconds and exits with FAKE_EXIT; "dismissed" exits as zenity does on Escape or when its window is closed.
class FakeDesktop : public ::testing::Test
{
protected:
	void SetUp() override
	{
		m_dir = fs::temp_directory_path() / ("cf-desktop-" + std::to_string(getpid()));
		fs::create_directories(m_dir);
		const fs::path zenity = m_dir / "zenity";
		std::ofstream(zenity) << "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"" << (m_dir / "args.tmp").string()
							  << "\"\nmv \"" << (m_dir / "args.tmp").string() << "\" \"" << (m_dir / "args").string()
							  << "\"\n[ -n \"$FAKE_SAY\" ] && echo \"$FAKE_SAY\"\n[ -n \"$FAKE_WAIT\" ] && sleep \"$FAKE_WAIT\"\n"
							  << "case \"$FAKE_EXIT\" in dismissed) exit ${ZENITY_ESC:-1};; esac\nexit ${FAKE_EXIT:-0}\n";
		fs::permissions(zenity, fs::perms::owner_all);
		m_path = std::getenv("PATH") ? std::getenv("PATH") : "";
		setenv("PATH", (m_dir.string() + ":" + m_path).c_str(), 1);
		setenv("DISPLAY", ":99", 1);
		unsetenv("FAKE_SAY");
		unsetenv("FAKE_EXIT");
		unsetenv("FAKE_WAIT");
	}
	void TearDown() override
	{
		setenv("PATH", m_path.c_str(), 1);
		unsetenv("DISPLAY");
		fs::remove_all(m_dir);
	}
	std::string args()
	{
		// A notice does not wait for its dialog: the script runs on its own, as late as a loaded machine
		// starts it. The bound only keeps a script that never runs from hanging the test.
		const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
		while (!fs::exists(m_dir / "args") && std::chrono::steady_clock::now() < deadline)
			std::this_thread::sleep_for(std::chrono::milliseconds(10));
		std::ifstream in(m_dir / "args");
		return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
	}
	CFOptionFlags alert(const char* say, const char* exitCode)
	{
		if (say)
			setenv("FAKE_SAY", say, 1);
		setenv("FAKE_EXIT", exitCode, 1);
		CFOptionFlags response = 99;
		EXPECT_EQ(CFUserNotificationDisplayAlert(0, 0, nullptr, nullptr, nullptr, CFSTR("Reset"), CFSTR("All <64> singles?"),
					  CFSTR("Reset"), CFSTR("Keep"), CFSTR("Export first"), &response),
			0);
		unsetenv("FAKE_SAY");
		return response;
	}

	fs::path m_dir;
	std::string m_path;
};
}

// zenity's cancel button carries the default answer, chosen by Return, and its OK button the alternate one;
// Escape and closing the window answer as cancel where zenity honours ZENITY_ESC, and a timeout does too.
TEST_F(FakeDesktop, AlertsAskTheDesktopAndMapEveryWayOutOfTheDialog)
{
	EXPECT_EQ(alert(nullptr, "0"), CFOptionFlags(kCFUserNotificationAlternateResponse));
	EXPECT_EQ(args(), "--question\n--no-markup\n--title=Reset\n--text=All <64> singles?\n--ok-label=Keep\n"
					  "--cancel-label=Reset\n--default-cancel\n--extra-button=Export first\n");
	// Return, and Escape or closing with a dialog program that ignores ZENITY_ESC: the default answer.
	EXPECT_EQ(alert(nullptr, "1"), CFOptionFlags(kCFUserNotificationDefaultResponse));
	EXPECT_EQ(alert("Export first", "1"), CFOptionFlags(kCFUserNotificationOtherResponse));
	EXPECT_EQ(alert(nullptr, "dismissed"), CFOptionFlags(kCFUserNotificationCancelResponse));
	EXPECT_EQ(alert(nullptr, "5"), CFOptionFlags(kCFUserNotificationCancelResponse)); // timed out
}

namespace
{
struct RecordingDialogHost : cf::DialogHost
{
	unsigned long dialogParentWindow() override { return 4242; }
	void whileDialogOpen() override { ++calls; }
	int calls = 0;
};
}

// The thread's windows lend the dialog its parent and are served while the thread waits for the answer.
TEST_F(FakeDesktop, DialogsStayAboveTheThreadsWindowWhichIsServedWhileAQuestionWaits)
{
	RecordingDialogHost host;
	cf::DialogHost* previous = cf::setDialogHost(&host);
	setenv("FAKE_WAIT", "0.3", 1);
	EXPECT_EQ(alert(nullptr, "0"), CFOptionFlags(kCFUserNotificationAlternateResponse));
	EXPECT_NE(args().find("--attach=4242\n--modal\n"), std::string::npos) << args();
	EXPECT_GT(host.calls, 2);
	cf::setDialogHost(previous);
	EXPECT_EQ(cf::dialogParentWindow(), 0u);
}

TEST_F(FakeDesktop, NoticesReturnAtOnceAndWithoutADesktopTheTerminalAnswers)
{
	// The stop level is the one of failures, shown as an error.
	EXPECT_EQ(CFUserNotificationDisplayNotice(0, kCFUserNotificationStopAlertLevel, nullptr, nullptr, nullptr,
				  CFSTR("Export"), CFSTR("Failed"), nullptr),
		0);
	EXPECT_EQ(args(), "--error\n--no-markup\n--title=Export\n--text=Failed\n--ok-label=OK\n");
	fs::remove(m_dir / "args");
	EXPECT_EQ(CFUserNotificationDisplayNotice(0, kCFUserNotificationNoteAlertLevel, nullptr, nullptr, nullptr,
				  CFSTR("Export"), CFSTR("Done"), nullptr),
		0);
	EXPECT_EQ(args(), "--info\n--no-markup\n--title=Export\n--text=Done\n--ok-label=OK\n");

	unsetenv("DISPLAY");
	// With no terminal to ask, the alert is answered as a timeout would be.
	const int savedInput = dup(STDIN_FILENO);
	const int noTerminal = open("/dev/null", O_RDONLY);
	dup2(noTerminal, STDIN_FILENO);
	CFOptionFlags response = 99;
	const SInt32 status = CFUserNotificationDisplayAlert(0, 0, nullptr, nullptr, nullptr, CFSTR("Reset"), CFSTR("Sure?"),
		nullptr, nullptr, nullptr, &response);
	dup2(savedInput, STDIN_FILENO);
	close(savedInput);
	close(noTerminal);
	EXPECT_EQ(status, 0);
	EXPECT_EQ(response, CFOptionFlags(kCFUserNotificationCancelResponse));
}
