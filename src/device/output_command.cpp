#include "output_command.h"
