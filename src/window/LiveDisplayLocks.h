#pragma once

// The lock set moved to settings/, beside the catalogue that flags it.
#include "settings/LiveDisplayLocks.h"
