// The accessors are generated at build time (see CMakeLists.txt beside this file); this unit only
// anchors the library.
#include "editor/resources/EditorResources.h"
