#include "log.h"

#include <cstdio>

int g_logUnix(const std::string& message)
{
	return std::puts(message.c_str());
}
