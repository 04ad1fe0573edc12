// The batch's worker threads live in convert/, where the window shares them.
#pragma once

#include "convert/ordered_workers.h"
