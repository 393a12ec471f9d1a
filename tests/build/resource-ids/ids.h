// Ids of the check's sample scripts; two names stand for one icon number.
#define IDI_FIRST 7
#define IDI_SECOND 7
#define IDS_GREETING 100
#define IDS_FAREWELL 100
