// A line of the CandidateList: the word, one TAB, the reading. The line is read into a
// buffer of CANDIDATE_LINE_BUFFER_SIZE bytes, and word and reading each go into a 256-byte
// field of a request record.
#pragma once

#include <cstddef>

constexpr size_t CANDIDATE_LINE_BUFFER_SIZE = 512;
constexpr size_t CANDIDATE_PART_SIZE = 256;  // word or reading: at most 255 bytes

// True when a line of the announced length (LB_GETTEXTLEN) fits the buffer with its NUL.
// An error length (negative) does not fit: the line is then not read at all.
bool CandidateLineFits(long length);

// Splits the NUL-terminated line in place at its first TAB: the TAB becomes a NUL, *word
// points at the line and *reading just after the TAB. Refused (false, line unchanged) when
// there is no TAB or when the word or the reading is 256 bytes or more.
bool SplitCandidateLine(char* line, const char** word, const char** reading);
