#pragma once

#include "../cbuttonstate.h"
#include "../cpoint.h"
#include "../crect.h"
#include "../vstguifwd.h"
#include "../vstkeycode.h"

#include <cstdint>

namespace VSTGUI
{
// Plain (unscoped) so that both PlatformType::kDefaultNative and PlatformType (-1) name the
// platform's default native view type.
enum PlatformType : int32_t
{
	kHWND,
	kWindowRef,
	kNSView,
	kUIView,
	kHWNDTopLevel,
	kX11EmbedWindowID,
	kGdkWindow,
	kDefaultNative = -1
};

class IPlatformFrameConfig
{
public:
	virtual ~IPlatformFrameConfig () noexcept = default;
};

// What a platform window calls on its frame. Positions are in frame pixels.
class IPlatformFrameCallback
{
public:
	virtual ~IPlatformFrameCallback () noexcept = default;
	virtual bool platformDrawRect (CDrawContext* context, const CRect& rect) = 0;
	virtual CMouseEventResult platformOnMouseDown (CPoint& where, const CButtonState& buttons) = 0;
	virtual CMouseEventResult platformOnMouseMoved (CPoint& where, const CButtonState& buttons) = 0;
	virtual CMouseEventResult platformOnMouseUp (CPoint& where, const CButtonState& buttons) = 0;
	virtual CMouseEventResult platformOnMouseExited (CPoint& where, const CButtonState& buttons) = 0;
	virtual bool platformOnMouseWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
	                                   const CButtonState& buttons) = 0;
	virtual bool platformOnKeyDown (VstKeyCode& keyCode) = 0;
	virtual bool platformOnKeyUp (VstKeyCode& keyCode) = 0;
	virtual void platformOnActivate (bool state) = 0;
	virtual void platformOnWindowActivate (bool state) = 0;
	virtual void platformScaleFactorChanged (double newScaleFactor) = 0;
};
} // VSTGUI
