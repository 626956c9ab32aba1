#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "synth/CParam.h"
#include "synth/IEditor.h"
#include "vstgui/vstgui.h"

#include "EditorCallRelay.h"
#include "ZentEditorListener.h"

namespace zentlib
{
class Plugin;
}

class uiDisplay;
class uiEnvelope;
class uiMultilevelOptionMenu;
class uiResizer;
class uiSingles;
class uiSourceMix;

// The front-panel window. It builds its view tree from the embedded UI description, binds views to
// parameters by their custom-view-name alone, routes control changes to the owner as parameter edits
// and shows every parameter change the facade reports.
class ZentEditor : public zentlib::IEditor, public VSTGUI::IControlListener, public VSTGUI::IViewMouseListener
{
public:
	using ViewsByName = std::map<std::string, std::vector<VSTGUI::CView*>>;

	// The panel is laid out at this size and drawn scaled to the window.
	static constexpr double kTemplateWidth = 2560;
	static constexpr double kTemplateHeight = 1440;

	ZentEditor(zentlib::Plugin& plugin, void* parent, VSTGUI::VSTGUIEditorInterface* editorInterface,
	           ZentEditorListener* listener, const VSTGUI::CRect& rect, VSTGUI::PlatformType platformType,
	           VSTGUI::IPlatformFrameConfig* frameConfig);
	ZentEditor(const ZentEditor&) = delete;
	ZentEditor& operator=(const ZentEditor&) = delete;

	// zentlib::IEditor: called with the facade's engine lock held, from any thread.
	void onParamChanged(zentlib::EParam parameter, float normalisedValue) override;
	void onSinglesModified(size_t first, size_t count) override;
	void onSingleModified(size_t index) override;
	void onActiveSingleModified(size_t index) override;
	void onActiveProgramChanged(size_t index) override;
	~ZentEditor() override;

	// VSTGUI::IControlListener
	void valueChanged(VSTGUI::CControl* control) override;

	// VSTGUI::IViewMouseListener: the logo and the donate button.
	VSTGUI::CMouseEventResult viewOnMouseDown(VSTGUI::CView* view, VSTGUI::CPoint where,
	                                          VSTGUI::CButtonState buttons) override;
	VSTGUI::CMouseEventResult viewOnMouseUp(VSTGUI::CView* view, VSTGUI::CPoint where,
	                                        VSTGUI::CButtonState buttons) override;
	VSTGUI::CMouseEventResult viewOnMouseMoved(VSTGUI::CView* view, VSTGUI::CPoint where,
	                                           VSTGUI::CButtonState buttons) override;
	VSTGUI::CMouseEventResult viewOnMouseCancel(VSTGUI::CView* view) override;
	void viewOnMouseEntered(VSTGUI::CView* view) override;
	void viewOnMouseExited(VSTGUI::CView* view) override;
	void viewOnMouseEnabled(VSTGUI::CView* view, bool state) override;

	// View lookup for the window and its controllers.
	void initializeViews(VSTGUI::CView* root);
	static void getViewsByCustomViewName(ViewsByName& out, VSTGUI::CView* view);
	// The first view of that name that is a T; null (and a log line) when there is none.
	template <typename T>
	T* initView(const std::string& name);

	// Controls and parameter display.
	void updateEditSingleName() const;
	bool setModeEdit(bool edit);
	bool setEditModeCommon();
	void setActiveSource(unsigned long source);
	void setParameterFromUi(unsigned long parameter, float normalisedValue) const;
	// A host edit gesture around edits that no control's own gesture encloses: begin, the values, end.
	void beginEdit(zentlib::EParam parameter) const;
	void endEdit(zentlib::EParam parameter) const;
	void swapSources(int a, int b);
	void setSmallButtonActive(VSTGUI::CKickButton* button, bool on);
	void setLargeButtonActive(VSTGUI::CKickButton* button, bool on);
	bool onKeyDown(char key);
	bool handleKeyDownSetSource(unsigned long source);

	// Option menus.
	static void initOptionMenu(VSTGUI::COptionMenu* menu, unsigned long parameter);
	static void addTitle(VSTGUI::COptionMenu* menu, const char* title);
	static void addRangeAsSubmenu(VSTGUI::COptionMenu* menu, unsigned long parameter, const char* title, int first,
	                              int last);

	// Window size and zoom.
	static VSTGUI::CRect getDefaultRect();
	static void validateRect(VSTGUI::CRect& rect);
	static void validateAspect(VSTGUI::CRect& rect);
	static void roundRect(VSTGUI::CRect& rect);
	// The three rules above, in that order, until they change nothing: one pass may leave a size that the next
	// takes a pixel off. A size that fits is one the window keeps when it is handed back.
	static void fitRect(VSTGUI::CRect& rect);
	bool getRect(VSTGUI::CRect& out) const;
	bool setSize(const VSTGUI::CRect& rect);
	void changeZoom(double zoom);
	double getZoom() const;

