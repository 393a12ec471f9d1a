// The contact saver: a Person document of text items.
#include "AutomationWrappers.h"
#include "NotesStore.h"

int CNotesStore::SaveContact(RdoContactDispatch*) { return 0; }
