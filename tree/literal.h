// COBOL literal images: the text of a nonnumeric literal as written in the
// source ('ABC', "ABC", X'C1C2', H'C1', B'101') and the characters it stands
// for.
#pragma once

#include "lbase/vstring.h"

// Longest value a literal image gives; further characters are dropped.
constexpr int kDovMaxLiteralValue = 319;

// The value of a literal image. A doubled delimiter stays doubled in the
// value. On a malformed image the result is empty and `error` receives the
// message; otherwise `error` is emptied.
VString DovStringImageValue(const VString& image, VString& error);

// An image that DovStringImageValue turns back into `value`: in apostrophes
// when that round-trips, else in quotation marks when that does, else the
// X'..' form (always for bytes outside 32..126).
VString DovStringImage(const VString& value);
