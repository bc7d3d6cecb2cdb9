// Zero at process start: no info window, nothing shown, no load sampled yet.
#include "meter_state.h"

MeterState meter;
