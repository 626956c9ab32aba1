#include "ZentEditor.h"

using namespace VSTGUI;

void ZentEditor::showMessageBoxOk(const std::string&) const {}

bool ZentEditor::showMessageBoxYesNo(const std::string&) const
{
	return false;
}

void ZentEditor::openURL(const std::string&, const std::string&) {}

CMouseEventResult ZentEditor::viewOnMouseDown(CView*, CPoint, CButtonState)
{
	return kMouseEventNotImplemented;
}
