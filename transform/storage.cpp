// The transformation storage, transformation files and their readers.
#include "transform/storage.h"

#include <unistd.h>

#include <fstream>
#include <istream>

#include "lbase/fileutil.h"
#include "lbase/strutil.h"
#include "transform/base.h"

namespace {

const char kNoDir[] = "-(no-dir)-";
const char kSuffix[] = ".dov";

constexpr int kNotRegistered = DOV_REG_NOT_REGISTERED;
constexpr int kDuplicate = DOV_REG_DUPLICATE;
constexpr int kFull = DOV_REG_FULL;
constexpr int kCannotOpenOut = 10;

// The refusal of a name whose file would lie outside its directory.
int RefuseName(const char* operation, const VString& name, VString& message) {
    message = DovFormat("%s: transformation name '%s' is not allowed: its file would lie outside the directory",
                        operation, DovEscapeString(name.CStr()).CStr());
    return DOV_STORE_NOT_DONE;
}

// Whether the file at `path` can be opened for writing, leaving it as it
// was: 0, or 10 with a message.
int ProbeWritable(const VString& path, VString& message) {
    const bool existed = DovFileExists(path);
    std::ofstream probe;
    if (int rc = DovOpenOutFile(probe, path, DovFileMode::Text, DovWriteMode::Append)) {
        message = DovFormat("Cannot open file '%s' for output", path.CStr());
        return rc;
    }
    probe.close();
    if (!existed) unlink(DovRemoveDotDot(path).CStr());
    return 0;
}

}  // namespace

DovTranStorage DovGlobalTranStorage;
DovTranStorage* DovCurrentTranStorage = &DovGlobalTranStorage;

DovTranStorage::DovTranStorage() { dirs.Append("."); }

VString DovTranStorage::FilePath(const VString& dir, const VString& name) {
    return (dir.IsEmpty() ? VString(kNoDir) : dir) + "/" + name + kSuffix;
}

bool DovTranStorage::IsSafeName(const VString& name) {
    for (int i = 0; i < name.Len(); ++i)
        if (name[i] == '/' || name[i] == '\\' || name[i] == '\0') return false;
    return !(name == "..");
}

// --- lookups -------------------------------------------------------------------

int DovTranStorage::FindLoaded(const VString& name, DovTransform** out) const {
    for (int i = 0; i < count; ++i) {
        if (loaded[i] && loaded[i]->name == name) {
            if (out) *out = loaded[i];
            return 1;
        }
    }
    return 0;
}

int DovTranStorage::FindFile(const VString& name, VString* dir) const {
    if (!IsSafeName(name)) return 0;
    for (const VStringListNode* d = dirs.head; d; d = d->next) {
        if (DovFileExists(FilePath(d->value, name))) {
            if (dir) *dir = d->value;
            return 1;
        }
    }
    return 0;
}

int DovTranStorage::Exists(const VString& name, DovTransform** out, VString* dir) const {
    if (FindLoaded(name, out)) {
        if (dir) *dir = VString();
        return 1;
    }
    return FindFile(name, dir);
}

// --- taking transformations in ---------------------------------------------------

int DovTranStorage::New(DovTransform* t, VString& message) {
    if (!t) {
        message = "DovTranStorage::New: no transformation given";
        return kNotRegistered;
    }
    if (FindLoaded(t->name) || FindFile(t->name)) {
        message = DovFormat("DovTranStorage::New: transformation '%s' already registered", t->name.CStr());
        return kDuplicate;
    }
    return Add(t, message);
}

int DovTranStorage::Add(DovTransform* t, VString& message) {
    if (!t) {
        message = "DovTranStorage::Add: no transformation given";
        return kNotRegistered;
    }
    if (count >= DOV_MAX_STORED_TRANSFORMS) {
        message = "DovTranStorage::Load: too many transformations loaded";
        return kFull;
    }
    loaded[count++] = t;
    return 0;
}

// --- files -----------------------------------------------------------------------

int DovTransform::Save(VString& message) const {
    if (!DovTranStorage::IsSafeName(name)) return RefuseName("DovTransform::Save", name, message);
    VString path = DovTranStorage::FilePath(dir_name, name);
    std::ofstream out;
    int rc = DovOpenOutFile(out, path, DovFileMode::Text, DovWriteMode::Truncate);
    if (rc) {
        message = DovFormat("Cannot open file '%s' for output", path.CStr());
        return rc;
    }
    PutTic(out);
    out.close();
    // A full disk shows only here; the file is not what it claims to be.
    if (out.fail()) {
        message = DovFormat("Cannot write file '%s'", path.CStr());
        return kCannotOpenOut;
    }
    return 0;
}

int DovTranStorage::Save(const DovTransform* t, VString& message) {
    if (!t) {
        message = "DovTranStorage::Save: no transformation given";
        return kNotRegistered;
    }
    return t->Save(message);
}

char DovReadTransformation(std::istream& is, DovTransform*& out, VString& message) {
    out = nullptr;
    VString version, class_name;
    char rc = version.GetTic(is, ':', message);
    if (!rc) rc = class_name.GetTic(is, ':', message);
    if (rc) return rc;
    DovTransform* t = nullptr;
    if (int r = DovTransform::NewByName(class_name, t, message)) return static_cast<char>(r);
    if (!t) {
        message = DovFormat("DovReadTransformation: class '%s' made no transformation", class_name.CStr());
        return DOV_TR_NOT_REGISTERED;
    }
    message = VString();
    rc = t->GetTic(is, message);
    if (rc) {
        // A half-read transformation is of no use to anyone.
        if (message.IsEmpty())
            message = DovFormat("DovReadTransformation: cannot read transformation of class '%s'", class_name.CStr());
        delete t;
        return rc;
    }
    out = t;
    return 0;
}

