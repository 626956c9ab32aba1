#include "LogCapture.h"

#include <unistd.h>

#include <stdexcept>

LogCapture::LogCapture()
{
	std::fflush(stdout);
	m_file = std::tmpfile();
	m_savedStdout = dup(STDOUT_FILENO);
	if (!m_file || m_savedStdout < 0 || dup2(fileno(m_file), STDOUT_FILENO) < 0)
		throw std::runtime_error("LogCapture: cannot redirect standard output");
}

LogCapture::~LogCapture()
{
	std::fflush(stdout);
	dup2(m_savedStdout, STDOUT_FILENO);
	close(m_savedStdout);
	std::fclose(m_file);
}

std::vector<std::string> LogCapture::lines()
{
	std::fflush(stdout);
	std::string content;
	char buffer[4096];
	const int fd = fileno(m_file);
	for (off_t offset = 0;;)
	{
		const ssize_t got = pread(fd, buffer, sizeof(buffer), offset);
		if (got <= 0)
			break;
		content.append(buffer, static_cast<size_t>(got));
		offset += got;
	}

	std::vector<std::string> result;
	size_t start = 0;
	for (size_t end; (end = content.find('\n', start)) != std::string::npos; start = end + 1)
		result.push_back(content.substr(start, end - start));
	return result;
}

std::vector<std::string> LogCapture::texts()
{
	std::vector<std::string> result;
	for (const std::string& line : lines())
	{
		const size_t colon = line.find(": ");
		result.push_back(colon == std::string::npos ? line : line.substr(colon + 2));
	}
	return result;
}
