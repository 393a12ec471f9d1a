// Resource ids of the drawing tests.
#pragma once

#define IDB_PROBE 101
#define IDR_PROBE_MENU 201
#define ID_PROBE_OPEN 40001
#define ID_PROBE_SAVE 40002
#define ID_PROBE_EXIT 40003
#define ID_PROBE_COPY 40011
