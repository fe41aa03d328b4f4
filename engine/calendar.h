// The whole calendar engine.
#pragma once

#include "cycles.h"
#include "gregorian.h"
#include "lunar.h"
#include "names.h"
#include "solarterm.h"
