#pragma once

#include <CoreFoundation/CFStandIn.h>

#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "QuietPluginListener.h"
#include "ZentEditor.h"
#include "synth/Plugin.h"
#include "vstgui/lib/platform/offscreenframe.h"
#include "vstgui/vstgui.h"

// The owner's side of the window: edits go to the facade as the owner sends them, and every call is kept.
class RecordingEditorListener : public ZentEditorListener
{
public:
	explicit RecordingEditorListener(zentlib::Plugin& plugin) : m_plugin(plugin) {}
	virtual ~RecordingEditorListener() = default;

	void changeParameter(zentlib::EParam parameter, float normalisedValue) override
	{
		changes.emplace_back(parameter, normalisedValue);
		if (trail)
			trail->push_back("value " + std::to_string(parameter));
		m_plugin.setParameter(parameter, normalisedValue);
	}
	void onSizeChanged() override { ++sizeChanges; }

	std::vector<std::pair<zentlib::EParam, float>> changes;
	int sizeChanges = 0;
	// Where the edits are noted beside the owner's edit gestures, when set.
	std::vector<std::string>* trail = nullptr;

private:
	zentlib::Plugin& m_plugin;
};

// The host's side of the facade: keeps the MIDI it is given (the editor's edits go out as SysEx).
class MidiRecordingPluginListener : public QuietPluginListener
{
public:
	void sendMidi(const zentlib::SMidiEvent& event) override { sent.push_back(event.sysex); }
	std::vector<std::vector<uint8_t>> sent;
};

// The toolkit's editor interface as the owner would be it: edit gestures recorded, resizes allowed.
class RecordingEditorInterface : public VSTGUI::VSTGUIEditorInterface
{
public:
	~RecordingEditorInterface() noexcept override = default;
	void beginEdit(int32_t index) override { gestures.push_back("begin " + std::to_string(index)); }
	void endEdit(int32_t index) override { gestures.push_back("end " + std::to_string(index)); }
	std::vector<std::string> gestures;
};

// A real facade, initialised as the instrument initialises it, and a ZentEditor opened on an offscreen
// frame and registered with the facade as the owner registers it. Input enters through the frame's
// platform callbacks, in window pixels or in template coordinates (the 2560 x 1440 space of the panel),
// and time passes only when the test runs the run loop.
class EditorHarness
{
public:
	explicit EditorHarness(const VSTGUI::CRect& rect = ZentEditor::getDefaultRect(), double sampleRate = 44100);
	~EditorHarness();

	// Closes the window as the owner does: unregistered first, then deleted.
	void close();

	VSTGUI::CFrame& frame() const;
	VSTGUI::OffscreenPlatformFrame& window() const;
	double zoom() const { return editor->getZoom(); }

	// Every view of the window with that custom-view-name, in tree order; the index-th one, or the first
	// one of class T.
	std::vector<VSTGUI::CView*> views(const std::string& name) const;
	VSTGUI::CView* view(const std::string& name, size_t index = 0) const;
	template <typename T>
	T* viewAs(const std::string& name) const
	{
		for (VSTGUI::CView* v : views(name))
			if (auto* typed = dynamic_cast<T*>(v))
				return typed;
		return nullptr;
	}
	// True when the view and all its parents are visible.
	static bool shown(const VSTGUI::CView* view);

	// Where a view's centre is drawn, in window pixels.
	VSTGUI::CPoint centre(const VSTGUI::CView* view) const;
	VSTGUI::CPoint centre(const std::string& name) const { return centre(view(name)); }
	// Template coordinates to window pixels.
	VSTGUI::CPoint toWindow(const VSTGUI::CPoint& templatePoint) const;

	// Mouse and keys in window pixels.
	VSTGUI::CMouseEventResult down(const VSTGUI::CPoint& p, int32_t buttons = VSTGUI::kLButton);
	VSTGUI::CMouseEventResult move(const VSTGUI::CPoint& p, int32_t buttons = VSTGUI::kLButton);
	VSTGUI::CMouseEventResult up(const VSTGUI::CPoint& p, int32_t buttons = VSTGUI::kLButton);
	void click(const VSTGUI::CPoint& p, int32_t buttons = VSTGUI::kLButton);
	void rightClick(const VSTGUI::CPoint& p) { click(p, VSTGUI::kRButton); }
	void drag(const VSTGUI::CPoint& from, const VSTGUI::CPoint& to, int steps = 8);
	bool key(unsigned char virt, int32_t character = 0);
	void type(const std::string& text);
	// The same at template coordinates.
	void clickTemplate(const VSTGUI::CPoint& p) { click(toWindow(p)); }
	void dragTemplate(const VSTGUI::CPoint& from, const VSTGUI::CPoint& to) { drag(toWindow(from), toWindow(to)); }
	// A click on the centre of the named view.
	void click(const std::string& name) { click(centre(name)); }

	// Lets simulated time pass on the main run loop: timers fire, relayed facade calls arrive.
	void runFor(double ms);

	// A pixel of the window after drawing what is invalid.
	VSTGUI::CColor pixel(int x, int y);
	VSTGUI::CColor pixel(const VSTGUI::CPoint& p) { return pixel(static_cast<int>(p.x), static_cast<int>(p.y)); }

	float parameter(zentlib::EParam p) const { return plugin.getParameter(p); }
	// A parameter's real value (normalised times range plus minimum).
	float nativeParameter(zentlib::EParam p) const;
	// The same rounded, for the parameters that step in whole numbers.
	long integerParameter(zentlib::EParam p) const { return std::lround(nativeParameter(p)); }
	// Sets a parameter as the host's automation does (the editor learns of it from the facade).
	void automate(zentlib::EParam p, float normalised) { plugin.setParameter(p, normalised); }
	void setNative(zentlib::EParam p, float native);

	cf::ManualClock clock;
	MidiRecordingPluginListener host;
	zentlib::Plugin plugin{&host};
	RecordingEditorListener listener{plugin};
	RecordingEditorInterface editorInterface;
	std::unique_ptr<ZentEditor> editor;
};
