#pragma once

#include "cviewcontainer.h"
#include "platform/iplatformframe.h"
#include "platform/iplatformframecallback.h"

#include "cvstguitimer.h"

#include <functional>
#include <vector>

namespace VSTGUI
{
class CFrame final : public CViewContainer, public IPlatformFrameCallback
{
public:
	CFrame (const CRect& size, VSTGUIEditorInterface* pEditor);

	bool open (void* pSystemWindow, PlatformType systemWindowType = PlatformType::kDefaultNative,
	           IPlatformFrameConfig* config = nullptr);
	void close ();
	bool isOpen () const { return platformFrame != nullptr; }

	void idle ();

	bool setSize (CCoord width, CCoord height);
	bool getSize (CRect* pSize) const;
	bool getSize (CRect& pSize) const;

	bool setZoom (double zoomFactor);
	double getZoom () const { return zoom; }

	void setBitmapInterpolationQuality (BitmapInterpolationQuality quality);
	BitmapInterpolationQuality getBitmapInterpolationQuality () const { return bitmapQuality; }

	void enableTooltips (bool state, uint32_t delayTimeInMs = 1000);

	CView* getFocusView () const { return focusView; }
	void setFocusView (CView* pView);
	bool isActive () const { return active; }

	int32_t getKnobMode () const;
	void beginEdit (int32_t index);
	void endEdit (int32_t index);
	VSTGUIEditorInterface* getEditor () const override { return editor; }

	// Queues work to run when the platform event being handled is done; false outside one.
	bool doAfterEventProcessing (std::function<void ()>&& func);
	bool inEventProcessing () const { return eventDepth > 0; }

	// A modal view sits over everything, in frame pixels, and takes all input while it is set.
	bool setModalView (CView* pView);
	CView* getModalView () const { return modalView; }

	IPlatformFrame* getPlatformFrame () const { return platformFrame; }
	// The views the pointer is over, outermost first.
	const std::vector<CView*>& getMouseViews () const { return mouseViews; }
	CPoint getCurrentMouseLocation () const { return lastMousePosition; }

	// Called by a view that is being removed from the tree.
	void onViewRemoved (CView* pView);

	static int32_t kDefaultKnobMode;

	// IPlatformFrameCallback
	bool platformDrawRect (CDrawContext* context, const CRect& rect) override;
	CMouseEventResult platformOnMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult platformOnMouseMoved (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult platformOnMouseUp (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult platformOnMouseExited (CPoint& where, const CButtonState& buttons) override;
	bool platformOnMouseWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
	                           const CButtonState& buttons) override;
	bool platformOnKeyDown (VstKeyCode& keyCode) override;
	bool platformOnKeyUp (VstKeyCode& keyCode) override;
	void platformOnActivate (bool state) override;
	void platformOnWindowActivate (bool state) override;
	void platformScaleFactorChanged (double newScaleFactor) override;

	// CView
	void draw (CDrawContext* context) override;
	void drawRect (CDrawContext* context, const CRect& updateRect) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	int32_t onKeyDown (VstKeyCode& keyCode) override;
	int32_t onKeyUp (VstKeyCode& keyCode) override;
	void invalidRect (const CRect& rect) override;
	void invalid () override;

private:
	~CFrame () noexcept override = default;
	void beforeDelete () override;

	struct EventScope;
	void runAfterEventFunctions ();
	void checkMouseViews (const CPoint& where, const CButtonState& buttons);
	void clearMouseViews (const CPoint& where, const CButtonState& buttons, bool callMouseExit);
	void startZoomSettling ();
	void startTooltipTimer ();
	void showTooltip ();
	void hideTooltip ();

	VSTGUIEditorInterface* editor;
	IPlatformFrame* platformFrame {nullptr};
	CView* focusView {nullptr};
	CView* activeFocusView {nullptr};
	SharedPointer<CView> modalView;
	std::vector<CView*> mouseViews;
	std::vector<std::function<void ()>> afterEventFunctions;
	int eventDepth {0};
	double zoom {1.};
	BitmapInterpolationQuality bitmapQuality {BitmapInterpolationQuality::kDefault};
	bool active {true};
	bool tooltipsEnabled {false};
	uint32_t tooltipDelay {1000};
	CVSTGUITimer* tooltipTimer {nullptr};
	CVSTGUITimer* zoomSettleTimer {nullptr};
	bool zoomSettling {false};
	CView* tooltipView {nullptr};
	bool tooltipShown {false};
	bool inSetFocusView {false};
	CPoint lastMousePosition;
};

class VSTGUIEditorInterface
{
public:
	virtual void doIdleStuff () {}
	virtual int32_t getKnobMode () const { return -1; }
	virtual void beginEdit (int32_t /*index*/) {}
	virtual void endEdit (int32_t /*index*/) {}
	virtual bool beforeSizeChange (const CRect& /*newSize*/, const CRect& /*oldSize*/) { return true; }
	virtual CFrame* getFrame () const { return frame; }

protected:
	VSTGUIEditorInterface () = default;
	virtual ~VSTGUIEditorInterface () noexcept = default;

	CFrame* frame {nullptr};
};
} // VSTGUI
