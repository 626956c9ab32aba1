#pragma once

#include <AudioUnit/AudioUnit.h>

#include <string>

// A .component bundle loaded into this process: its Info.plist read, its executable opened and its factory
// registered as an audio component.
class PluginBundle
{
public:
	// Throws HostError when the bundle, its description, its executable or its entry point is missing.
	explicit PluginBundle(const std::string& path);
	~PluginBundle();
	PluginBundle(const PluginBundle&) = delete;
	PluginBundle& operator=(const PluginBundle&) = delete;

	// The bundle the host uses when none is named: Virel.component in the host's own folder.
	static std::string defaultPath();

	AudioComponent component() const { return m_component; }
	const AudioComponentDescription& description() const { return m_description; }
	const std::string& path() const { return m_path; }
	const std::string& name() const { return m_name; }
	const std::string& factoryName() const { return m_factoryName; }
	UInt32 version() const { return m_version; }

private:
	std::string m_path;
	std::string m_name;
	std::string m_factoryName = "auPluginFactory";
	UInt32 m_version = 0;
	AudioComponentDescription m_description{};
	void* m_library = nullptr;
	AudioComponent m_component = nullptr;
};

std::string fourCharText(OSType code);
