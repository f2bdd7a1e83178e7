// The definitions compiler: inddef.prj and its text sources -> inddef.bin.
//
// inddef.bin (little-endian): N (int16), N index entries {code int16, absolute offset int32}
// in source order, then the records {length int32, text}. A text is lines of at most 100
// characters, each ending with a newline.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zor::inddefc {

inline constexpr const char* ProjectFileName = "inddef.prj";
inline constexpr const char* RecordsFileName = "~inddef.tmp";
inline constexpr const char* NewOutputFileName = "~inddef.new";
inline constexpr const char* OutputFileName = "inddef.bin";

// Source lines are read through a buffer of this many characters; a longer line arrives in
// several pieces.
inline constexpr size_t ReadBufferChars = 5119;

// The file format holds at most this many definitions (N is an int16).
inline constexpr size_t MaxDefinitions = 32767;

inline constexpr int ExitOk = 0;
inline constexpr int ExitNoProject = 1;
inline constexpr int ExitWriteFailed = 2;

// Compiles the project in the current directory. Progress and missing sources go to standard
// output; read and write failures go to standard error and leave any previous inddef.bin
// untouched. Returns the exit status.
int Compile(uint32_t seed);

} // namespace zor::inddefc
