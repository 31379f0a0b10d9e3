#include "analog_meter.h"
