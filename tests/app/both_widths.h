// The 32-bit programs beside the 64-bit ones, for the tests of the x86_64 build that need both
// widths in one Wine session: the i686 build's programs folder, which the environment variable
// ZELVO_I686_BIN names by its Unix path (CMake sets it for these tests), and whether 32-bit
// programs run here at all. The host program ZELVO32.EXE and its hook library ZELVOS32.DLL go
// beside ZELVO.EXE in a scratch folder.
#pragma once

#include <string>

#include "zelvo_driver.h"

constexpr char I686_PROGRAMS_VARIABLE[] = "ZELVO_I686_BIN";
constexpr char HOST_PROGRAM[] = "ZELVO32.EXE";
constexpr char HOST_LIBRARY[] = "ZELVOS32.DLL";

// The i686 build's programs folder (a Windows path ending in '\') when 32-bit programs run
// here: its host program, started without arguments, ends with the host's exit code for a
// refused command line. Otherwise false, with the reason to give for skipping a test.
bool I686ProgramsThatRun(std::string* folder, std::string* whyNot);

// Copies ZELVO32.EXE and ZELVOS32.DLL from folder (ending in '\') into the scratch folder.
bool AddHostToScratch(const ScratchFolder& scratch, const std::string& folder);
