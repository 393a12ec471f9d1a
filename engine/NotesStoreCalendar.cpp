// The appointment and task savers: calendar entries with their dates.
#include "AutomationWrappers.h"
#include "NotesStore.h"

int CNotesStore::SaveAppointment(RdoAppointmentDispatch*) { return 0; }

int CNotesStore::SaveTask(RdoTaskDispatch*) { return 0; }
