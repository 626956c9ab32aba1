#pragma once

#include <X11/Xlib.h>

#include <csignal>
#include <fcntl.h>
#include <cstdlib>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

// A private X server for a test, so no window shows on anybody's screen; DISPLAY names it
// once it runs. Without Xvfb the display stays null. A loaded machine may take seconds to start it.
struct PrivateXServer
{
	explicit PrivateXServer (const char* screen = "640x480x24")
	{
		int fds[2];
		if (pipe (fds) != 0)
			return;
		std::string fd = std::to_string (fds[1]);
		// The server ends with its last client, and writes nowhere the test's output is read: a
		// test that dies without its destructors must not leave it running, or keep a test
		// runner waiting for the end of that output.
		const char* argv[] = {"Xvfb", "-displayfd", fd.c_str (), "-screen", "0", screen, "-nolisten", "tcp", "-terminate", nullptr};
		posix_spawn_file_actions_t files;
		posix_spawn_file_actions_init (&files);
		posix_spawn_file_actions_addopen (&files, 1, "/dev/null", O_WRONLY, 0);
		posix_spawn_file_actions_addopen (&files, 2, "/dev/null", O_WRONLY, 0);
		if (posix_spawnp (&pid, "Xvfb", &files, nullptr, const_cast<char**> (argv), environ) != 0)
			pid = -1;
		posix_spawn_file_actions_destroy (&files);
		close (fds[1]);
		std::string number;
		pollfd p {fds[0], POLLIN, 0};
		while (pid > 0 && poll (&p, 1, 60000) > 0)
		{
			char c;
			if (read (fds[0], &c, 1) != 1 || c == '\n')
				break;
			number += c;
		}
		close (fds[0]);
		if (!number.empty ())
		{
			setenv ("DISPLAY", (":" + number).c_str (), 1);
			display = XOpenDisplay (nullptr);
		}
	}
	~PrivateXServer ()
	{
		if (display)
			XCloseDisplay (display);
		if (pid > 0)
		{
			kill (pid, SIGTERM);
			waitpid (pid, nullptr, 0);
		}
	}

	pid_t pid {-1};
	Display* display {nullptr};
};
