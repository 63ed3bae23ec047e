// SPDX-License-Identifier: MIT
// Whether what a program printed reached standard output: a full disk or a
// closed pipe must fail the run, not end it with a cut document and 0.
#pragma once

namespace zur::cli {

// Flushes standard output; false, with "PROGRAM: cannot write standard
// output: REASON" on standard error, when anything written to it was lost.
// `error` is an errno value already met while writing, or 0.
bool standard_output_written(const char* program, int error);

}  // namespace zur::cli
