#pragma once

#include "vstgui/plugin-bindings/plugguieditor.h"

#include "ZentEditorListener.h"
#include "synth/CParam.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace zentlib
{
class Plugin;
}
class auPlugin;
class ZentEditor;

// The instance's editor owner: it opens editor windows inside the views the host shows, relays what a window
// does to the facade and the host, and keeps the window's rectangle between windows and in the saved state.
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

	void saveState(std::vector<uint8_t>& out);
	bool loadState(const std::vector<uint8_t>& in);
	void saveStateToPlugin();
	bool pluginHasEditorState() const;

	// The last known window rectangle.
	const VSTGUI::CRect& getWindowRect() const { return m_rect; }
	// A size from the host's view: the open window validates and takes it; without one it is kept as it is.
	void applyViewSize(const VSTGUI::CRect& rect);
	// Installs callback and hands back the one that was installed.
	void swapSizeChangeCallback(SizeChangeCallback& callback) { m_sizeChanged.swap(callback); }
	ZentEditor* getWindow() const { return m_window; }

private:
	// ZentEditorListener
	void changeParameter(zentlib::EParam parameter, float normalisedValue) override;
	void onSizeChanged() override;

	void setERect(const VSTGUI::CRect& rect);

	auPlugin& m_adapter;
	zentlib::Plugin& m_facade;
	ZentEditor* m_window = nullptr;
	VSTGUI::CRect m_rect;
	SizeChangeCallback m_sizeChanged = [](auEditor*) {};
};
