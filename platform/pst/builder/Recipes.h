// Ready-made stores: the sample with every message class and body format, and the bulk
// generator for large files. Both deterministic.
#pragma once

#include <cstddef>
#include <cstdint>

#include "PstRecipe.h"

namespace pstbuilder {

// At least one message of each class the converter meets, in named folders: nested folders,
// Unicode names and names with "\", attachments (large, Unicode and path-like names, embedded
// message), plain, HTML (UTF-8 and Windows-1256) and compressed RTF bodies.
Store SampleStore();

// Sibling folders of one name, as imported and repaired files hold them: Inbox with two folders named
// Projects, holding the mails "projects 1.1" to "projects 1.3" and "projects 2.1", "projects 2.2", each
// with a sub-folder Old holding one mail ("old 1", "old 2").
Store SiblingFoldersStore();

struct BulkOptions {
  size_t messages = 0;
  // 0: the standard folders and Inbox/Archive, each holding the classes that belong there;
  // otherwise this many folders "Folder 0001"... under a top-level "Bulk", classes mixed.
  size_t folders = 0;
  size_t bodyBytes = 0;        // plain body size; 0 for a short body of 16 lines
  size_t attachmentBytes = 0;  // one attachment of this size per message when non-zero
};

// Messages spread over folders round-robin (message i in folder i % folders), made on demand
// while the file is written, so memory stays flat however large the file.
Store BulkStore(const BulkOptions& options);

// The bulk store's i-th message, for tests that check what was written.
Message BulkMessage(size_t index, const BulkOptions& options);

}  // namespace pstbuilder
