#include "vstgui/lib/platform/iplatformframe.h"

namespace VSTGUI
{
IPlatformFrame* createX11PlatformFrame (IPlatformFrameCallback*, const CRect&, void*)
{
	return nullptr;
}
} // VSTGUI
