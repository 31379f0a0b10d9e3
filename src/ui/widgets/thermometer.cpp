#include "thermometer.h"
