#include "message_box_prompts.h"
