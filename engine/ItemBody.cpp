// The body readers and the body steps of the item savers.
#include "ItemBody.h"

#include "NotesItemWriters.h"

namespace {

template <class Item>
int ReadBody(Item* item, CString* plain, CString* html, CString* rich) {
  switch (item->GetBodyFormat()) {
    case BODY_FORMAT_PLAIN:
      *plain = item->GetBody();
      break;
    case BODY_FORMAT_HTML:
      *html = item->GetHtmlBody();
      break;
    case BODY_FORMAT_RICH:
      *rich = item->GetStringProperty69();
      break;
    default:
      break;
  }
  return static_cast<int>(item->GetBodyFormat());
}

// A write whose library failure must not end the steps; AddTextItem already catches its own.
void WritePlainBody(CString plain, LNDocument& document) {
  try {
    AddTextItem(L"Body", plain, document);
  } catch (LNSTATUS status) {
    DropNotesMessage(status);
  }
}

template <class Item>
void WriteBody(Item* item, BOOL plainTextBody, LNDocument& document,
               int (*reader)(Item*, CString*, CString*, CString*)) {
  CString plain;
  CString html;
  CString rich;
  try {
    if (plainTextBody) {
      plain = item->GetBody();
      WritePlainBody(plain, document);
    } else {
      const int format = reader(item, &plain, &html, &rich);
      if (format == BODY_FORMAT_PLAIN) {
        AddTextItem(L"Body", plain, document);
      } else if (format == BODY_FORMAT_HTML) {
        if (!AddHtmlBodyItem(L"Body", html, document)) {
          plain = item->GetBody();
          AddTextItem(L"Body", plain, document);
        }
      }
    }
    plain = item->GetBody();
    WritePlainBody(plain, document);
  } catch (CException* e) {
    e->Delete();
  } catch (...) {
  }
}

}  // namespace

int ReadAppointmentBody(RdoAppointmentDispatch* item, CString* plain, CString* html, CString* rich) {
  return ReadBody(item, plain, html, rich);
}
int ReadTaskBody(RdoTaskDispatch* item, CString* plain, CString* html, CString* rich) {
  return ReadBody(item, plain, html, rich);
}
int ReadMailBody(RdoMailDispatch* item, CString* plain, CString* html, CString* rich) {
  return ReadBody(item, plain, html, rich);
}
int ReadJournalBody(RdoJournalDispatch* item, CString* plain, CString* html, CString* rich) {
  return ReadBody(item, plain, html, rich);
}
int ReadContactBody(RdoContactDispatch* item, CString* plain, CString* html, CString* rich) {
  return ReadBody(item, plain, html, rich);
}

void WriteAppointmentBody(RdoAppointmentDispatch* item, BOOL plainTextBody, LNDocument& document) {
  WriteBody(item, plainTextBody, document, &ReadAppointmentBody);
}
void WriteTaskBody(RdoTaskDispatch* item, BOOL plainTextBody, LNDocument& document) {
  WriteBody(item, plainTextBody, document, &ReadTaskBody);
}
void WriteMailBody(RdoMailDispatch* item, BOOL plainTextBody, LNDocument& document) {
  WriteBody(item, plainTextBody, document, &ReadMailBody);
}
void WriteJournalBody(RdoJournalDispatch* item, BOOL plainTextBody, LNDocument& document) {
  WriteBody(item, plainTextBody, document, &ReadJournalBody);
}
void WriteContactBody(RdoContactDispatch* item, BOOL plainTextBody, LNDocument& document) {
  WriteBody(item, plainTextBody, document, &ReadContactBody);
}
