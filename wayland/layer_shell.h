// The layer-shell protocol's generated header, for C++: it names an argument "namespace".
#pragma once

#define namespace name_space
#include "wlr-layer-shell.h"
#undef namespace
