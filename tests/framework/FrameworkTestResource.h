// Resource ids of the framework tests' string table.
#pragma once

#define IDS_TEST_PROGRESS 101
#define IDS_TEST_GREETING 102
#define IDS_TEST_MISSING 199
