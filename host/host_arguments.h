// The command line on which the 64-bit resident program hands its windows to the host
// program ZELVO32.EXE: its own process id, the CandidateWindow and the CandidateList, each as
// a 32-bit value in hexadecimal, separated by one blank. No Windows headers: the program
// writes the line, the host reads it back, and both sides are tested natively.
#pragma once

#include <cstddef>
#include <cstdint>

struct HostArguments {
    uint32_t residentProcess;  // the process id of ZELVO.EXE, whose end ends the host
    uint32_t candidateWindow;  // the CandidateWindow, as a 32-bit handle value
    uint32_t candidateList;    // the CandidateList inside it
};

// Room for the arguments: three values of at most 8 digits, two blanks and the NUL.
constexpr size_t HOST_ARGUMENTS_SIZE = 3 * 8 + 2 + 1;

// Writes the arguments into text (size bytes); false when a value is 0 or they do not fit.
bool FormatHostArguments(const HostArguments& arguments, char* text, size_t size);

// Reads the arguments back. Blanks (0x20) before and after them are allowed; anything else
// is refused (false): a missing or additional value, a value of 0, more than 8 digits, a sign,
// a "0x" prefix, a character that is no hexadecimal digit, two blanks between values.
bool ParseHostArguments(const char* text, HostArguments* arguments);
