#include "led.h"
