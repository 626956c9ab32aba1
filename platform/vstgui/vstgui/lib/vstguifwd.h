#pragma once

#include "vstguibase.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace VSTGUI
{
using CViewAttributeID = size_t;

enum CMouseEventResult
{
	kMouseEventNotImplemented = 0,
	kMouseEventHandled,
	kMouseEventNotHandled,
	kMouseDownEventHandledButDontNeedMovedOrUpEvents,
	kMouseMoveEventHandledButDontNeedMoreEvents
};

enum CMouseWheelAxis
{
	kMouseWheelAxisX = 0,
	kMouseWheelAxisY
};

enum class BitmapInterpolationQuality
{
	kDefault = 0,
	kLow,
	kMedium,
	kHigh
};

enum CKnobMode
{
	kCircularMode = 0,
	kRelativCircularMode,
	kLinearMode
};

struct CPoint;
struct CRect;
struct CColor;
struct CButtonState;
struct CGraphicsTransform;
struct VstKeyCode;
class UTF8String;
class CFontDesc;
class CBitmap;
class CDrawContext;
class CGraphicsPath;
class CGradient;
class CView;
class CViewContainer;
class CFrame;
class CControl;
class CKnobBase;
class CKnob;
class CAnimKnob;
class CKickButton;
class CParamDisplay;
class CTextLabel;
class CTextEdit;
class COptionMenu;
class CMenuItem;
class CVSTGUITimer;
class CNewFileSelector;
class CFileExtension;
class CResourceDescription;
class IControlListener;
class IViewMouseListener;
class IOptionMenuListener;
class VSTGUIEditorInterface;
class IPlatformFrame;
class IPlatformFrameConfig;
class UIDescription;
class IController;
class IUIDescription;
class IViewFactory;

using CFontRef = CFontDesc*;

} // VSTGUI
