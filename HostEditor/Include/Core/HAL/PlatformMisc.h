// FPlatformMisc: the running platform's FGenericPlatformMisc.
#pragma once

#include "GenericPlatform/GenericPlatformMisc.h"

typedef FGenericPlatformMisc FPlatformMisc;
