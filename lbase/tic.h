// The TIC text form of scalars: integers followed by a terminator, counted
// strings and delimited strings (VString::PutTic / GetTic).
//
// Readers never stop the program: they return 0 on success or one result
// character, and put a message into the string passed by the caller.
#pragma once

#include <iosfwd>

#include "lbase/vstring.h"

// Result characters shared by every TIC reader.
enum : char {
    TIC_OK = 0,
    TIC_BAD_INT = ';',     // integer not followed by its terminator, or negative
    TIC_EOF = '9',         // end of input inside a counted item
    TIC_READ_ERROR = '>',  // read error
    TIC_BAD_FORMAT = '<',  // bad structure character or escape
    TIC_TOO_LONG = '?',    // delimited string too long
    TIC_BAD_ARGS = '@',    // wrong argument count
    TIC_BAD_INDEX = '=',   // node number busy or out of range
};

// Longest text a delimited string may hold when read back.
constexpr int kTicMaxDelimited = 4095;

char GetTicIntNo(std::istream& is, int& value, bool allow_negative, char terminator, VString& message);
char GetTicIntNo(std::istream& is, long long& value, bool allow_negative, char terminator, VString& message);
