// Instructions the processor runs beyond those the program is built for, as
// the C library found them when the program started: asking the processor
// again costs a trap to the hypervisor on virtual machines, and the
// compiler's own check asks it at every start-up.
#pragma once

#if defined(__x86_64__) && defined(__GNUC__) && defined(__GLIBC__) && __has_include(<sys/platform/x86.h>)
#if defined(__clang__) && defined(__STRICT_ANSI__)
// The header is C, and clang names C's boolean in C++ only in its GNU modes.
#define _Bool bool  // NOLINT(bugprone-reserved-identifier,cppcoreguidelines-macro-usage)
#include <sys/platform/x86.h>
#undef _Bool
#else
#include <sys/platform/x86.h>
#endif
#define KORVANE_X86_FEATURES 1
// Shifts by any register, without tying up one for the count; the vector
// forms of AVX measured slower in the decoding loop than the SSE ones.
#define KORVANE_X86_BMI2 "bmi2"
#endif

namespace korvane::imaging::processor {

#if KORVANE_X86_FEATURES
inline bool HasSsse3()
{
    return CPU_FEATURE_ACTIVE(SSSE3);
}

inline bool HasAvx2()
{
    return CPU_FEATURE_ACTIVE(AVX2);
}

inline bool HasBmi2()
{
    return CPU_FEATURE_ACTIVE(BMI2);
}
#endif

}  // namespace korvane::imaging::processor