	// Message boxes and web links.
	void showMessageBoxOk(const std::string& text) const;
	bool showMessageBoxYesNo(const std::string& text) const;
	void openURL(const std::string& url, const std::string& question);

	// What the view controllers read.
	zentlib::Plugin& getPlugin() const { return m_plugin; }
	size_t getActiveSource() const { return m_activeSource; }
	VSTGUI::CFrame* getFrame() const { return m_frame; }

private:
	template <typename T>
	using ParameterTable = std::array<T, zentlib::ParamCount>;

	void applyParamChanged(zentlib::EParam parameter, float normalisedValue);
	void applySinglesModified();
	void applySingleModified();
	void applyActiveSingleModified();
	// Applies what other threads reported since the last time; main thread only.
	void applyRelayedCalls();
	bool onWindowThread() const { return std::this_thread::get_id() == m_windowThread; }

	// A window whose description failed to load, or lacks a page, has nothing to switch.
	bool hasPages() const;
	void editPair(zentlib::EParam parameter, float normalisedValue) const;
	void commitSingleName();
	void stepValue(zentlib::EParam parameter, unsigned add, unsigned mask);
	void menuChanged(zentlib::EParam parameter, VSTGUI::COptionMenu* menu);
	void setButtonBitmap(VSTGUI::CKickButton* button, VSTGUI::CBitmap* bitmap);
	void bindParameterViews();
	void takeButtonBitmaps();
	void createControllers();
	template <typename T>
	void moveToSource(ParameterTable<T>& table, unsigned long source);
	void tagParameterControls();
	void setFrameZoomTransform();

	zentlib::Plugin& m_plugin;
	void* m_parent;
	VSTGUI::VSTGUIEditorInterface* m_editorInterface;
	ZentEditorListener* m_listener;

	ParameterTable<VSTGUI::CControl*> m_controls{};
	ParameterTable<VSTGUI::CTextLabel*> m_labels{};
	ParameterTable<VSTGUI::COptionMenu*> m_menus{};
	ParameterTable<std::unique_ptr<uiMultilevelOptionMenu>> m_multilevelMenus;
	ParameterTable<VSTGUI::CKickButton*> m_kickButtons{};
	ViewsByName m_viewsByName;

	VSTGUI::CViewContainer* m_modePlay = nullptr;
	VSTGUI::CViewContainer* m_modeEdit = nullptr;
	VSTGUI::CViewContainer* m_editSource = nullptr;
	VSTGUI::CViewContainer* m_editCommon = nullptr;

	VSTGUI::CKickButton* m_btModePlay = nullptr;
	VSTGUI::CKickButton* m_btModeEdit = nullptr;
	VSTGUI::CKickButton* m_btWaveDec = nullptr;
	VSTGUI::CKickButton* m_btWaveInc = nullptr;
	VSTGUI::CKickButton* m_btCoarseDec = nullptr;
	VSTGUI::CKickButton* m_btCoarseInc = nullptr;
	VSTGUI::CView* m_btCoarseDecText = nullptr;
	VSTGUI::CView* m_btCoarseIncText = nullptr;
	VSTGUI::CTextEdit* m_editSingleName = nullptr;
	std::array<VSTGUI::CKickButton*, 4> m_btEditSource{};
	VSTGUI::CKickButton* m_btEditCommon = nullptr;

	VSTGUI::SharedPointer<VSTGUI::CBitmap> m_bitmapSmallOff;
	VSTGUI::SharedPointer<VSTGUI::CBitmap> m_bitmapSmallOn;
	VSTGUI::SharedPointer<VSTGUI::CBitmap> m_bitmapSmallRed;
	VSTGUI::SharedPointer<VSTGUI::CBitmap> m_bitmapLargeOff;
	VSTGUI::SharedPointer<VSTGUI::CBitmap> m_bitmapLargeOn;

	size_t m_activeSource = 0;

	std::unique_ptr<uiDisplay> m_display;
	uiEnvelope* m_envelope = nullptr;
	std::unique_ptr<uiSingles> m_singles;
	std::unique_ptr<uiResizer> m_resizer;
	std::unique_ptr<uiSourceMix> m_sourceMix;

	VSTGUI::CView* m_clickableLogo = nullptr;
	VSTGUI::CView* m_btDonate = nullptr;

	double m_zoom = 0;
	VSTGUI::CRect m_rect;
	VSTGUI::CFrame* m_frame = nullptr;

	// Facade calls from threads other than the window's wait here for the window's timer.
	std::thread::id m_windowThread;
	EditorCallRelay m_relay;
	VSTGUI::SharedPointer<VSTGUI::CVSTGUITimer> m_relayTimer;
};
