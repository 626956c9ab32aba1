#pragma once

#include "HostOptions.h"
#include "PluginBundle.h"
#include "PluginLog.h"

#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

// What every check is handed: the component, the options and one random source for the whole run.
struct ValidationContext
{
	AudioComponent component;
	const ValidateOptions& options;
	std::mt19937 random;

	// How many random trials a check makes at this strictness.
	int trials(int atFive) const { return atFive * options.strictness / 5 + 1; }
	unsigned largestBlock() const;
};

// A check that failed throws this; anything it returns is the detail printed after PASS. The plug-in's last log
// lines are taken when it is thrown, before the check's instances close.
struct CheckFailed
{
	std::string why;
	std::vector<std::string> pluginLines = pluginLog::stepLines(5);
};

struct Check
{
	int strictness; // the lowest strictness that runs it
	const char* name;
	std::function<std::string(ValidationContext&)> run;
};

// A check that cannot apply to this unit (no view, say) throws this: it is reported, not counted as passed.
struct CheckSkipped
{
	std::string why;
};

// The checks of each subject, in the order they run.
std::vector<Check> lifecycleChecks();
std::vector<Check> propertyChecks();
std::vector<Check> parameterChecks();
std::vector<Check> audioChecks();

// Runs every check up to the strictness against bundle's component, a line each to out, then the summary.
// Returns the number of checks that failed.
int validate(const PluginBundle& bundle, const ValidateOptions& options, std::FILE* out);
