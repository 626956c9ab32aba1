#include <objc/ClassRegistration.h>

#include <dlfcn.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace
{
ClassRegistration s_base("RuntimeTestBase", Nil, nullptr);
ClassRegistration s_derived("RuntimeTestDerived", s_base.get(), nullptr);
}

TEST(ClassRuntime, ClassesAreFoundByNameWithTheirSuperclassAndImage)
{
	Class derived = objc_getClass("RuntimeTestDerived");
	ASSERT_EQ(derived, s_derived.get());
	EXPECT_STREQ(class_getName(derived), "RuntimeTestDerived");
	EXPECT_EQ(class_getSuperclass(derived), s_base.get());
	EXPECT_TRUE(class_isSubclassOf(derived, s_base.get()));
	EXPECT_FALSE(class_isSubclassOf(s_base.get(), derived));
	EXPECT_EQ(std::filesystem::canonical(class_getImageName(derived)), std::filesystem::canonical("/proc/self/exe"));
	EXPECT_EQ(objc_getClass("NoSuchClass"), Nil);
	EXPECT_EQ(objc_getClass(nullptr), Nil);
	EXPECT_STREQ(class_getName(Nil), "nil");
	EXPECT_EQ(class_getImageName(Nil), nullptr);
}

TEST(ClassRuntime, ALoadedBundleRegistersItsClassesUntilItIsUnloaded)
{
	const std::string executable = std::string(VIREL_TEST_BUNDLE) + "/Contents/MacOS/VirelTest";
	void* image = dlopen(executable.c_str(), RTLD_NOW | RTLD_LOCAL);
	ASSERT_NE(image, nullptr) << dlerror();
	Class view = objc_getClass("VirelTestCocoaUI");
	ASSERT_NE(view, Nil);
	EXPECT_EQ(std::filesystem::canonical(class_getImageName(view)), std::filesystem::canonical(executable));
	EXPECT_EQ(view->create(), nil);
	dlclose(image);
	EXPECT_EQ(objc_getClass("VirelTestCocoaUI"), Nil);
}