char DovReadTransformationFile(const VString& path, DovTransform*& out, VString& message) {
    out = nullptr;
    std::ifstream in;
    if (int rc = DovOpenInFile(in, path.CStr(), DovFileMode::Text, DovOpenTrace::On)) {
        message = DovFormat("Cannot open file '%s' for input", path.CStr());
        return static_cast<char>(rc);
    }
    char rc = DovReadTransformation(in, out, message);
    in.close();
    return rc;
}

int DovTranStorage::Load(const VString& name, DovTransform*& out, VString& message) {
    out = nullptr;
    if (!IsSafeName(name)) return RefuseName("DovTranStorage::Load", name, message);
    if (FindLoaded(name, &out)) return 0;
    VString dir;
    if (!FindFile(name, &dir)) {
        message = DovFormat("Cannot find transformation '%s' for load", name.CStr());
        return DOV_TR_NOT_FOUND;
    }
    DovTransform* t = nullptr;
    if (char rc = DovReadTransformationFile(FilePath(dir, name), t, message)) return rc;
    if (int rc = Add(t, message)) {
        // The storage is unchanged by a failed load, and the object has no
        // other owner.
        delete t;
        return rc;
    }
    t->dir_name = dir;
    out = t;
    return 0;
}

// --- taking transformations out ------------------------------------------------------

int DovTranStorage::DelFromMem(const VString& name, int complain, VString& message) {
    for (int i = 0; i < count; ++i) {
        if (loaded[i] && loaded[i]->name == name) {
            for (int k = i + 1; k < count; ++k) loaded[k - 1] = loaded[k];
            loaded[--count] = nullptr;
            return 0;
        }
    }
    if (!complain) return 0;
    message = DovFormat("DovTranStorage::DelFromMem: transformation '%s' not found", name.CStr());
    return kNotRegistered;
}

int DovTranStorage::DelFromFile(const VString& name, int complain, VString& message) {
    if (!IsSafeName(name)) return RefuseName("DovTranStorage::DelFromFile", name, message);
    // Each directory once: a file that is kept (DOV_NO_RM) or cannot be
    // removed is not found again and again.
    int n = 0;
    for (const VStringListNode* d = dirs.head; d; d = d->next) {
        VString path = FilePath(d->value, name);
        if (!DovFileExists(path)) continue;
        if (d->value.IsEmpty()) break;
        if (int rc = DovRmFile(path)) return rc;
        ++n;
    }
    if (n == 0) {
        if (!complain) return 0;
        message = DovFormat("DovTranStorage::DelFromFile: transformation named '%s.dov' not found", name.CStr());
        return kNotRegistered;
    }
    if (n > 1)
        message = DovFormat("DovTranStorage::DelFromFile: %d transformation files named '%s.dov' deleted", n,
                            name.CStr());
    return 0;
}

int DovTranStorage::Delete(const VString& name, int complain, VString& message) {
    if (!IsSafeName(name)) return RefuseName("DovTranStorage::Delete", name, message);
    int rc = DelFromMem(name, complain, message);
    if (rc) return rc;
    return DelFromFile(name, complain, message);
}

int DovTranStorage::Rename(const VString& old_name, const VString& new_name, const VString& new_dir, int overwrite,
                           int update_refs, VString& message) {
    if (!IsSafeName(old_name)) return RefuseName("DovTranStorage::Rename", old_name, message);
    if (!IsSafeName(new_name)) return RefuseName("DovTranStorage::Rename", new_name, message);
    DovTransform* t = nullptr;
    if (int rc = Load(old_name, t, message)) return rc;
    if (new_name == old_name && new_dir == t->dir_name) return Save(t, message);

    DovTransform* existing = nullptr;
    VString existing_dir;
    const bool clash = Exists(new_name, &existing, &existing_dir) != 0;
    if (clash && !overwrite) {
        message = DovFormat("Cannot rename transformation '%s' to '%s/%s' because transformation '%s/%s' already exists",
                            old_name.CStr(), new_dir.CStr(), new_name.CStr(), existing_dir.CStr(), new_name.CStr());
        return kDuplicate;
    }
    // Nothing is deleted before it is sure that the new file can be written:
    // otherwise a rename into a missing directory would leave no file at all.
    if (int rc = ProbeWritable(FilePath(new_dir, new_name), message)) return rc;
    if (clash) {
        if (int rc = DelFromMem(new_name, 0, message)) return rc;
        if (int rc = DelFromFile(new_name, 0, message)) return rc;
    }
    if (int rc = DelFromMem(old_name, 0, message)) return rc;
    if (int rc = DelFromFile(old_name, 0, message)) return rc;
    t->name = new_name;
    t->dir_name = new_dir;
    if (int rc = New(t, message)) return rc;
    if (int rc = Save(t, message)) return rc;
    if (update_refs) {
        message = "DovTranStorage::Rename: update refs not implemented";
        return DOV_STORE_NOT_DONE;
    }
    return 0;
}
