// The texts that the file dialogs hand the platform and give back to the host: the filter
// list built from the library's list notation, the starting directory, the proposed save
// name, and the answer's lower-casing and multiple-selection shape.
#pragma once
#include <cstddef>

namespace rxsystem {

// Bytes of the filter list for a file-type list (null or empty: the "All Files" list).
size_t FilterListBytes(const char* types);
// Fills a block of FilterListBytes(types) bytes: every TAB and CR a NUL, two NULs after.
void WriteFilterList(const char* types, char* block);

// The directory argument as the dialogs start in it, one trailing backslash removed (C:\ is
// passed as C:). False with an empty buffer when it is absent, empty or does not fit.
bool KeepDialogDirectory(const char* directory, char* buffer, size_t capacity);

// The save dialog's proposed name: directory\name, the name alone, or *.* without a name. A
// directory and name that do not fit together propose the name alone, a name that does not
// fit by itself proposes *.*.
void ProposeSaveName(const char* directory, const char* defaultName, char* out, size_t capacity);

// The answer's first NUL-terminated part with its letters A-Z made a-z.
void LowerFirstPart(char* answer);

// A multiple-selection answer (parts each ending in NUL, an empty part last) with the NUL
// after each part made a CR; looks at no more than capacity bytes. Returns the text's length.
size_t JoinSelectedParts(char* answer, size_t capacity);

}  // namespace rxsystem
