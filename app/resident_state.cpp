#include "resident_state.h"

ResidentState residentState;
