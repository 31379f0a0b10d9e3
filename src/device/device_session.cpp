#include "device_session.h"
