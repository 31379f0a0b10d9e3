#include "measurement_frame.h"
