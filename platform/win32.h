// The one header the portable layers (demo/, host/, display/) include for the system's API.
// On Windows it is the real thing; everywhere else it is our own implementation of exactly the
// subset those layers call, with the same names, signatures and constant values.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <ddraw.h>
#include <mmsystem.h>
#else
#include "platform/compat/win32_types.h"
#include "platform/compat/ddraw_api.h"
#include "platform/compat/gdi_api.h"
#include "platform/compat/user32_api.h"
#endif
