// The platform seam: the only header that includes the window system and OpenGL headers.
// Today it serves Win32 (user, GDI, common controls, WGL) with OpenGL 1.x and GLU; a native
// Linux layer will provide the same subset of services behind this same header.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <commctrl.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glext.h>
