// Resource ids of the wizard tests' own resources (beside the program's, which they also link).
#pragma once

#define IDB_TEST_IN 5001
#define IDB_TEST_OUT 5002
#define IDB_TEST_DISABLED 5003
