// The one header through which the subsystems reach the platform: the real Win32 API on
// Windows, our stand-in for the same calls everywhere else. Nothing outside platform/
// tests for the platform itself.
#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef STRICT
#define STRICT
#endif
#include <windows.h>
#else
#include "posix/win32_api.h"
#endif

#include "platform/handle_value.h"
