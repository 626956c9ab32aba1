#include "Validator.h"

#include "HostError.h"
#include "PluginLog.h"

#include <algorithm>
#include <chrono>

unsigned ValidationContext::largestBlock() const
{
	return *std::max_element(options.blockSizes.begin(), options.blockSizes.end());
}

int validate(const PluginBundle& bundle, const ValidateOptions& options, std::FILE* out)
{
	const unsigned seed =
		options.seed ? options.seed : unsigned(std::chrono::steady_clock::now().time_since_epoch().count() % 1000000 + 1);
	ValidationContext context{bundle.component(), options, std::mt19937(seed)};
	const AudioComponentDescription& d = bundle.description();
	std::fprintf(out, "Validating %s (%s %s %s) at strictness %d with seed %u\n", bundle.name().c_str(),
		fourCharText(d.componentType).c_str(), fourCharText(d.componentSubType).c_str(),
		fourCharText(d.componentManufacturer).c_str(), options.strictness, seed);

	std::vector<Check> checks;
	for (auto subject : {lifecycleChecks, propertyChecks, parameterChecks, audioChecks})
		for (Check& c : subject())
			if (c.strictness <= options.strictness)
				checks.push_back(std::move(c));
	// As the levels group them: the quick checks first.
	std::stable_sort(checks.begin(), checks.end(), [](const Check& a, const Check& b) { return a.strictness < b.strictness; });

	int passed = 0, failed = 0, skipped = 0;
	for (const Check& check : checks)
	{
		const auto began = std::chrono::steady_clock::now();
		std::string verdict, detail;
		std::vector<std::string> pluginLines;
		pluginLog::beginStep();
		try
		{
			detail = check.run(context);
			verdict = "PASS";
			++passed;
		}
		catch (const CheckFailed& f)
		{
			verdict = "FAIL";
			detail = f.why;
			pluginLines = f.pluginLines;
			++failed;
		}
		catch (const CheckSkipped& s)
		{
			verdict = "SKIP";
			detail = s.why;
			++skipped;
		}
		catch (const std::exception& e)
		{
			verdict = "FAIL";
			detail = e.what();
			++failed;
		}
		const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - began).count();
		std::fprintf(out, "%s  %-2d %-24s %s (%.0f ms)\n", verdict.c_str(), check.strictness, check.name, detail.c_str(), ms);
		for (const std::string& line : pluginLines)
			std::fprintf(out, "      plug-in: %s\n", line.c_str());
		std::fflush(out);
	}
	std::fprintf(out, "validate: %d passed, %d failed, %d skipped\n", passed, failed, skipped);
	return failed;
}
