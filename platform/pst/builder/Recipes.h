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

// `count` mixed messages spread over the standard folders and a nested one, made on demand while
// the file is written; every message carries an attachment of `attachmentBytes` when non-zero.
Store BulkStore(size_t count, size_t attachmentBytes);

// The bulk store's i-th message, for tests that check what was written.
Message BulkMessage(size_t index, size_t attachmentBytes);

}  // namespace pstbuilder
