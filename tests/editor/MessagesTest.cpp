#include "EditorHarness.h"
#include "ShellCommand.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace
{
// Keeps the command lines the editor hands to the shell instead of running them.
struct RecordingShell : zenteditor::ShellCommandRunner
{
	RecordingShell() : previous(zenteditor::setShellCommandRunner(this)) {}
	~RecordingShell() override { zenteditor::setShellCommandRunner(previous); }
	void run(const std::string& commandLine) override { commands.push_back(commandLine); }

	zenteditor::ShellCommandRunner* previous;
	std::vector<std::string> commands;
};
}

TEST(MessageBoxes, ANoticeHasTheTitleAndOneButtonAndAQuestionIsTrueOnlyForOk)
{
	EditorHarness h;
	cf::ScriptedUserNotifications boxes;
	h.editor->showMessageBoxOk("Failed to create file");
	ASSERT_EQ(boxes.shown().size(), 1u);
	const cf::UserNotification notice = boxes.shown()[0];
	EXPECT_EQ(notice.kind, cf::UserNotification::Kind::Notice);
	EXPECT_EQ(notice.header + "|" + notice.message + "|" + notice.defaultButton, "Vens' Virel|Failed to create file|OK");
	EXPECT_EQ(notice.flags, 0u);

	// Return picks the default button, "Cancel"; closing or a time-out answers like it.
	for (const auto& [response, accepted] : {std::pair{kCFUserNotificationAlternateResponse, true},
	                                         {kCFUserNotificationDefaultResponse, false},
	                                         {kCFUserNotificationCancelResponse, false}})
	{
		boxes.queueResponse(response);
		EXPECT_EQ(h.editor->showMessageBoxYesNo("Überschreiben?"), accepted) << response;
	}
	const cf::UserNotification question = boxes.shown().back();
	EXPECT_EQ(question.kind, cf::UserNotification::Kind::Alert);
	EXPECT_EQ(question.header + "|" + question.message, "Vens' Virel|Überschreiben?");
	EXPECT_EQ(question.defaultButton + "|" + question.alternateButton + "|" + question.otherButton, "Cancel|OK|");
	EXPECT_EQ(question.flags, 3u);
}

TEST(WebLinks, TheLogoAndTheDonateButtonAskFirstAndOpenThePageOnlyOnOk)
{
	EditorHarness h;
	cf::ScriptedUserNotifications boxes;
	RecordingShell shell;
	h.click("clickableLogo");
	ASSERT_EQ(boxes.shown().size(), 1u);
	EXPECT_EQ(boxes.shown()[0].message, "Open Vens' Virel Website? (internet connection required)");
	EXPECT_TRUE(shell.commands.empty()) << "cancelled";

	boxes.queueResponse(kCFUserNotificationAlternateResponse);
	h.click("clickableLogo");
	ASSERT_EQ(shell.commands.size(), 1u);
	EXPECT_EQ(shell.commands[0], "xdg-open \"https://vens.audio/virel\" </dev/null >/dev/null 2>&1 &");

	boxes.queueResponse(kCFUserNotificationAlternateResponse);
	h.click("btDonate");
	EXPECT_EQ(boxes.shown().back().message,
	          "Do you want to support this project by donating something? (internet connection required)");
	ASSERT_EQ(shell.commands.size(), 2u);
	EXPECT_EQ(shell.commands[1].rfind("xdg-open \"https://", 0), 0u);
}

TEST(WebLinks, WithoutARecorderTheCommandLineRunsInTheShell)
{
	const auto file = std::filesystem::temp_directory_path() / ("virel-shell-" + std::to_string(getpid()));
	zenteditor::runShellCommand("echo ran > '" + file.string() + "'");
	std::string word;
	std::ifstream(file) >> word;
	EXPECT_EQ(word, "ran");
	std::filesystem::remove(file);
}
