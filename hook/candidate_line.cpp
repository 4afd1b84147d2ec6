#include "candidate_line.h"

#include <cstring>

bool CandidateLineFits(long length) {
    return length >= 0 && static_cast<size_t>(length) < CANDIDATE_LINE_BUFFER_SIZE;
}

bool SplitCandidateLine(char* line, const char** word, const char** reading) {
    char* tab = strchr(line, '\t');
    if (tab == nullptr) {
        return false;
    }
    size_t wordLength = static_cast<size_t>(tab - line);
    if (wordLength >= CANDIDATE_PART_SIZE || strlen(tab + 1) >= CANDIDATE_PART_SIZE) {
        return false;
    }
    *tab = '\0';
    *word = line;
    *reading = tab + 1;
    return true;
}
