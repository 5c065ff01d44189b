// The start-up checks of the input names: a second name that the format does
// not read, a second name missing where the format reads two files, and two
// names of input given one population per file that reach one file.
#pragma once

#include "analysis/input_format.hpp"
#include "input/options.hpp"

// Ends the start-up (status 1), before any input is opened:
// - on -input2 where the run would not read it (MS, Genepop and BayeScan,
//   which read both populations from one file; HapMap and PLINK without
//   -singlepopfile 1), naming it and saying how the format reads the two
//   populations, rather than leave it unread without a word;
// - on VCF and fastPHASE input without -input2, which need one file per
//   population, and on HapMap, PLINK and FASTA input with -singlepopfile 1
//   without -input2, which would otherwise fail late naming no file;
// - with one population per file, on two equal names, and on two names that
//   the readers would open as one file (a link, a case variant found by the
//   lower-cased second try of the opener, two spellings of one path), which
//   would read one sample as both populations.
void checkInputNames(const Options& options, InputFormat format);
