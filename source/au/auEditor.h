#pragma once

#include "vstgui/plugin-bindings/plugguieditor.h"

#include "ZentEditorListener.h"
#include "au/SeqLocked.h"
#include "synth/CParam.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <set>
#include <vector>

namespace zentlib
{
class Plugin;
}
class auPlugin;
class VirelNSView;
class ZentEditor;

// The instance's editor owner: it opens editor windows inside the views the host shows, relays what a window
// does to the facade and the host, and keeps the window's rectangle between windows and in the saved state.
// Everything but saveState and loadState belongs to the host's main thread.
class auEditor : public VSTGUI::PluginGUIEditor, private ZentEditorListener
{
public:
	using SizeChangeCallback = std::function<void(auEditor*)>;

	// Size of the editor window block in the saved state.
	static constexpr size_t kStateSize = 20;

	auEditor(auPlugin& adapter, zentlib::Plugin& facade);
	~auEditor() override;
	auEditor(const auEditor&) = delete;
	auEditor& operator=(const auEditor&) = delete;

	// Edit gestures of the window's controls, for the host.
	void beginEdit(int32_t index) override;
	void endEdit(int32_t index) override;

	bool getRect(VSTGUI::ERect** out) override;
	bool open(void* parent) override;
	void close() override;
	void idle() override;

	void updateRectFromEditor();
	void convertRect(const VSTGUI::CRect& rect);

	// Any thread: a host saves and restores its state on a thread of its own. Both touch only the last
	// rectangle, never the window.
	void saveState(std::vector<uint8_t>& out) const;
	bool loadState(const std::vector<uint8_t>& in);
	void saveStateToPlugin();
	bool pluginHasEditorState() const;

	// The last known window rectangle.
	VSTGUI::CRect getWindowRect() const { return m_rect.load(); }
	// A size from the host's view: the open window validates and takes it; without one it is kept as it is
	// (held to the limits first when endless). A size that is not a number is ignored.
	void applyViewSize(VSTGUI::CRect rect);
	// Whether a host's view may size the window: only the view that shows it does, or any while none is open.
	bool takesSizeFrom(const VirelNSView* view) const { return !m_window || showsWindowIn(view); }
	static bool isSize(double width, double height) { return !std::isnan(width) && !std::isnan(height); }
	ZentEditor* getWindow() const { return m_window; }

	// The host views this owner serves. A view joins with the callback that keeps it at the window's size,
	// which replaces the one installed before. When it leaves, its callback goes with it, and the window
	// closes only if it shows in that view: another view may be showing it by now. An owner that goes
	// before its views leaves each of them without an owner.
	void addView(VirelNSView* view, SizeChangeCallback onSizeChanged);
	void removeView(VirelNSView* view);
	bool showsWindowIn(const VirelNSView* view) const;

private:
	// ZentEditorListener
	void changeParameter(zentlib::EParam parameter, float normalisedValue) override;
	void onSizeChanged() override;

	void setERect(const VSTGUI::CRect& rect);

	auPlugin& m_adapter;
	zentlib::Plugin& m_facade;
	ZentEditor* m_window = nullptr;
	// Written on the window's thread as the window changes size and by a restore on any thread; a save on
	// any thread reads it while the window is resized, opened or closed.
	SeqLocked<VSTGUI::CRect> m_rect;
	SizeChangeCallback m_sizeChanged = [](auEditor*) {};
	const VirelNSView* m_sizeChangedView = nullptr;
	std::set<VirelNSView*> m_views;
};
