// --lines: many texts, one process.
#pragma once

#include <cstdint>

#include "app/switches.h"

// Reads standard input to its end and searches each of its lines for the
// token (the first data argument), with the length and delimiters of the
// two after it, exactly as if the line had been given as the text
// argument; writes each line's result as the switches say to standard
// output, in input order, in blocks of
// whole lines that reach the operating system before the program waits
// for more input.
//
// LF ends a line and a CR right before it belongs to the line end; a last
// line without LF is a line, an empty line is a line, and empty input has
// none. The bytes are in InputCodePage(), unless a byte-order mark at the
// very start (EF BB BF for UTF-8, FF FE for UTF-16LE) says otherwise; the
// mark is no part of the first line. Memory stays a small multiple of the
// longest line, whatever the input's size.
//
// Returns ExitTokenFound when any line holds the token, else
// ExitTokenNotFound. A failed read or write ends the run with 217.
int32_t SearchInputLines(const TSwitchesRec& switches);
