// The command-line option engine: option records, the registry that gathers
// them, setting options from words, an environment string or a stream, and
// the listings (help, current values and the "*.cop" short form).
#pragma once

#include <iosfwd>

#include "lbase/vstring.h"
#include "lbase/vstring_list.h"

// One option record. Components describe their options in arrays of these,
// ended by a record of kind 0.
//   kind     'b' boolean, 'n' number, 'a' number list, 's' string,
//            'z' string list, 'l' selection, '-' group heading, 0 end.
//   name     the option's name without the leading dash.
//   value    the int of 'b', 'n' and 'l'; the element array of 'a'.
//   choices  'l': the choice names, ended by an empty string.
//   string   the VString of 's'; for 'l', optional display names used by
//            the long listing.
//   count    'a': where the number of elements goes.
//   capacity 'a': the number of array elements.
//   help     the help text (a heading's title).
//   mask     group bits that select the record.
//   list     'z': the string array the elements go to; it grows to hold
//            them all.
// Every field defaults to zero, so that {0} ends an array.
struct DovCommandLineFlag {
    char kind = 0;
    const char* name = nullptr;
    int* value = nullptr;
    const VString* choices = nullptr;
    VString* string = nullptr;
    int* count = nullptr;
    int capacity = 0;
    const char* help = nullptr;
    int mask = 0;
    VStringArray* list = nullptr;
};

// Most records one table holds.
constexpr int DOV_MAX_CL_FLAGS = 120;

// A registry of option records: the records in use come first and an
// all-zero end record stands behind them. Readers go by count.
struct DovCommandLineFlagTable {
    int count = 0;
    DovCommandLineFlag flags[DOV_MAX_CL_FLAGS + 1] = {};

    // The count held within the table's room, for readers of a table that
    // its owner filled by hand.
    int Used() const { return count < 0 ? 0 : count > DOV_MAX_CL_FLAGS ? DOV_MAX_CL_FLAGS : count; }
};

// Fills `out` with the records of `records` (up to the kind-0 record) whose
// mask shares a bit with `mask`. Stops at the table's capacity.
DovCommandLineFlagTable& DovSelectCommandLineFlags(DovCommandLineFlagTable& out, const DovCommandLineFlag* records,
                                                   int mask);

// Append the selected records (of an array ended by kind 0, of another table,
// or one record without mask test). Return 0, or 23 with "DovAddCommandLineFlags:
// too many options" in `message` when the table is full; records added
// before stay and the table stays terminated.
int DovAddCommandLineFlags(DovCommandLineFlagTable& table, const DovCommandLineFlag* records, VString& message,
                           int mask);
int DovAddCommandLineFlags(DovCommandLineFlagTable& table, const DovCommandLineFlagTable& from, VString& message,
                           int mask);
int DovAddCommandLineFlags(DovCommandLineFlagTable& table, const DovCommandLineFlag& record, VString& message);

// Handles words[first] .. words[end - 1]: a word without a leading '-' is a
// file name and goes to `files`; every other word sets an option. Every bad
// word adds its own message; returns 21 when any did, else 0.
int SetCLFlag(const DovCommandLineFlagTable& table, int first, int end, const char* const* words,
              VStringList& files, VStringList& messages);

// Options from an environment string: words cut at blanks, a double quote
// joins the text up to the next one to the current word and ends the string.
// File names are refused (21).
int DovSetCLFlagsFromString(const DovCommandLineFlagTable& table, const VString& text, VStringList& messages);

// Options from a text stream, one whole line per word, up to and including
// a line starting with '[' or the end of the input. Messages are appended to
// `messages`, joined by "; ".
int DovSetCLFlagsFromStream(const DovCommandLineFlagTable& table, std::istream& in, VString& messages);

// The long listing of option "help": the words of the command line, then
// every record with its kind, current value and help text.
void DovPrintCommandLineFlags(const DovCommandLineFlagTable& table, std::ostream& out, int first, int end,
                              const char* const* words);

// One record in the "*.cop" short form, which SetCLFlag reads back; no end of
// line. Headings and end records write nothing.
void DovPrintCommandLineFlag(const DovCommandLineFlag& record, std::ostream& out);

// The short form of every option record sharing a bit with `mask`, one a line.
void DovPrintCommandLineFlagValues(const DovCommandLineFlagTable& table, std::ostream& out, int mask);

// The same records' short forms, each appended to `out` as one string.
void DovCommandLineFlagsToList(const DovCommandLineFlagTable& table, VStringList& out, int mask);
