#pragma once

#include <objc/runtime.h>

// Registers a class for as long as the image that defines it stays loaded. Define one static instance per class
// in the defining image, so that the class record (and with it class_getImageName) belongs to that image:
//
//   static ClassRegistration s_viewFactory("VirelCocoaUI", nullptr, [] { return (id) new VirelCocoaUI; });
class ClassRegistration
{
public:
	ClassRegistration(const char* name, Class superclass, id (*create)()) : m_class{name, superclass, create}
	{
		objc_registerClassPair(&m_class);
	}
	~ClassRegistration() { objc_disposeClassPair(&m_class); }
	ClassRegistration(const ClassRegistration&) = delete;
	ClassRegistration& operator=(const ClassRegistration&) = delete;

	Class get() { return &m_class; }

private:
	objc_class m_class;
};
