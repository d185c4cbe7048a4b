#pragma once
// The one way this folder includes the Windows headers. The API's function-like macros
// (DeleteFile, FindWindow) collide with the names of the platform interfaces, so they go.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#include <windows.h>

#undef DeleteFile
#undef FindWindow
