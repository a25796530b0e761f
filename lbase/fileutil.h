// File and process helpers: opening files, making directories, removing
// files, temporary names and running another program. With the environment
// variable DOV_DEBUG set they trace what they do on standard output ("@@"
// lines); with DOV_NO_RM set no file is removed.
#pragma once

#include <fstream>

#include "lbase/vstring.h"
#include "lbase/vstring_list.h"

// The open helpers' switches are distinct types, so that two of them cannot
// be passed in each other's place.
enum class DovFileMode : bool { Text = false, Binary = true };
enum class DovOpenTrace : bool { Off = false, On = true };
enum class DovWriteMode : bool { Truncate = false, Append = true };

// Opens `path` for reading. Returns 0, or 11 when the file cannot be opened
// (the stream's failbit is then set). With trace on and DOV_DEBUG set it
// prints "@@DovOpenInFile: file='...', bin=..., ret=...".
int DovOpenInFile(std::ifstream& in, const char* path, DovFileMode mode, DovOpenTrace trace);

// Opens `path` for writing after dropping every directory name that a ".."
// component follows, together with that component. Returns 0, or 10.
int DovOpenOutFile(std::ofstream& out, const VString& path, DovFileMode mode, DovWriteMode write);

// Called by the lexer after it has opened an input file; a place for
// bookkeeping that this program does not need.
void DovNoteOpenedFile(const char* path, int offset);

// Makes, with mode 0755, every directory on the way to the file that `path`
// names ('/' and '\\' both separate). The file itself is never made. Returns
// 0, or 1 with errno stored through `error` (when not null).
int DovMkDir(const char* path, int* error);

// True when the path starts with '/' or '\\' or has ':' as its second
// character; false for null.
bool DovIsAbsolutePath(const char* path);

// Runs `program` with `args` and waits for it; the child's exit status goes
// through `status`. Returns 0, or 13 with a message when the program could
// not be started (also when it ends with status 13 of its own).
int DovCallExec(const VString& program, char* status, const VStringList& args, VString& message);

// Whether DOV_DEBUG is set.
bool DovDebugEnabled();

// A fresh name for a temporary file in $TMPDIR (or /tmp), starting with
// `prefix`; with DOV_DEBUG set and `file` not empty, the base name of `file`
// without its extension is the prefix instead. The file is created empty so
// that the name stays ours; the empty string when no file can be made there.
VString DovTempFileName(const VString& prefix, const VString& file);

// Removes the file unless DOV_NO_RM is set. Always returns 0.
int DovRmFile(const VString& path);

// True when the path exists.
bool DovFileExists(const VString& path);
