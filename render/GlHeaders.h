#pragma once

// GLEW must come before any Qt or system GL header; every render file that needs GL types
// includes this header first.
#include <GL/glew.h>
