// Writes a message as an Outlook message file: a compound file through the system's structured
// storage, laid out as the public message-file format describes (property streams, recipient and
// attachment storages, nested messages, the named-property map).
#pragma once

#include "PstSource.h"

#include <string>

namespace automation {

// Writes `message` with its recipients and attachments to `path`, replacing any file there.
// Throws DispatchError when the file cannot be written.
void WriteMessageFile(PstMessage& message, const std::wstring& path);

}  // namespace automation
