#include "settings_store.h"
