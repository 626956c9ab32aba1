// Dialog programs for people: started without a shell, waited for without freezing the windows of the thread.
#include <CoreFoundation/CFStandIn.h>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace
{
// Often enough that an uncovered window is drawn again before a person sees it black.
constexpr int kServiceIntervalMs = 20;

thread_local cf::DialogHost* t_dialogHost = nullptr;

void serviceWindows()
{
	if (t_dialogHost)
		t_dialogHost->whileDialogOpen();
}

std::vector<char*> pointersTo(const std::vector<std::string>& strings)
{
	std::vector<char*> pointers;
	for (const std::string& s : strings)
		pointers.push_back(const_cast<char*>(s.c_str()));
	pointers.push_back(nullptr);
	return pointers;
}

// The process's environment with these variables added; a name given here replaces the inherited one.
std::vector<std::string> environmentWith(const std::vector<std::string>& added)
{
	std::vector<std::string> result;
	for (char** e = environ; e && *e; ++e)
	{
		const std::string entry = *e;
		const std::string name = entry.substr(0, entry.find('=') + 1);
		bool replaced = false;
		for (const std::string& a : added)
			replaced = replaced || a.compare(0, name.size(), name) == 0;
		if (!replaced)
			result.push_back(entry);
	}
	result.insert(result.end(), added.begin(), added.end());
	return result;
}
}

namespace cf
{
DialogHost* setDialogHost(DialogHost* host)
{
	DialogHost* previous = t_dialogHost;
	t_dialogHost = host;
	return previous;
}

unsigned long dialogParentWindow()
{
	return t_dialogHost ? t_dialogHost->dialogParentWindow() : 0;
}

bool programOnPath(const std::string& program)
{
	const char* path = std::getenv("PATH");
	const std::string dirs = path ? path : "";
	for (size_t start = 0; start <= dirs.size();)
	{
		size_t end = dirs.find(':', start);
		if (end == std::string::npos)
			end = dirs.size();
		const std::string candidate = dirs.substr(start, end - start) + "/" + program;
		if (end > start && access(candidate.c_str(), X_OK) == 0)
			return true;
		start = end + 1;
	}
	return false;
}

int runDialogProgram(const std::vector<std::string>& args, const std::vector<std::string>& environment,
	std::string* output)
{
	if (output)
		output->clear();
	if (args.empty())
		return -1;
	int out[2];
	if (pipe2(out, O_CLOEXEC) != 0)
		return -1;
	posix_spawn_file_actions_t actions;
	posix_spawn_file_actions_init(&actions);
	// The program's own complaints (GTK's, dconf's) go with the log on standard output, not to the terminal.
	posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
	posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
	const std::vector<std::string> env = environmentWith(environment);
	std::vector<char*> argv = pointersTo(args);
	std::vector<char*> envp = pointersTo(env);
	std::fflush(nullptr);
	pid_t pid = 0;
	const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
	posix_spawn_file_actions_destroy(&actions);
	close(out[1]);
	if (spawned != 0)
	{
		close(out[0]);
		return -1;
	}
	// The thread is the window's: it keeps drawing while it waits, so it never blocks longer than a beat.
	for (pollfd p{out[0], POLLIN, 0};;)
	{
		const int ready = poll(&p, 1, kServiceIntervalMs);
		if (ready > 0)
		{
			char buffer[4096];
			const ssize_t n = read(out[0], buffer, sizeof buffer);
			if (n > 0 && output)
				output->append(buffer, size_t(n));
			if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN))
				break;
		}
		else if (ready < 0 && errno != EINTR)
			break;
		serviceWindows();
	}
	close(out[0]);
	int status = 0;
	for (;;)
	{
		const pid_t ended = waitpid(pid, &status, WNOHANG);
		if (ended == pid)
			break;
		if (ended < 0 && errno != EINTR)
			return -1;
		serviceWindows();
		poll(nullptr, 0, kServiceIntervalMs);
	}
	return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool startDialogProgram(const std::vector<std::string>& args)
{
	if (args.empty())
		return false;
	std::vector<char*> argv = pointersTo(args);
	std::fflush(nullptr);
	const pid_t pid = fork();
	if (pid < 0)
		return false;
	if (pid == 0)
	{
		// The grandchild shows the dialog, so nobody has to wait for it.
		if (fork() != 0)
			_exit(0);
		dup2(STDOUT_FILENO, STDERR_FILENO); // its complaints with the log, as above
		execvp(argv[0], argv.data());
		_exit(127);
	}
	int status = 0;
	while (waitpid(pid, &status, 0) < 0 && errno == EINTR)
	{
	}
	return true;
}
}
