// The open PST of one conversion: registered with the default mail profile through Outlook, opened
// as a store of a Redemption session, and named folder by folder through backslash paths.
#pragma once

#include <afxdisp.h>

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "AutomationWrappers.h"
#include "NotConverted.h"

// How many items the folder holds: its list's count, or, when that list cannot be read, the count the
// PST states among the folder's own properties; NotConvertedEntry::UNCOUNTED when neither can be read.
// Never throws.
long CountFolderItems(RdoFolderDispatch& folder);
// How many items the folder holds as the PST states it among the folder's own properties, which are
// read with the folder: its list of items is read only when the PST states no count. As
// CountFolderItems otherwise; never throws.
long StatedFolderItems(RdoFolderDispatch& folder);

// Owned by the main frame for one conversion and used only on the saving worker thread, which has
// initialised OLE. The UI thread may set m_bStop at any time; the open operations test it when they
// start. The open operations return 1 or 0 and leave the automation failure's description in
// m_strOpenError. The destructor closes the session and releases every driver.
class CPstSession {
 public:
  CPstSession();
  virtual ~CPstSession();
  CPstSession(const CPstSession&) = delete;
  CPstSession& operator=(const CPstSession&) = delete;

  // Closes a bound session first, then opens the PST: 1 open, 0 failed.
  int ReopenPst(CString path);
  int OpenPst(CString path);
  // Attaches the PST to the default mail profile; the Outlook objects are gone on return.
  int RegisterPstWithOutlook(CString path);
  // Releases the store and logs the session off; never throws.
  void Close();
  // Why the last open failed (the server's own description), empty after a successful open.
  const CString& GetOpenError() const { return m_strOpenError; }

  // Appends every folder's path below the store's root, parents before their sub-folders, each path
  // once, and remembers how each listed folder is reached. Sibling folders of one name, which Outlook
  // does not make but imported and repaired PSTs hold, share their path (and so do their sub-folders of
  // one name): CountListedFolders says how many folders a path stands for. A folder whose name or
  // sub-folders cannot be read is left out (with its sub-folders only) and recorded in m_notListed with
  // the reason; the walk goes on with its siblings. 1 when every folder was listed, 0 when m_notListed
  // has entries.
  int GetFolderList(CStringArray* paths);
  int CollectFolderPaths(RdoFolderDispatch folder, CString parentPath, CStringArray* paths);
  // How many of the folders GetFolderList listed have path; 0 for a path it did not list.
  int CountListedFolders(const CString& path) const;
  // How many items the folders of a path that GetFolderList listed hold together ("" for the top
  // folder), as CountFolderItems counts them; NotConvertedEntry::UNCOUNTED when one of them cannot be
  // counted, or the path was not listed. Creates nothing; never throws.
  long CountItemsAtPath(const CString& path);
  // The same, by the counts the PST states (StatedFolderItems): quick for a folder whose items are
  // only to be counted, such as one a stop leaves behind before it was begun.
  long CountStatedItemsAtPath(const CString& path);
  // Binds folder to the folder named by path, or leaves it empty when there is none. A path that
  // GetFolderList listed reaches the sibling-th (0-based, in listing order) of the folders that share
  // it and never creates one; any other path is walked level by level, mapping Notes system names and
  // creating levels that are missing (sibling 0 only). Returns 1.
  int OpenFolderByPath(CString path, RdoFolderDispatch& folder, int sibling = 0);
  // Walks from rootFolders; m_currentFolder ends as the last level's folder, or empty when a level
  // could be neither found nor created. Returns the last level's sub-folder collection.
  RdoFoldersDispatch WalkFolderPath(CString path, RdoFoldersDispatch rootFolders);
  bool HasSubFolder(RdoFoldersDispatch folders, CString name);
  RdoFoldersDispatch EnterSubFolder(CString name, RdoFoldersDispatch folders);
  RdoFoldersDispatch AddSubFolder(CString name, RdoFoldersDispatch folders, VARIANT folderClass);

  RdoSessionDispatch m_session;
  RdoStoresDispatch m_stores;
  RdoStoreDispatch m_store;
  RdoFolderDispatch m_currentFolder;
  // Written by the user-interface thread while the worker's open steps test it.
  std::atomic<int> m_bStop;
  HWND m_hwndParent;
  CString m_strOpenError;
  // The folders the last GetFolderList could not list, with why; the wizard reports them with the
  // store's m_notConverted.
  CNotConvertedList m_notListed;

 private:
  // Child positions (0-based, in the collections' own order) from the root to a listed folder.
  using FolderChain = std::vector<long>;

  // Lists the folders of one collection and, depth first, their sub-folders; a failure is recorded
  // in m_notListed when chain is given (the listing of GetFolderList), else thrown.
  void CollectFolderPathsFrom(RdoFoldersDispatch& folders, const CString& parentPath, CStringArray* paths,
                              FolderChain* chain);
  // The chain GetFolderList recorded for the sibling-th folder of path; null when it listed none.
  const FolderChain* FindListedChain(const CString& path, int sibling) const;
  // Binds m_currentFolder to the folder at the end of chain, checking the names on the way against
  // path; leaves it empty when the store no longer matches.
  void OpenListedFolder(const CString& path, const FolderChain& chain);
  void ForgetListedFolders();
  // The items of the folders of a listed path, each counted by countFolder.
  long CountAtPath(const CString& path, long (*countFolder)(RdoFolderDispatch&));

  // Every listed path with the chains of the folders that have it, in listing order.
  std::map<std::wstring, std::vector<FolderChain>> m_listedFolders;
};
