// The layer-shell protocol's generated header, for C++: it names an argument "namespace".
#pragma once

// Whatever it includes first, so that the keyword is renamed in its own lines alone.
#include "client.h"
#include <stddef.h>
#include <stdint.h>

#define namespace name_space
#include "wlr-layer-shell.h"
#undef namespace
