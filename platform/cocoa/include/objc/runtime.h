#pragma once

// The class runtime as far as a host and a plug-in use it to find a view class by name and the image that
// defines it. Classes are records that the defining image registers while it is loaded (objc/ClassRegistration.h).

#ifdef __cplusplus
extern "C" {
#endif

typedef struct objc_class* Class;
typedef struct objc_object* id;

#ifndef Nil
#define Nil ((Class)0)
#endif
#ifndef nil
#define nil ((id)0)
#endif

// The record a class is made of. create makes a new instance with a retain count of 1 (null when the class
// cannot be instantiated).
struct objc_class
{
	const char* name;
	Class super_class;
	id (*create)(void);
};

// The registered class of that name, or Nil.
Class objc_getClass(const char* name);
// The class's name; "nil" for Nil.
const char* class_getName(Class cls);
// Path of the executable image that defines the class (found from the class record's address), or NULL.
const char* class_getImageName(Class cls);
Class class_getSuperclass(Class cls);
// True when cls is sup or derives from it.
int class_isSubclassOf(Class cls, Class sup);

// For the image that defines a class: make it known while the image is loaded.
void objc_registerClassPair(Class cls);
void objc_disposeClassPair(Class cls);

#ifdef __cplusplus
}
#endif
