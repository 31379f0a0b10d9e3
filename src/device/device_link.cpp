#include "device_link.h"
