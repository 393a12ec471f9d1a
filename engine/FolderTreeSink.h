// Where the NSF folder listing puts the folders it finds: the browser page's folder check tree, or a
// recorder in the tests.
#pragma once

#include <afx.h>

// The folder tree as the engine sees it. The listing runs on the folder enumeration worker, so the
// wizard's implementation hands each call over to the tree's user-interface thread (a private message
// posted to the tree with a record the receiver frees); calls arrive in the order they were made.
class IFolderTreeSink {
 public:
  virtual ~IFolderTreeSink() {}
  // Adds path (folder names, each followed by a backslash) below the tree's root, creating every
  // missing level with kind as its image and item data; then gives the item of the path's last name
  // entryCount as its item data, expands it and ticks it.
  virtual void AddFolderPath(const CString& path, int kind, int entryCount) = 0;
};
