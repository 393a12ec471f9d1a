// The framework's named collections (CStringArray, CObList, CMapStringToPtr, ...).
#pragma once

#include "afxtempl.h"
#include "framework/Collections.h"
