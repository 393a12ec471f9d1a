// The framework's automation layer: OLE exceptions, dates, variants, currency and the dispatch
// driver, plus per-thread OLE initialisation.
#pragma once

#include "afx.h"
#include "afxcoll.h"

#include <ole2.h>
#include <oleauto.h>

#include "framework/OleException.h"
#include "framework/OleDateTime.h"
#include "framework/OleVariant.h"
#include "framework/OleDispatchDriver.h"
