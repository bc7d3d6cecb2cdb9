// Zero at process start: no windows, nothing shown, no load sampled yet.
#include "meter_state.h"

MeterState meter;
