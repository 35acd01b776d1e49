// PLACEHOLDER: the driver is being written.
#include "driver.h"
