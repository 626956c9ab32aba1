// The accessors are generated at build time (see the image recipes beside this file); this unit
// only anchors the library.
#include "zentdata.h"
