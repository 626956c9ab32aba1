#pragma once

#include "uidescription/icontroller.h"
#include "uidescription/uidescription.h"
#include "uidescription/xmlparser.h"
