// The mail and journal savers.
#include "AutomationWrappers.h"
#include "NotesStore.h"

int CNotesStore::SaveMail(RdoMailDispatch*) { return 0; }

int CNotesStore::SaveJournal(RdoJournalDispatch*) { return 0; }
