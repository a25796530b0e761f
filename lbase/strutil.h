// Free functions on strings: EBCDIC/ASCII translation, file-name parts,
// printable forms, case-insensitive comparison and integer literal values.
#pragma once

#include <array>
#include <cstdint>

#include "lbase/vstring.h"

// 256-entry translation tables; each is the exact inverse of the other.
extern const std::array<unsigned char, 256> DovEbcdicToAsciiTable;
extern const std::array<unsigned char, 256> DovAsciiToEbcdicTable;

void DovEbcdicToAscii(const VString& in, VString& out);
void DovAsciiToEbcdic(const VString& in, VString& out);

// File names: both '/' and '\\' separate directories.
VString DovReplaceExtension(const VString& name, const VString& suffix);
VString DovExtension(const VString& name);
VString DovBaseName(const VString& path, bool with_extension);
VString DovDirName(const VString& path);
VString DovRemoveDotDot(const VString& path);

// Printable form of arbitrary bytes for messages.
VString DovEscapeString(const char* text);

// Case-insensitive comparisons folding only A-Z; results are 0, 1 or -1.
int DovCharCaseCompare(char a, char b);
int DovStrNCaseCompare(const char* a, const char* b, int n);
int DovStrCaseCompare(const char* a, const char* b);

// Value of an integer literal: [+-]digits, or H'hexpairs'. Returns 0, or
// 33 with a message: for a character that does not belong (the value is
// left alone), and for a number beyond 64 bits, whose value becomes the
// nearest one that fits, never a wrapped one.
int DovIntLiteralValue(const VString& text, std::int64_t& value, VString& message);
