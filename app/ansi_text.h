// The system's ANSI code page as the pure helpers see it.
#pragma once

// True for a lead byte of a double-byte character of the system's ANSI code page.
bool IsAnsiLeadByte(unsigned char byte);
