// The option listings: the long help listing and the "*.cop" short form.
#include <ostream>

#include "lbase/cmdline.h"
#include "lbase/fast_ostream.h"

namespace {

int ChoiceCount(const DovCommandLineFlag& f) {
    int n = 0;
    while (f.choices && !f.choices[n].IsEmpty()) ++n;
    return n;
}

// Number of elements of an 'a' or 'z' record, kept within its array.
int ElementCount(const DovCommandLineFlag& f) {
    if (f.kind == 'z') return f.list ? f.list->count : 0;
    if (!f.count || *f.count < 0) return 0;
    return *f.count > f.capacity ? f.capacity : *f.count;
}

// The elements of an 'a' or 'z' record joined by ",", each string between
// two `quote`s.
void PutElements(const DovCommandLineFlag& f, std::ostream& out, const char* quote) {
    int count = ElementCount(f);
    for (int k = 0; k < count; ++k) {
        if (k) out << ',';
        if (f.kind == 'a') {
            out << f.value[k];
        } else {
            out << quote << f.list->items[k] << quote;
        }
    }
}

// The name of a selection's current value, or the number itself when it is
// no index of the choices (a number may be set without a check).
void PutSelection(const DovCommandLineFlag& f, const VString* names, std::ostream& out) {
    int v = *f.value;
    if (v >= 0 && v < ChoiceCount(f)) {
        out << names[v];
    } else {
        out << v;
    }
}

bool Listed(const DovCommandLineFlag& f, int mask) { return f.kind != 0 && f.kind != '-' && (f.mask & mask); }

const char* Text(const char* s) { return s ? s : ""; }

}  // namespace

void DovPrintCommandLineFlags(const DovCommandLineFlagTable& table, std::ostream& out, int first, int end,
                              const char* const* words) {
    out << "Command-Line arguments parsed:\n";
    for (int i = first; words && i < end; ++i) out << "  " << Text(words[i]) << '\n';
    out << "\nCommand-Line parameters set:\n";
    int n = table.Used();
    for (int i = 0; i < n; ++i) {
        const DovCommandLineFlag& f = table.flags[i];
        if (f.kind == '-') {
            out << "\n*** " << Text(f.help) << " ***\n\n";
            continue;
        }
        out << '-' << Text(f.name);
        switch (f.kind) {
            case 'b':
                if (!f.value) break;
                out << "=boolean (now: " << (*f.value ? "+ON+" : "-OFF-") << ", can be -" << Text(f.name)
                    << " or -no-" << Text(f.name) << ')';
                break;
            case 'n':
                if (!f.value) break;
                out << "=number (now: " << *f.value << ')';
                break;
            case 'a':
                if (!f.value) break;
                out << "=number list (now: ";
                PutElements(f, out, "");
                out << ')';
                break;
            case 's':
                if (!f.string) break;
                out << "=string (now: \"" << *f.string << "\")";
                break;
            case 'z':
                if (!f.list) break;
                out << "=string list (now: ";
                PutElements(f, out, "\"");
                out << ')';
                break;
            case 'l': {
                if (!f.value) break;
                out << '=';
                int count = ChoiceCount(f);
                for (int k = 0; k < count; ++k) out << (k ? "|" : "") << f.choices[k];
                out << " (now: ";
                PutSelection(f, f.string ? f.string : f.choices, out);
                out << ')';
                break;
            }
            default: break;
        }
        out << "\n\t" << Text(f.help) << '\n';
    }
}

void DovPrintCommandLineFlag(const DovCommandLineFlag& f, std::ostream& out) {
    switch (f.kind) {
        case 0:
        case '-': return;
        case 'b':
            out << '-' << (f.value && *f.value ? "" : "no-") << Text(f.name);
            return;
        default: break;
    }
    out << '-' << Text(f.name) << '=';
    switch (f.kind) {
        case 'n':
            if (f.value) out << *f.value;
            break;
        case 'a':
            if (f.value) PutElements(f, out, "");
            break;
        case 's':
            if (f.string) out << *f.string;
            break;
        case 'z':
            if (f.list) PutElements(f, out, "");
            break;
        case 'l':
            if (f.value) PutSelection(f, f.choices, out);
            break;
        default: out << "UNKNOWN-TYPE"; break;
    }
}

void DovPrintCommandLineFlagValues(const DovCommandLineFlagTable& table, std::ostream& out, int mask) {
    int n = table.Used();
    for (int i = 0; i < n; ++i) {
        if (!Listed(table.flags[i], mask)) continue;
        DovPrintCommandLineFlag(table.flags[i], out);
        out << '\n';
    }
}

void DovCommandLineFlagsToList(const DovCommandLineFlagTable& table, VStringList& out, int mask) {
    int n = table.Used();
    for (int i = 0; i < n; ++i) {
        if (!Listed(table.flags[i], mask)) continue;
        FastOstrstream os;
        DovPrintCommandLineFlag(table.flags[i], os);
        out.Append(VString(os));
    }
}
