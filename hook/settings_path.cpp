#include "settings_path.h"

#include <cstring>

// Appends text to out (used bytes so far in *used); false when it would not fit with the NUL.
static bool Append(char* out, size_t* used, const char* text) {
    size_t length = strlen(text);
    if (length >= SETTINGS_PATH_SIZE - *used) {
        return false;
    }
    memcpy(out + *used, text, length + 1);
    *used += length;
    return true;
}

static bool EndsWithSeparator(const char* text) {
    size_t length = strlen(text);
    return length > 0 && (text[length - 1] == '\\' || text[length - 1] == '/');
}

// The program's drive and folder, then the given name and extension.
static bool JoinBesideProgram(const PathParts& program, const PathParts& given, char* out) {
    size_t used = 0;
    out[0] = '\0';
    bool fits = Append(out, &used, program.drive) && Append(out, &used, program.dir);
    if (fits && program.dir[0] != '\0' && !EndsWithSeparator(program.dir)) {
        fits = Append(out, &used, "\\");
    }
    fits = fits && Append(out, &used, given.name);
    if (fits && given.ext[0] != '\0' && given.ext[0] != '.') {
        fits = Append(out, &used, ".");
    }
    return fits && Append(out, &used, given.ext);
}

bool ResolveSettingsPath(const char* name, const char* programPath, char* out,
                         LeadBytePredicate isLeadByte) {
    out[0] = '\0';
    if (name == nullptr || strlen(name) >= SETTINGS_PATH_SIZE) {
        return false;
    }
    PathParts given;
    bool givenWhole = SplitPath(name, &given, isLeadByte);
    if (given.drive[0] != '\0' || given.dir[0] != '\0') {
        memcpy(out, name, strlen(name) + 1);
        return true;
    }
    if (!givenWhole || programPath == nullptr || strlen(programPath) >= SETTINGS_PATH_SIZE) {
        return false;
    }
    PathParts program;
    if (!SplitPath(programPath, &program, isLeadByte) || !JoinBesideProgram(program, given, out)) {
        out[0] = '\0';
        return false;
    }
    return true;
}
