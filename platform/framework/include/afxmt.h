// The framework's synchronisation classes.
#pragma once

#include "afx.h"
#include "framework/SyncObjects.h"
