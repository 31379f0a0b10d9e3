#include "socket_errors.h"
