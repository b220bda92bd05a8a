#pragma once

// The system's one door to fixed-function OpenGL 1.x. The drawing code calls
// glBegin and friends directly in the context the surface makes current.
#include <GL/gl.h>
