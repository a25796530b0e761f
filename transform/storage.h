// The transformation storage: the transformations a program has created or
// loaded, by instance name, and their files. The file of a transformation
// named N in directory D is D "/" N ".dov" (an empty D is written
// "-(no-dir)-"); files are looked for along the storage's directory list.
// The storage holds the transformations but never deletes them.
//
// A transformation file holds the version "4-2-0", the class name and then
// the record of the transformation's own PutTic, so that reading it makes an
// object of the right class through the class registry.
#pragma once

#include <iosfwd>

#include "lbase/vstring.h"
#include "lbase/vstring_list.h"
#include "transform/base.h"

constexpr int DOV_MAX_STORED_TRANSFORMS = 1024;

// Results of the storage besides the registry's 110 to 112 and the file
// helpers' 10 and 11.
enum DovTranStorageResult : int {
    DOV_STORE_NOT_DONE = 20,  // a name that would leave the directories; update of references
};

class DovTranStorage {
public:
    // Directory list "." and nothing loaded.
    DovTranStorage();
    DovTranStorage(const DovTranStorage&) = delete;
    DovTranStorage& operator=(const DovTranStorage&) = delete;

    // 1 and the loaded transformation of that name through `out` (when
    // given), else 0.
    int FindLoaded(const VString& name, DovTransform** out = nullptr) const;
    // 1 and the first directory of the list that holds the file of that name
    // through `dir` (when given), else 0. A name that would leave the
    // directories is never looked for.
    int FindFile(const VString& name, VString* dir = nullptr) const;
    // FindLoaded, or else FindFile; `dir` is emptied for a loaded one.
    int Exists(const VString& name, DovTransform** out, VString* dir) const;

    // Takes a new transformation in: 0; 111 when its name is loaded or on
    // file already; 112 when the storage is full.
    int New(DovTransform* t, VString& message);
    // New without the test for the name.
    int Add(DovTransform* t, VString& message);
    // Writes t's file in t's own directory: 0, 10, or 20.
    int Save(const DovTransform* t, VString& message);
    // The loaded transformation of that name, or else the one read from its
    // file along the list, added and given the directory it was found in.
    // 0; 'n' no such file; 11; a reader code; 112; 20.
    int Load(const VString& name, DovTransform*& out, VString& message);
    // Takes the transformation of that name out of the storage (it is not
    // deleted): 0, or 110 when it is not loaded and `complain` is set.
    int DelFromMem(const VString& name, int complain, VString& message);
    // Deletes the files of that name in every directory of the list (each
    // directory visited once): 0, 110 when there was none and `complain` is
    // set, 20.
    int DelFromFile(const VString& name, int complain, VString& message);
    // DelFromMem and, when it succeeded, DelFromFile.
    int Delete(const VString& name, int complain, VString& message);
    // Gives the transformation `old_name` the name `new_name` and the
    // directory `new_dir` and saves it there; with `overwrite` a
    // transformation that has the new name already is taken out and its
    // files deleted first. With `update_refs` everything is done and 20
    // returned: references in other transformations are never rewritten.
    // 0; 111; 20; or the code of a step.
    int Rename(const VString& old_name, const VString& new_name, const VString& new_dir, int overwrite,
               int update_refs, VString& message);

    // The path of the file of `name` in `dir`.
    static VString FilePath(const VString& dir, const VString& name);
    // False for a name whose file would not lie in its directory: one that
    // starts with or holds '/' or '\\', the name "..", or one with a NUL.
    static bool IsSafeName(const VString& name);

    VStringList dirs;
    int count = 0;
    DovTransform* loaded[DOV_MAX_STORED_TRANSFORMS] = {};
};

// The storage built at start-up, and the storage that references resolve
// through (initially that one; null stands for it as well).
extern DovTranStorage DovGlobalTranStorage;
extern DovTranStorage* DovCurrentTranStorage;

// Reads a transformation file from `is`: the version, the class name, a new
// object of that class from the registry and its GetTic. 0 with the new
// object in `out`; '<' for a class that is not registered; a reader code.
// On failure `out` is null, nothing is left allocated and `message` says why.
char DovReadTransformation(std::istream& is, DovTransform*& out, VString& message);
// The same from the file at `path`; 11 when it cannot be opened.
char DovReadTransformationFile(const VString& path, DovTransform*& out, VString& message);
