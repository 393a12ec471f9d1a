// The files SQLite works with in the Notes database files: its own Windows files, with the shared memory
// of the journal (the "-shm" file beside a database) stored before SQLite writes to it.
#pragma once

namespace lnstore {

// Makes the Windows files of SQLite, with the shared memory backed, SQLite's default; later calls do
// nothing. Called by every opening of a database file, after UseOwnSqliteMemory.
//
// SQLite writes the journal's index through a view of the "-shm" file that it makes larger by setting
// the file's end only. A file system that cannot store the new part (a full disk) then fails the
// write into the view, which ends the process. Here each new part is written with zeros before it
// is mapped, so that a full disk fails that write instead: the statement fails with SQLITE_FULL, as
// any other write to a full disk does, and the part is given back.
void UseBackedSharedMemory();

}  // namespace lnstore
