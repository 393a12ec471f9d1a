// The framework's collection templates: CArray, CList, CMap and the typed pointer wrappers.
#pragma once

#include "afx.h"
#include "framework/CollectionHelpers.h"
#include "framework/Array.h"
#include "framework/List.h"
#include "framework/Map.h"
#include "framework/TypedPtr.h"
