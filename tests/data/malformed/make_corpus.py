#!/usr/bin/env python3
"""Writes the malformed-input corpus: the input files of this folder and the
manifest cases.tsv that tests/cli/malformed_test.cpp runs end to end.

Each case is one execution of pravolin: the files it needs (copied into an
empty folder; a name ending in "/" is created there as a folder), its
arguments, the exit status it must end with and a text its standard output
must hold. Run this script again after changing a case; it rewrites every
file it names and the manifest.
"""
import gzip
import os
import random
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.dirname(HERE))
import input_text  # noqa: E402
from input_text import fasta  # noqa: E402

rnd = random.Random(20240501)
cases = []
written = set()


def put(name, content):
    if isinstance(content, str):
        content = content.encode("latin-1")
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(content)
    written.add(name)
    return name


def case(name, files, args, status, message):
    cases.append((name, ",".join(files), " ".join(args), str(status), message))


def gz(text):
    return gzip.compress(text.encode("latin-1"), mtime=0)


def garbage(n):
    # Bytes that are no text but hold no NUL: an input with a NUL byte is
    # rejected before any reader sees it (the *_nul_bytes cases).
    return bytes(rnd.randrange(256) for _ in range(n)).replace(b"\x00", b"\x01")


def linked(n, sites, alphabet):
    return input_text.linked(rnd, n, sites, alphabet)


FAIL = "\nERROR: \nFail when reading "
# An input of nothing but blanks, line ends and "#" lines is said to be
# empty, then its read fails.
EMPTY = "\nERROR: File %s is empty (nothing but blanks, line ends and lines beginning with #)\n\n"
LIMIT = "is above 2^53 (9007199254740992, the largest position held exactly)"
NOT_TEXT = "is not a text file: it holds a NUL byte within its first 64 KiB (binary, compressed or UTF-16 data)\n"

# ---------------------------------------------------------------- MS
def ms_block(rows, positions=None, sites=None):
    sites = len(rows[0]) if sites is None else sites
    if positions is None:
        positions = " ".join("%.4f" % ((k + 0.5) / sites) for k in range(sites))
    return "//\nsegsites: %d\npositions: %s\n%s\n" % (sites, positions, "\n".join(rows))


ms_ok = "ms 40 2 -t 10\n1 2 3\n\n" + ms_block(linked(20, 30, "01")) + "\n" + ms_block(linked(20, 30, "01"))
MS = ["-sample", "20", "-fixseed", "1"]


def ms(name, content, status, message, extra=()):
    put(name, content)
    case(name, [name], ["-input", name] + MS + list(extra), status, message)


ms("ms_empty.txt", "", 1, EMPTY % "ms_empty.txt" + FAIL + "ms_empty.txt under MS format\n")
ms("ms_garbage.bin", garbage(3000).replace(b"segsites", b"xxx"), 1, FAIL + "ms_garbage.bin under MS format\n")
ms("ms_crlf.txt", ms_ok.replace("\n", "\r\n"), 0, "Pravolin FINISHED.")
ms("ms_no_line_end.txt", ms_ok.rstrip("\n"), 0, "Pravolin FINISHED.")
# A user-site list is dropped only when its first value is negative: 0 is a
# value like any other (below the first MS position, so it takes no site).
case("ms_selectives_from_0", ["ms_crlf.txt"], ["-input", "ms_crlf.txt"] + MS + ["-selectives", "0", "0.5"],
     0, "\n-selectives 0 lies outside the pooled positions of file ms_crlf.txt (0.0167 to 0.9833): "
     "no site is taken for it\n")
ms("ms_truncated.txt", ms_ok[: len(ms_ok) * 3 // 4], 4,
   "there is a problem with haplotype size in pop 2")
# Past the end of the file a haplotype line reads as empty.
ms("ms_truncated_rows.txt", ms_ok[: ms_ok.rindex("\n", 0, len(ms_ok) - 40) + 1], 4,
   "ERROR: In sample 19 there is a problem with haplotype size in pop 2 Expected haplo size 30 was different of observed 0\n")
ms("ms_segsites_no_count.txt", "//\nsegsites:\npositions: 0.1\n0\n", 2,
   "ERROR: There is a format problem reading segsites in pop 1 of file ms_segsites_no_count.txt\n")
ms("ms_segsites_negative.txt", "//\nsegsites: -5\npositions: 0.1\n0\n", 2,
   "ERROR: There is a format problem reading segsites in pop 1")
ms("ms_segsites_int_max.txt", "//\nsegsites: 2147483647\npositions: 0.1\n0\n", 1,
   "ERROR: There is an excessive number of segregating sites in pop 1\n")
ms("ms_segsites_huge.txt", "//\nsegsites: 99999999999999999999\npositions: 0.1\n0\n", 1,
   "ERROR: There is an excessive number of segregating sites in pop 1\n")
ms("ms_segsites_large.txt", "//\nsegsites: 2000000000\npositions: 0.1 0.2\n01\n", 3,
   "Expected number of positions 2000000000 was different of observed 2\n")
ms("ms_positions_word.txt", "//\nsegsites: 2\npositions 0.1 0.2\n01\n", 2,
   "ERROR: There is a format problem reading positions in pop 1\n")
ms("ms_positions_count.txt", "//\nsegsites: 3\npositions: 0.1 0.2\n010\n", 3,
   "ERROR: There is a problem reading positions in pop 1 Expected number of positions 3 was different of observed 2\n")
ms("ms_positions_nan.txt", "//\nsegsites: 3\npositions: 0.1 nan 0.3\n010\n", 2,
   "ERROR: There is a format problem reading positions in pop 1 of file ms_positions_nan.txt, line 3: nan is not a finite number\n")
ms("ms_positions_inf.txt", ms_block(["01"] * 20, "0.5 inf") + ms_block(["01"] * 20, "0.5 1e999"), 2,
   "reading positions in pop 1 of file ms_positions_inf.txt, line 3: inf is not a finite number")
# Beyond 2^53 a double no longer holds every whole number: the limit is
# judged on the position as written, in every format that reads positions.
ms("ms_position_above_limit.txt", ms_block(["010"] * 20, "0.1 0.2 9.007199254740993e15") * 2, 2,
   "ERROR: There is a format problem reading positions in pop 1 of file ms_position_above_limit.txt, "
   "line 3: 9.007199254740993e15 %s\n" % LIMIT)
ms("ms_haplotype_short.txt", ms_block(["0101", "011"], "0.1 0.2 0.3 0.4"), 4,
   "ERROR: In sample 2 there is a problem with haplotype size in pop 1 Expected haplo size 4 was different of observed 3\n")
ms("ms_one_block.txt", ms_block(linked(20, 12, "01")), 3,
   "The number of populations 1 does not coincide with the expected 2\n")
ms("ms_three_blocks.txt", ms_block(linked(20, 12, "01")) * 3, 3,
   "The number of populations 3 does not coincide with the expected 2\n")
ms("ms_nonascii.txt", ms_block(["0\xc3\xa91"] * 20, "0.1 0.2 0.3", 3) * 2, 4,
   "ERROR: In sample 1 there is a problem with haplotype size in pop 1 Expected haplo size 3 was different of observed 4\n")
ms("ms_nul_bytes.txt", ms_block(["0\x001"] * 20, "0.1 0.2 0.3") * 2, 1, "\nERROR: ms_nul_bytes.txt %s" % NOT_TEXT)
ms("ms_utf16.txt", ms_ok.encode("utf-16"), 1, "\nERROR: ms_utf16.txt %s" % NOT_TEXT)
ms("ms_bom.txt", b"\xef\xbb\xbf" + ms_ok.encode("latin-1"), 0, "Pravolin FINISHED.")
ms("ms_repeated_far_position.txt",
   ms_block(linked(20, 22, "01"), " ".join(str(k) for k in range(1, 21)) + " 10000000000 10000000000") * 2, 4,
   "repeated positions in your files. Please check position 10000000000\n")
ms("ms_positions_down.txt", ms_block(linked(20, 12, "01"), "5 4 3 2 1 6 7 8 9 10 11 12") * 2, 4,
   "go down: position 4 follows position 5. Positions must be in ascending order.\n")
ms("ms_two_samples_bad_row.txt", ms_block(["010"] * 20 + ["01"] + ["010"] * 19, "0.1 0.2 0.3"), 6,
   "ERROR: In sample 21 there is a problem with haplotype size in pop 1 Expected haplo size 3 was different of observed 2\n",
   ["-sample2", "20"])
ms("ms_two_samples_rows_missing.txt", ms_block(["010"] * 30, "0.1 0.2 0.3"), 6,
   "ERROR: In sample 31 there is a problem with haplotype size in pop 1 Expected haplo size 3 was different of observed 0\n",
   ["-sample2", "20"])
ms("ms_two_samples_no_positions.txt", "//\nsegsites: 3\n", 7,
   "There is a problem with data size which is 0 and should be 40\n", ["-sample2", "20"])
# Position words that are numbers only in part, or not at all.
ms("ms_positions_letters.txt", ms_block(["010"] * 20, "0.1 abc 0.3") * 2, 2,
   "ERROR: There is a format problem reading positions in pop 1 of file ms_positions_letters.txt, line 3: abc is not a finite number\n")
ms("ms_positions_trailing_letter.txt", ms_block(["010"] * 20, "0.1 0.2 0.3") + ms_block(["010"] * 20, "0.1 10O 0.3"), 2,
   "ERROR: There is a format problem reading positions in pop 2 of file ms_positions_trailing_letter.txt, line 26: 10O is not a finite number\n")
ms("ms_two_samples_position_hex.txt", ms_block(["010"] * 40, "0.1 0.2 0x3"), 2,
   "ERROR: There is a format problem reading positions in file ms_two_samples_position_hex.txt, line 3: 0x3 is not a finite number\n",
   ["-sample2", "20"])
# Haplotype lines and samples that are not read are announced.
ms("ms_unread_lines.txt", ms_block(["0101", "1100", "0011", "1010"] * 6, "0.1 0.2 0.3 0.4") * 2, 0,
   "\nWARNING: File ms_unread_lines.txt holds 48 haplotype lines in its 2 blocks and 40 were read: each block is read up to its first -sample 20 lines\n\n")
ms("ms_two_samples_unread_samples.txt", ms_block(["0101", "1100", "0011", "1010"] * 10, "0.1 0.2 0.3 0.4") * 3, 0,
   "\nWARNING: File ms_two_samples_unread_samples.txt holds 3 samples and 1 was read: only the first sample of a file with two populations is read (-runs reads one file per sample)\n\n",
   ["-sample2", "20"])
# Sample sizes whose sum passes the int limit.
case("ms_sample_sizes_overflow", ["ms_two_samples_rows_missing.txt"],
     ["-input", "ms_two_samples_rows_missing.txt", "-sample", "2147483646", "-sample2", "2147483646"], 1,
     "\nERROR: bad sample size 2147483646+2147483646 <> 2147483647 in ms_two_samples_rows_missing.txt\n")
put("ms_gzip.txt.gz", gz(ms_ok))
case("ms_gzip.txt.gz", ["ms_gzip.txt.gz"], ["-input", "ms_gzip.txt.gz"] + MS, 1,
     "\nERROR: ms_gzip.txt.gz is gzip-compressed: decompress it first (gunzip ms_gzip.txt.gz, or bgzip -d ms_gzip.txt.gz for bgzip files)\n")
put("ms_gzip_unnamed.txt", gz(ms_ok))
case("ms_gzip_unnamed.txt", ["ms_gzip_unnamed.txt"], ["-input", "ms_gzip_unnamed.txt"] + MS, 1,
     "is gzip-compressed: decompress it first (gunzip -c ms_gzip_unnamed.txt > ms_gzip_unnamed.txt.txt")
case("ms_folder", ["msdir/"], ["-input", "msdir"] + MS, 1, FAIL + "msdir under MS format\n")
case("ms_missing", [], ["-input", "nothing.txt"] + MS, 1, "\nCould not open file: nothing.txt\n")

# ---------------------------------------------------------------- FASTA
fa_rows = linked(24, 40, "ACGT")
fa_ok = fasta(["s%d" % i for i in range(24)], fa_rows, 25)
FA = ["-format", "fasta", "-fixseed", "1"]


def fa(name, content, status, message, extra=()):
    put(name, content)
    case(name, [name], ["-input", name] + FA + list(extra), status, message)


fa("fa_empty.fa", "", 1, EMPTY % "fa_empty.fa" + "\nERROR:\nFail when reading fa_empty.fa under fasta format\n")
fa("fa_only_comments.fa", "# one\n\n  # two\n", 1,
   EMPTY % "fa_only_comments.fa" + "\nERROR:\nFail when reading fa_only_comments.fa under fasta format\n")
fa("fa_no_header.fa", "ACGT\nACGT\n", 1, "\nEmpty file or wrong format when reading fasta fa_no_header.fa\n")
fa("fa_garbage.bin", b"\x01" + garbage(4000), 1, "Empty file or wrong format when reading fasta fa_garbage.bin")
fa("fa_crlf.fa", fa_ok.replace("\n", "\r\n"), 0, "Pravolin FINISHED.")
fa("fa_nul_bytes.fa", fasta(["s%d" % i for i in range(24)], [r[:10] + "\x00" + r[11:] for r in fa_rows]), 1,
   "\nERROR: fa_nul_bytes.fa %s" % NOT_TEXT)
fa("fa_nonascii.fa", fasta(["s%d" % i for i in range(24)], [r[:10] + ("\xc3\xa9" if i == 3 else "N") + r[11:] for i, r in enumerate(fa_rows)]), 1,
   "ERROR: sequences must be aligned in fa_nonascii.fa\n")
fa("fa_unaligned.fa", fasta(["a", "b", "c", "d"], ["ACGT", "ACGT", "ACG", "ACGT"]), 1,
   "ERROR: sequences must be aligned in fa_unaligned.fa\n")
fa("fa_three_records.fa", fasta(["a", "b", "c"], ["ACGT"] * 3), 1, "\nERROR: low sample size found 1\n")
fa("fa_record_without_sequence.fa", ">a\nACGT\n>b\n>c\nACGT\n>d\nACGT\n", 1,
   "\nERROR: record 2 (>b) has no sequence in fasta file fa_record_without_sequence.fa\n")
fa("fa_last_record_empty.fa", ">a\nACGT\n>b\nACGT\n>c\nACGT\n>d\n", 1,
   "ERROR: sequences must be aligned in fa_last_record_empty.fa\n")
fa("fa_header_without_line_end.fa", ">only", 1, "\nERROR:\nFail when reading fa_header_without_line_end.fa under fasta format\n")
fa("fa_tag_no_split.fa", fa_ok, 1, "\nERROR: The tag did not separate two populations\n\nzzz\t0\t24\t24\n",
   ["-tag", "ZZZ"])
fa("fa_alternate_one_record.fa", ">a\nACGT\n", 1, "\nERROR: Did not separate two populations\n\n1\t0\t1\n",
   ["-tag", "rnd0"])
put("fa_pop1.fa", fasta(["a%d" % i for i in range(12)], fa_rows[:12]))
put("fa_pop2_short.fa", fasta(["b%d" % i for i in range(12)], [r[:-1] for r in fa_rows[12:]]))
case("fa_two_files_lengths", ["fa_pop1.fa", "fa_pop2_short.fa"],
     ["-input", "fa_pop1.fa", "-input2", "fa_pop2_short.fa"] + FA, 1,
     "ERROR: sequences must be of the same length in files fa_pop1.fa and fa_pop2_short.fa\n")
case("fa_two_files_same_name", ["fa_pop1.fa"], ["-input", "fa_pop1.fa", "-input2", "fa_pop1.fa"] + FA, 1,
     "\nERROR: \nEqual file names under onepopbyfile option\n")
put("fa_gzip.fa.gz", gz(fa_ok))
case("fa_gzip.fa.gz", ["fa_gzip.fa.gz"], ["-input", "fa_gzip.fa.gz"] + FA, 1,
     "\nERROR: fa_gzip.fa.gz is gzip-compressed: decompress it first")
case("fa_gzip_second_file", ["fa_pop1.fa", "fa_gzip.fa.gz"], ["-input", "fa_pop1.fa", "-input2", "fa_gzip.fa.gz"] + FA, 1,
     "\nERROR: fa_gzip.fa.gz is gzip-compressed: decompress it first")
case("fa_folder", ["fadir/"], ["-input", "fadir"] + FA, 1, "\nERROR:\nFail when reading fadir under fasta format\n")
fa("fa_lower_case_spaces.fa", fasta(["s%d" % i for i in range(24)], [" ".join(r.lower()) for r in fa_rows]), 0,
   "Pravolin FINISHED.")

# ---------------------------------------------------------------- VCF
def vcf(samples, rows, chrom="1"):
    head = "##fileformat=VCFv4.2\n#CHROM\tPOS\tID\tREF\tALT\tQUAL\tFILTER\tINFO\tFORMAT\t" + \
        "\t".join("S%d" % i for i in range(samples)) + "\n"
    body = ""
    for pos, ref, alt, gts in rows:
        body += "%s\t%d\trs%d\t%s\t%s\t50\tPASS\t.\tGT\t%s\n" % (chrom, pos, pos, ref, alt, "\t".join(gts))
    return head + body


def gts(samples, sites):
    haps = [linked(samples, sites, "01"), linked(samples, sites, "01")]
    return [["%s|%s" % (haps[0][s][k], haps[1][s][k]) for s in range(samples)] for k in range(sites)]


va = vcf(10, [(100 * (k + 1), "A", "G", g) for k, g in enumerate(gts(10, 30))])
vb = vcf(12, [(100 * (k + 1), "A", "G", g) for k, g in enumerate(gts(12, 30))])
put("vcf_b.vcf", vb)
VCF = ["-format", "vcf", "-fixseed", "1"]
VFAIL = "\nERROR: \nFail when reading %s under VCF phased format: "
NO_HEADER = VFAIL + "the file has no header line (the line that begins with #CHROM)\n"
NO_DATA = VFAIL + "the file has no data line after its header line\n"


def vc(name, content, status, message):
    put(name, content)
    case(name, [name, "vcf_b.vcf"], ["-input", name, "-input2", "vcf_b.vcf"] + VCF, status, message)


vc("vcf_ok.vcf", va, 0, "Pravolin FINISHED.")
vc("vcf_crlf.vcf", va.replace("\n", "\r\n"), 0, "Pravolin FINISHED.")
vc("vcf_empty.vcf", "", 1, EMPTY % "vcf_empty.vcf" + VFAIL % "vcf_empty.vcf" + "the file is empty\n")
vc("vcf_meta_only.vcf", "##fileformat=VCFv4.2\n##x\n", 1, EMPTY % "vcf_meta_only.vcf")
vc("vcf_garbage.bin", b"#" + garbage(3000), 1, "ERROR #CHROM header tag lacking: Bad VCF format in file vcf_garbage.bin\n")
vc("vcf_no_chrom.vcf", va.replace("#CHROM", "CHROM"), 1, "ERROR #CHROM header tag lacking: Bad VCF format in file vcf_no_chrom.vcf\n")
vc("vcf_lower_chrom.vcf", va.replace("#CHROM", "#chrom"), 1, "ERROR #CHROM header tag lacking")
vc("vcf_no_format.vcf", va.replace("FORMAT", "FMT", 1), 1, "ERROR FORMAT header tag lacking: Bad VCF format in file vcf_no_format.vcf\n")
vc("vcf_short_header.vcf", "#CHROM\tPOS\tID\n1\t100\n", 1, "ERROR FORMAT header tag lacking")
vc("vcf_no_samples.vcf", "#CHROM\tPOS\tID\tREF\tALT\tQUAL\tFILTER\tINFO\tFORMAT\n1\t100\t.\tA\tG\t.\t.\t.\tGT\n", 1,
   "ERROR: no sample in the header of VCF file vcf_no_samples.vcf")
vc("vcf_header_only.vcf", va.split("\n1\t")[0] + "\n", 1, NO_DATA % "vcf_header_only.vcf")
case("vcf_header_only_second", ["vcf_b.vcf", "vcf_header_only.vcf"],
     ["-input", "vcf_b.vcf", "-input2", "vcf_header_only.vcf"] + VCF, 1, NO_DATA % "vcf_header_only.vcf")
lines = va.split("\n")
vc("vcf_short_line.vcf", "\n".join(lines[:5] + [lines[5].rsplit("\t", 3)[0]] + lines[6:]), 1,
   "ERROR: malformed VCF line in file vcf_short_line.vcf at line 6: 7 genotype fields found, 10 samples in the header\n")
vc("vcf_long_line.vcf", "\n".join(lines[:5] + [lines[5] + "\t0|1"] + lines[6:]), 1,
   "ERROR: malformed VCF line in file vcf_long_line.vcf at line 6: 11 genotype fields found, 10 samples in the header\n")
vc("vcf_two_chromosomes.vcf", "\n".join(lines[:6] + ["2" + lines[6][1:]] + lines[7:]), 1,
   "ERROR there is more than one chromosome in the file: Bad VCF-Pravolin format in file vcf_two_chromosomes.vcf\n")
vc("vcf_format_not_gt.vcf", va.replace("\tGT\t", "\tGT:DP\t", 1), 1, "ERROR: FORMAT is not GT in file vcf_format_not_gt.vcf at position 100\n")
vc("vcf_unphased.vcf", va.replace("0|1", "0/1", 1).replace("1|0", "1/0", 1), 1,
   "ERROR: non-phased or malformed genotype in file vcf_unphased.vcf at position")
vc("vcf_missing_genotype.vcf", "\n".join(lines[:3] + [lines[3].replace("|", "|2", 1)] + lines[4:]), 1,
   "ERROR: unsupported genotype state in file vcf_missing_genotype.vcf at position 200. Expected only phased biallelic GT values 0|0, 0|1, 1|0 or 1|1.\n")
# A NUL byte past the first 64 KiB reaches the genotype parser.
vc("vcf_nul_genotype.vcf", "\n".join(lines[:1] + ["##pad=" + "x" * 100] * 700 + lines[1:2] +
                                      [lines[2].replace("|", "|\x00", 1)] + lines[3:]), 1,
   "ERROR: unsupported genotype state in file vcf_nul_genotype.vcf at position 100")
vc("vcf_unsorted.vcf", "\n".join(lines[:2] + [lines[3], lines[2]] + lines[4:]), 1,
   "ERROR: positions are not in ascending order in file vcf_unsorted.vcf at line 4: position 100 follows position 200\n")
vc("vcf_position_nan.vcf", "\n".join(lines[:2] + [lines[2].replace("\t100\t", "\tnan\t", 1)] + lines[3:]), 1,
   "ERROR: position is not a finite number in file vcf_position_nan.vcf at line 3, position NAN\n")
vc("vcf_position_word.vcf", "\n".join(lines[:2] + [lines[2].replace("\t100\t", "\tabc\t", 1)] + lines[3:]), 1,
   "ERROR: position is not a finite number in file vcf_position_word.vcf at line 3, position ABC\n")
vc("vcf_position_trailing.vcf", "\n".join(lines[:4] + [lines[4].replace("\t300\t", "\t300O\t", 1)] + lines[5:]), 1,
   "ERROR: position is not a finite number in file vcf_position_trailing.vcf at line 5, position 300O\n")
vc("vcf_other_chromosome.vcf", va.replace("\n1\t", "\n2\t"), 1,
   "ERROR there are different chromosomes in file: vcf_other_chromosome.vcf and file vcf_b.vcf. Bad VCF-Pravolin format.\n")
vc("vcf_no_common_site.vcf", vcf(10, [(100 * (k + 1) + 1, "A", "G", g) for k, g in enumerate(gts(10, 30))]), 1,
   "ERROR: no common SNP positions with at least one shared allele were found between files vcf_no_common_site.vcf and vcf_b.vcf\n")
vc("vcf_huge_position.vcf", "\n".join(lines[:-2] + [lines[-2].replace("\t3000\t", "\t1e300\t", 1)] + lines[-1:]), 1,
   "ERROR: position %s in file vcf_huge_position.vcf at line 32, position 1E300\n" % LIMIT)
# 9007199254740993 reads as the double 9007199254740992: the two would be one site.
put("vcf_position_above_limit.vcf", va.replace("\t3000\t", "\t9007199254740993\t", 1))
put("vcf_b_position_limit.vcf", vb.replace("\t3000\t", "\t9007199254740992\t", 1))
case("vcf_position_above_limit", ["vcf_position_above_limit.vcf", "vcf_b_position_limit.vcf"],
     ["-input", "vcf_position_above_limit.vcf", "-input2", "vcf_b_position_limit.vcf"] + VCF, 1,
     "ERROR: position %s in file vcf_position_above_limit.vcf at line 32, position 9007199254740993\n" % LIMIT)
put("vcf_gzip.vcf.gz", gz(va))
case("vcf_gzip.vcf.gz", ["vcf_gzip.vcf.gz", "vcf_b.vcf"], ["-input", "vcf_gzip.vcf.gz", "-input2", "vcf_b.vcf"] + VCF, 1,
     "\nERROR: vcf_gzip.vcf.gz is gzip-compressed: decompress it first (gunzip vcf_gzip.vcf.gz, or bgzip -d vcf_gzip.vcf.gz for bgzip files)\n")
case("vcf_same_names", ["vcf_b.vcf"], ["-input", "vcf_b.vcf", "-input2", "vcf_b.vcf"] + VCF, 1,
     "\nERROR: \nEqual file names under onepopbyfile option\n")
case("vcf_folder", ["vcfdir/", "vcf_b.vcf"], ["-input", "vcfdir", "-input2", "vcf_b.vcf"] + VCF, 1,
     "\nERROR: can not find input file vcfdir\n")

# ---------------------------------------------------------------- HapMap
def hapmap(columns, rows_by_site, start=1000):
    text = "rsID position " + " ".join("h%d" % i for i in range(columns)) + "\n"
    for k, row in enumerate(rows_by_site):
        text += "rs%d %d %s\n" % (k, start + 10 * k, " ".join(row))
    return text


hm_haps = linked(16, 30, "ACGT")
hm_sites = [[h[k] for h in hm_haps] for k in range(30)]
hm_ok = hapmap(16, hm_sites)
HM = ["-format", "HM", "-fixseed", "1"]


def hm(name, content, status, message):
    put(name, content)
    case(name, [name], ["-input", name] + HM, status, message)


hm("hm_ok.txt", hm_ok, 0, "Pravolin FINISHED.")
hm("hm_crlf.txt", hm_ok.replace("\n", "\r\n"), 0, "Pravolin FINISHED.")
hm("hm_empty.txt", "", 1, EMPTY % "hm_empty.txt" + FAIL + "hm_empty.txt under hapmap phased format\n")
hm("hm_garbage.bin", garbage(3000).replace(b"\n", b" "), 1, FAIL + "hm_garbage.bin under hapmap phased format\n")
hm("hm_header_only.txt", hm_ok.split("\n")[0] + "\n", 1, FAIL + "hm_header_only.txt under hapmap phased format\n")
hm("hm_header_two_fields.txt", "rsID position\nrs1 100\n", 1,
   "ERROR: The header on line 1 of file hm_header_two_fields.txt has 2 field(s)")
hm("hm_one_column.txt", "rsID position h0\nrs1 100 A\n", 1,
   "ERROR: File hm_one_column.txt has one haplotype column: splitting it into two populations needs at least two\n")
hm_lines = hm_ok.split("\n")
hm("hm_missing_column.txt", "\n".join(hm_lines[:4] + [hm_lines[4].rsplit(" ", 1)[0]] + hm_lines[5:]), 1,
   "ERROR: The data on line 5 of file hm_missing_column.txt has 15 haplotype column(s) but the header announces 16\n")
hm("hm_extra_column.txt", "\n".join(hm_lines[:4] + [hm_lines[4] + " A"] + hm_lines[5:]), 1,
   "has 17 haplotype column(s) but the header announces 16")
hm("hm_name_only.txt", "\n".join(hm_lines[:3] + ["rs99"] + hm_lines[3:]), 1,
   "ERROR: The data on line 4 of file hm_name_only.txt has fewer than two fields (SNP name and position)\n")
hm("hm_two_letters.txt", "\n".join(hm_lines[:2] + [hm_lines[2].replace(" A ", " AG ", 1).replace(" C ", " CT ", 1)] + hm_lines[3:]), 1,
   "is not one letter\n")
hm("hm_nonascii.txt", "\n".join(hm_lines[:2] + [hm_lines[2][:-1] + "\xc3\xa9"] + hm_lines[3:]), 1,
   "\" in column 16 on line 3 of file hm_nonascii.txt is not one letter\n")
hm("hm_position_nan.txt", hm_ok.replace(" 1030 ", " nan ", 1), 1,
   "ERROR: The position \"nan\" on line 5 of file hm_position_nan.txt is not a finite number\n")
hm("hm_position_above_limit.txt", hm_ok.replace(" 1290 ", " 1e20 ", 1), 1,
   "ERROR: The position \"1e20\" on line 31 of file hm_position_above_limit.txt %s\n" % LIMIT)
hm("hm_nul_bytes.txt", hm_ok.replace(" A ", " \x00 ", 3), 1, "\nERROR: hm_nul_bytes.txt %s" % NOT_TEXT)
hm("hm_positions_down.txt", hapmap(16, hm_sites[:15]) + hapmap(16, hm_sites[15:], 500).split("\n", 1)[1], 4,
   "go down: position 500 follows position 1140. Positions must be in ascending order.\n")
put("hm_a.txt", hapmap(8, [s[:8] for s in hm_sites]))
put("hm_b_fewer_snps.txt", hapmap(8, [s[8:] for s in hm_sites[:20]]))
put("hm_b_other_positions.txt", hapmap(8, [s[8:] for s in hm_sites], 1005))
HM2 = ["-singlepopfile", "1"] + HM
case("hm_two_files_fewer_snps", ["hm_a.txt", "hm_b_fewer_snps.txt"], ["-input", "hm_a.txt", "-input2", "hm_b_fewer_snps.txt"] + HM2, 1,
     "ERROR: The HapMap files hm_a.txt and hm_b_fewer_snps.txt do not list the same SNPs in the same order: file hm_b_fewer_snps.txt ends while line 22 of file hm_a.txt holds another SNP\n")
case("hm_two_files_other_positions", ["hm_a.txt", "hm_b_other_positions.txt"], ["-input", "hm_a.txt", "-input2", "hm_b_other_positions.txt"] + HM2, 1,
     "do not list the same SNPs in the same order: position 1000 on line 2 of file hm_a.txt but 1005 on line 2 of file hm_b_other_positions.txt\n")
put("hm_gzip.txt.gz", gz(hm_ok))
case("hm_gzip.txt.gz", ["hm_gzip.txt.gz"], ["-input", "hm_gzip.txt.gz"] + HM, 1,
     "\nERROR: hm_gzip.txt.gz is gzip-compressed: decompress it first")
case("hm_folder", ["hmdir/"], ["-input", "hmdir"] + HM, 1, "\nERROR: can not find input file hmdir\n")

# ---------------------------------------------------------------- fastPHASE
def fastphase(rows, seconds=None, spaced=False):
    text = "fastPHASE v1.4\n\nBEGIN GENOTYPES\n"
    for i, h in enumerate(rows):
        second = seconds[i] if seconds else h
        text += "# id %d\n%s\n%s\n" % (i, " ".join(h) if spaced else h, second)
    return text + "END GENOTYPES\n"


fp_haps = linked(22, 30, "ACGT")
put("fp_b.out", fastphase(fp_haps[10:]))
FP = ["-format", "FP", "-fixseed", "1"]
PFAIL = "\nERROR: \nFail when reading %s under fastPhase format\n"


def fp(name, content, status, message):
    put(name, content)
    case(name, [name, "fp_b.out"], ["-input", name, "-input2", "fp_b.out"] + FP, status, message)


fp_ok = fastphase(fp_haps[:10])
fp("fp_ok.out", fp_ok, 0, "Pravolin FINISHED.")
fp("fp_crlf.out", fp_ok.replace("\n", "\r\n"), 0, "Pravolin FINISHED.")
fp("fp_spaced_lower.out", fastphase([h.lower() for h in fp_haps[:10]], spaced=True), 0, "Pravolin FINISHED.")
fp("fp_empty.out", "", 1, EMPTY % "fp_empty.out" + PFAIL % "fp_empty.out")
fp("fp_begin_tab.out", fp_ok.replace("BEGIN GENOTYPES", "BEGIN \t GENOTYPES"), 0, "Pravolin FINISHED.")
# Blank lines anywhere in the genotypes, between an individual's haplotypes too.
fp("fp_blank_lines.out", fp_ok.replace("\n#", "\n\n \t\n#").replace("\n", "\n\n", 20), 0,
   "\nFile fp_blank_lines.out: 10 individuals, of which only the first haplotype is read (10 haplotypes)\n")
fp("fp_no_begin.out", fp_ok.replace("BEGIN GENOTYPES", "GENOTYPES"), 1,
   "\nERROR: File fp_no_begin.out lacks the BEGIN GENOTYPES line that opens its genotypes (none in its 34 line(s))\n\n"
   + PFAIL % "fp_no_begin.out")
TRUNCATED = "ERROR: File %s ends on line %d without the END GENOTYPES line that closes its genotypes (%d individual(s) begun): the file is truncated\n"
fp("fp_begin_without_line_end.out", "BEGIN GENOTYPES", 1, TRUNCATED % ("fp_begin_without_line_end.out", 1, 0))
fp("fp_garbage.bin", b"BEGIN GENOTYPES\n" + garbage(3000), 1, "ERROR: The genotypes on line 2 of file fp_garbage.bin hold ")
fp("fp_no_individual.out", "BEGIN GENOTYPES\nEND GENOTYPES\n", 1,
   "ERROR: There is no individual between BEGIN GENOTYPES and END GENOTYPES in file fp_no_individual.out\n")
MISPLACED = "ERROR: The genotypes on line %d of file %s hold \"%s\" where %s is due: each individual is one line with # and then its two haplotype lines\n"
fp("fp_missing_name_line.out", fp_ok.replace("# id 3\n", "", 1), 1,
   MISPLACED % (13, "fp_missing_name_line.out", fp_haps[3], "the # line of individual 4"))
# A "#" line between the two haplotypes of individual 4, in a file that begins with one.
fp("fp_name_line_in_haplotypes.out", "# made by hand\n" + fp_ok.replace("# id 3\n%s\n" % fp_haps[3], "# id 3\n%s\n# id 3b\n" % fp_haps[3]), 1,
   MISPLACED % (16, "fp_name_line_in_haplotypes.out", "# id 3b", "the second haplotype of individual 4"))
fp("fp_missing_second.out", fp_ok.replace("END GENOTYPES\n", "").rsplit("\n", 2)[0] + "\n", 1,
   TRUNCATED % ("fp_missing_second.out", 32, 10))
# Cut after 10 of 20 individuals, and within a second haplotype line.
fp("fp_truncated.out", fastphase(fp_haps[:20]).split("# id 10\n")[0], 1, TRUNCATED % ("fp_truncated.out", 33, 10))
fp("fp_cut_second.out", fp_ok.replace("END GENOTYPES\n", "")[:-16], 1, TRUNCATED % ("fp_cut_second.out", 33, 10))
fp("fp_short_second.out", fastphase(fp_haps[:10], seconds=fp_haps[:3] + ["A"] + fp_haps[4:10]), 1,
   "ERROR: The second haplotype of sequence 4 from population 1 has another number of SNPs\n"
   "The second haplotype on line 15 of file fp_short_second.out holds 1 site(s) where 30 are due\n")
fp("fp_short_haplotype.out", fastphase(fp_haps[:3] + [fp_haps[3][:-1]] + fp_haps[4:10]), 1,
   "ERROR: There are SNPs lacking in sequence 4 from population 1\n")
fp("fp_other_sites.out", fastphase([h[:-2] for h in fp_haps[:10]]), 1,
   "ERROR: The fastPHASE files fp_other_sites.out and fp_b.out hold different numbers of SNPs: 28 and 30\n")
fp("fp_nonascii.out", fastphase([h[:5] + "\xc3\xa9" + h[6:] if i == 0 else h for i, h in enumerate(fp_haps[:10])]), 1,
   "ERROR: There are SNPs lacking in sequence 2 from population 1\n")
fp("fp_nul_bytes.out", fastphase([h[:5] + "\x00" + h[6:] for h in fp_haps[:10]]), 1, "\nERROR: fp_nul_bytes.out %s" % NOT_TEXT)
put("fp_gzip.out.gz", gz(fp_ok))
case("fp_gzip.out.gz", ["fp_gzip.out.gz", "fp_b.out"], ["-input", "fp_gzip.out.gz", "-input2", "fp_b.out"] + FP, 1,
     "\nERROR: fp_gzip.out.gz is gzip-compressed: decompress it first")
case("fp_folder", ["fpdir/", "fp_b.out"], ["-input", "fpdir", "-input2", "fp_b.out"] + FP, 1,
     "\nERROR: can not find input file fpdir\n")

# ---------------------------------------------------------------- PLINK
def plink_map(n, columns=4):
    if columns == 4:
        return "".join("1 snp%d 0 %d\n" % (k, 1000 + 100 * k) for k in range(n))
    return "".join("1 snp%d %d\n" % (k, 1000 + 100 * k) for k in range(n))


def ped(families, loci, alleles, first=None):
    text = ""
    for f, n in families:
        for i in range(n):
            geno = [rnd.choice(alleles) for _ in range(2 * loci)]
            if first is not None and not text:
                geno[:len(first)] = first
            text += "%s ind%d 0 0 1 -9 %s\n" % (f, i, " ".join(geno))
    return text


PL = ["-format", "PL", "-fixseed", "1"]


def pl(stem, map_text, ped_text, status, message, numeric=False, files=None):
    names = files or [put(stem + ".map", map_text), put(stem + ".ped", ped_text)]
    args = ["-input", stem, "-format", "PL2" if numeric else "PL", "-fixseed", "1"]
    case(stem, names, args, status, message)


pl_map = plink_map(12)
pl_ped = ped([("FAM1", 8), ("FAM2", 7)], 12, "ACGT", "A")
PLFAIL = "\nERROR: \nFail when reading %s.ped under plink nucleotide format\n"
pl("pl_ok", pl_map, pl_ped, 0, "Pravolin FINISHED.")
pl("pl_crlf", pl_map.replace("\n", "\r\n"), pl_ped.replace("\n", "\r\n"), 0, "Pravolin FINISHED.")
pl("pl_empty_map", "", pl_ped, 1, "\nERROR: empty map file pl_empty_map.map\n")
# Its first line has four words, the last of which is no position.
pl("pl_map_garbage", garbage(2000), pl_ped, 1, "\nERROR: problem reading map file pl_map_garbage.map . The position ")
pl("pl_map_two_columns", "1 snp0\n", pl_ped, 1, "\nERROR: problem reading map file pl_map_two_columns.map . Num of columns were 2\n")
pl("pl_map_mixed_columns", plink_map(6) + plink_map(6, 3), pl_ped, 1,
   "\nERROR: problem reading map file pl_map_mixed_columns.map . Num of columns were 3\n")
pl("pl_map_position_nan", pl_map.replace(" 1500\n", " nan\n"), pl_ped, 1,
   "\nERROR: problem reading map file pl_map_position_nan.map . The position nan on line 6 is not a finite number\n")
pl("pl_map_position_word", pl_map.replace(" 1500\n", " abc\n"), pl_ped, 1,
   "\nERROR: problem reading map file pl_map_position_word.map . The position abc on line 6 is not a finite number\n")
pl("pl_map_position_suffix", pl_map.replace(" 1500\n", " 15O0\n"), pl_ped, 1,
   "\nERROR: problem reading map file pl_map_position_suffix.map . The position 15O0 on line 6 is not a finite number\n")
pl("pl_map_position_above_limit", pl_map.replace(" 1500\n", " 9007199254740992.5\n"), pl_ped, 1,
   "\nERROR: problem reading map file pl_map_position_above_limit.map . The position 9007199254740992.5 "
   "on line 6 %s\n" % LIMIT)
pl("pl_empty_ped", pl_map, "", 1, "\nERROR: empty ped file pl_empty_ped.ped\n\n" + PLFAIL % "pl_empty_ped")
pl("pl_ped_short", pl_map, "F i 0 0 1 -9 A\n", 1, "\nERROR: problem reading ped file pl_ped_short.ped\n")
pl("pl_ped_odd", pl_map, "F i 0 0 1 -9 A C G\n", 1, "\nERROR: wrong number of genotypes in ped file pl_ped_odd.ped\n")
pl("pl_ped_loci_mismatch", pl_map, ped([("FAM1", 3), ("FAM2", 3)], 11, "ACGT", "A"), 1,
   "\nERROR: inconsistency between number of loci in map and ped files: 12 vs 11\n")
# The missing allele 0 is passed over: the first allele that is not 0 is checked.
pl("pl_ped_first_genotype", pl_map, ped([("FAM1", 3), ("FAM2", 3)], 12, "ACGT", ["0", "1"]), 1,
   "\nERROR: wrong plink nucleotide genotype format in ped file pl_ped_first_genotype.ped have read 1\n")
ped_lines = pl_ped.split("\n")
pl("pl_ped_ragged", pl_map, "\n".join(ped_lines[:4] + [ped_lines[4] + " A C"] + ped_lines[5:]), 1,
   "\nERROR: wrong number of genotypes in ped file pl_ped_ragged.ped at line 5: 32 words where the first individual line has 30\n")
pl("pl_ped_three_families", pl_map, ped([("A", 3), ("B", 3), ("A", 3)], 12, "ACGT", "A"), 1,
   "\nERROR: ped file pl_ped_three_families.ped holds 3 runs of family ids (populations) but should hold 2\n")
pl("pl_ped_one_family", pl_map, ped([("A", 6)], 12, "ACGT", "A"), 1,
   "\nERROR: ped file pl_ped_one_family.ped holds 1 runs of family ids (populations) but should hold 2\n")
pl("pl_ped_one_individual", pl_map, "\n".join(ped_lines[:9]) + "\n", 1,
   "\nERROR: \nPopulation 2 of pl_ped_one_individual.ped has 1 individual: at least 2 individuals per population are needed\n")
pl("pl_ped_nonascii", pl_map, pl_ped.replace(" C ", " \xc3\xa7 "), 1,
   "\nERROR: problem reading ped file pl_ped_nonascii.ped . The allele \xc3\xa7 on line 1 is not A, C, G, T or the missing N or 0\n")
pl("pl_ped_garbage", pl_map, garbage(3000), 1, "ERROR")
pl("pl2_numeric_letters", plink_map(12, 3), pl_ped, 1,
   "\nERROR: wrong plink numeric genotype format in ped file pl2_numeric_letters.ped have read A\n", numeric=True)
pl("pl2_huge_alleles", plink_map(12, 3), ped([("FAM1", 8), ("FAM2", 7)], 12, ["1", "2", "99999999999", "-9"], "1"), 1,
   "\nERROR: problem reading ped file pl2_huge_alleles.ped . The allele 99999999999 on line 1 is not a whole number "
   "from -2147483648 to 2147483647\n", numeric=True)
# Every allele number of the 32-bit range is read, -9 as an allele of its own.
numbers = {"A": "1", "C": "2", "G": "2147483647", "T": "-9"}
pl("pl2_ok", plink_map(12, 3), "".join(" ".join(numbers.get(w, w) for w in line.split(" ")) + "\n"
                                       for line in pl_ped.splitlines()), 0, "Pravolin FINISHED.", numeric=True)
put("pl_gzip.ped", gz(pl_ped))
put("pl_gzip.map", pl_map)
case("pl_gzip", ["pl_gzip.map", "pl_gzip.ped"], ["-input", "pl_gzip"] + PL, 1,
     "\nERROR: pl_gzip.ped is gzip-compressed: decompress it first (gunzip -c pl_gzip.ped > pl_gzip.ped.txt, or bgzip -dc pl_gzip.ped > pl_gzip.ped.txt for bgzip files)\n")
put("pl_folder.ped", pl_ped)
case("pl_folder", ["pl_folder.map/", "pl_folder.ped"], ["-input", "pl_folder"] + PL, 1,
     "\nCould not open map file: pl_folder.map\n")

# ---------------------------------------------------------------- Genepop
GP = ["-format", "GP", "-fixseed", "1"]
GFAIL = "\nERROR: \nFail when reading %s under genepop format\n"


def genepop(loci, pops):
    text = "Title line\n" + ", ".join("Loc%d" % k for k in range(loci)) + "\n"
    for p, n in enumerate(pops):
        text += "Pop\n"
        for i in range(n):
            text += "ind%d_%d , %s\n" % (p, i, " ".join(rnd.choice(["0101", "0102", "0202", "0103", "0303"]) for _ in range(loci)))
    return text


gp_ok = genepop(12, [8, 9])


def gp(name, content, status, message):
    put(name, content)
    case(name, [name], ["-input", name] + GP, status, message)


gp("gp_ok.txt", gp_ok, 0, "Pravolin FINISHED.")
gp("gp_crlf.txt", gp_ok.replace("\n", "\r\n"), 0, "Pravolin FINISHED.")
gp("gp_empty.txt", "", 1, EMPTY % "gp_empty.txt" + GFAIL % "gp_empty.txt")
gp("gp_title_without_line_end.txt", "Title", 1, GFAIL % "gp_title_without_line_end.txt")
gp("gp_no_population.txt", "Title\nLoc1, Loc2\n", 1,
   "ERROR reading genpop format: no population line (a line holding POP) in file gp_no_population.txt\n")
gp("gp_three_populations.txt", genepop(3, [2, 2, 2]), 3,
   "\nERROR reading genpop format: Only two populations are allowed and found 3\n")
gp("gp_one_population.txt", genepop(3, [4]), 3, "The number of populations 1 does not coincide with the expected 2\n")
gl = gp_ok.split("\n")
gp("gp_one_individual.txt", "\n".join(gl[:13]) + "\n", 1,
   "\nERROR: \nPopulation 2 of gp_one_individual.txt has 1 individual: at least 2 individuals per population are needed\n")
gp("gp_two_commas.txt", "\n".join(gl[:4] + [gl[4] + ", extra"] + gl[5:]), 1,
   "ERROR reading genpop format: When separating loci names word number was 3 should be 2\n")
gp("gp_no_comma.txt", "\n".join(gl[:4] + [gl[4].replace(",", "")] + gl[5:]), 1,
   "ERROR reading genpop format: When separating loci names word number was 1 should be 2\n")
gp("gp_ragged.txt", "\n".join(gl[:5] + [gl[5].rsplit(" ", 1)[0]] + gl[6:]), 1,
   "ERROR reading genpop format: line 6 of file gp_ragged.txt holds 11 genotypes but the individual before it holds 12\n")
gp("gp_fewer_names.txt", gp_ok.replace(", Loc11", ""), 1,
   "The number of locus names 11 is smaller than the number of loci 12\n")
gp("gp_more_names.txt", gp_ok.replace(", Loc11", ", Loc11, Loc12"), 1,
   "\nERROR: In file gp_more_names.txt\nThe number of locus names 13 is larger than the number of loci 12\n")
gp("gp_garbage.bin", b"title\nPOP\n" + garbage(3000).replace(b",", b";"), 1,
   "ERROR reading genpop format: When separating loci names word number was 1 should be 2\n")
gp("gp_huge_alleles.txt", gp_ok.replace(" 0101", " 999999999999", 5), 0, "Pravolin FINISHED.")
gp("gp_nonascii.txt", gp_ok.replace("ind0_1", "ind\xc3\xa9"), 0, "Pravolin FINISHED.")
put("gp_gzip.txt.gz", gz(gp_ok))
case("gp_gzip.txt.gz", ["gp_gzip.txt.gz"], ["-input", "gp_gzip.txt.gz"] + GP, 1,
     "\nERROR: gp_gzip.txt.gz is gzip-compressed: decompress it first")
case("gp_folder", ["gpdir/"], ["-input", "gpdir"] + GP, 1, GFAIL % "gpdir")

# ---------------------------------------------------------------- BayeScan
BS = ["-format", "BS", "-fixseed", "1", "-sample", "20"]
BFAIL = "\nERROR: \nFail when reading %s under BS format\n"


def bayescan(loci):
    text = "[loci]=%d\n\n[populations]=2\n" % loci
    for p in range(2):
        text += "\n[pop]=%d\n" % (p + 1)
        for i in range(1, loci + 1):
            a = rnd.randrange(5, 36)
            text += "%d 40 2 %d %d\n" % (i, a, 40 - a)
    return text


bs_ok = bayescan(14)


def bs(name, content, status, message):
    put(name, content)
    case(name, [name], ["-input", name] + BS, status, message)


bs("bs_ok.txt", bs_ok, 0, "Pravolin FINISHED.")
bs("bs_crlf.txt", bs_ok.replace("\n", "\r\n"), 0, "Pravolin FINISHED.")
bs("bs_empty.txt", "", 1, EMPTY % "bs_empty.txt" + BFAIL % "bs_empty.txt")
bs("bs_garbage.bin", garbage(3000).replace(b"[", b"("), 1, BFAIL % "bs_garbage.bin")
bs("bs_populations_three.txt", bs_ok.replace("[populations]=2", "[populations]=3"), 1,
   "ERROR reading BScan format: Number of populations is 3 but should be 2\n")
bs("bs_loci_negative.txt", bs_ok.replace("[loci]=14", "[loci]=-3"), 1,
   "ERROR reading BScan format: Number of loci is -3 in file bs_loci_negative.txt\n")
bs("bs_loci_int_max.txt", bs_ok.replace("[loci]=14", "[loci]=2147483647"), 1,
   "ERROR: There is an excessive number of loci in file bs_loci_int_max.txt\n")
bs("bs_loci_too_many.txt", bs_ok.replace("[loci]=14", "[loci]=15"), 1,
   "ERROR reading BScan format in loci 15 of population 1 of file bs_loci_too_many.txt, line 20: the line is blank where this locus line is due\n")
bs("bs_loci_huge.txt", bs_ok.replace("[loci]=14", "[loci]=2000000000").replace("\n\n[pop]=2", "\n[pop]=2"), 1,
   "ERROR reading BScan format: Loci number was [pop]=2 should be 15 in population 1 of file bs_loci_huge.txt, line 20\n")
bl = bs_ok.split("\n")
bs("bs_empty_locus_line.txt", "\n".join(bl[:6] + [""] + bl[6:]), 1,
   "ERROR reading BScan format in loci 2 of population 1 of file bs_empty_locus_line.txt, line 7: the line is blank where this locus line is due\n")
bs("bs_locus_order.txt", "\n".join(bl[:5] + [bl[6], bl[5]] + bl[7:]), 1,
   "ERROR reading BScan format: Loci number was 2 should be 1 in population 1 of file bs_locus_order.txt, line 6\n")
bs("bs_sum_mismatch.txt", bs_ok.replace("\n3 40 2", "\n3 41 2", 1), 3,
   "ERROR reading BScan format: Total alleles are 41 should be 40\n")
bs("bs_short_locus_line.txt", bs_ok.replace("\n3 40 2 ", "\n3 40\n#", 1), 1,
   "ERROR reading BScan format in loci 3 of population 1 of file bs_short_locus_line.txt, line 8: the line lacks its gene count or its number of alleles\n")
bs("bs_fewer_counts.txt", bs_ok.replace("\n3 40 2 ", "\n3 40 3 ", 1), 1,
   "ERROR reading BScan format in loci 3 of population 1 of file bs_fewer_counts.txt, line 8: 3 alleles but 2 counts\n")
bs("bs_negative_count.txt", bs_ok.replace("\n3 40 2 ", "\n3 40 3 -5 ", 1), 1,
   "ERROR reading BScan format in loci 3 of population 1 of file bs_negative_count.txt, line 8: the allele count -5 is not a number of copies\n")
bs("bs_one_block.txt", bs_ok.split("\n[pop]=2")[0] + "\n", 1,
   "ERROR reading BScan format: Read 1 populations but should be 2 (file bs_one_block.txt ended before population 2)\n")
bs("bs_wrong_block_word.txt", bs_ok.replace("[pop]=2", "[POP]=2"), 1,
   "ERROR reading BScan format: Read 1 populations but should be 2 (line 21 of file bs_wrong_block_word.txt is no [pop] line, where population 2 should begin)\n")
bs_head, bs_second = bs_ok.split("\n[pop]=2\n")
bs("bs_one_copy.txt", bs_head + "\n[pop]=2\n" + "".join(
    "%s 1 2 1 0\n" % line.split()[0] for line in bs_second.splitlines() if line), 1,
   "\nERROR: \nPopulation 2 of bs_one_copy.txt has fewer than 2 gene copies at every locus: at least 2 gene copies per population are needed\n")
bs("bs_nul_bytes.txt", bs_ok.replace("\n3 40 2 ", "\n3 40\x00 2 ", 1), 1, "\nERROR: bs_nul_bytes.txt %s" % NOT_TEXT)
put("bs_gzip.txt.gz", gz(bs_ok))
case("bs_gzip.txt.gz", ["bs_gzip.txt.gz"], ["-input", "bs_gzip.txt.gz"] + BS, 1,
     "\nERROR: bs_gzip.txt.gz is gzip-compressed: decompress it first")
case("bs_folder", ["bsdir/"], ["-input", "bsdir"] + BS, 1, BFAIL % "bsdir")

# ---------------------------------------------------------------- later cases
# (here, so that the random draws of the cases above stay as they were)
pl("pl_ped_first_missing", pl_map, ped([("FAM1", 3), ("FAM2", 3)], 12, "ACGT", ["0", "0"]), 0,
   "Pravolin FINISHED.")
put("bs_bom.txt", b"\xef\xbb\xbf" + bs_ok.encode("latin-1"))
case("bs_bom.txt", ["bs_bom.txt"], ["-input", "bs_bom.txt"] + BS, 0, "Pravolin FINISHED.")
# Nothing but the declared loci and populations: no locus at all, counts past
# a locus's allele number, locus lines past the declared loci (within the
# blocks or after the last one) and a block past the declared populations.
bs("bs_no_locus.txt", "[loci]=0\n[populations]=2\n[pop]=1\n[pop]=2\n", 1,
   "\nERROR: \nbs_no_locus.txt has no locus: at least 2 gene copies per population at one locus are needed\n")
bs("bs_extra_counts.txt", "\n".join(bl[:7] + [bl[7] + " 0"] + bl[8:]), 1,
   "ERROR reading BScan format in loci 3 of population 1 of file bs_extra_counts.txt, line 8: 2 alleles but 3 counts\n")
bs("bs_locus_past_loci.txt", "\n".join(bl[:19] + ["15 40 2 20 20"] + bl[19:]), 1,
   "ERROR reading BScan format: Read 1 populations but should be 2 (line 20 of file bs_locus_past_loci.txt is no [pop] line, where population 2 should begin)\n")
bs("bs_data_after_blocks.txt", bs_ok + "15 40 2 20 20\n\n", 1,
   "ERROR reading BScan format: line 36 of file bs_data_after_blocks.txt holds data after the last population block (the file declares 14 loci and 2 populations); only blank lines may follow it\n")
bs("bs_third_block.txt", bs_ok + "\n[pop]=3\n" + bs_second + "\n", 3,
   "ERROR reading BScan format: Read 3 populations but should be 2 (line 37 of file bs_third_block.txt begins a population block past [populations]=2)\n")

# Inputs of blanks, line ends and "#" lines only, or a byte-order mark only,
# are empty in every format.
ms("ms_blank_only.txt", "  \n\t\n\r\n \f\v", 1, EMPTY % "ms_blank_only.txt" + FAIL + "ms_blank_only.txt under MS format\n")
ms("ms_comments_only.txt", "# simulated\n\n  #\n", 1, EMPTY % "ms_comments_only.txt")
put("ms_bom_only.txt", b"\xef\xbb\xbf\n")
case("ms_bom_only.txt", ["ms_bom_only.txt"], ["-input", "ms_bom_only.txt"] + MS, 1, EMPTY % "ms_bom_only.txt")
hm("hm_comments_only.txt", "# HapMap table\n\n  # rs1 100 A C\n", 1, EMPTY % "hm_comments_only.txt")
put("hm_b_blank_only.txt", "\n  \n")
case("hm_two_files_second_blank_only", ["hm_a.txt", "hm_b_blank_only.txt"],
     ["-input", "hm_a.txt", "-input2", "hm_b_blank_only.txt"] + HM2, 1,
     EMPTY % "hm_b_blank_only.txt" + FAIL + "hm_b_blank_only.txt under hapmap phased format\n")
put("fp_b_comments_only.out", "# fastPHASE\n#\n")
case("fp_second_comments_only", ["fp_ok.out", "fp_b_comments_only.out"],
     ["-input", "fp_ok.out", "-input2", "fp_b_comments_only.out"] + FP, 1,
     EMPTY % "fp_b_comments_only.out" + PFAIL % "fp_b_comments_only.out")
gp("gp_comments_only.txt", "# Genepop\n", 1, EMPTY % "gp_comments_only.txt" + GFAIL % "gp_comments_only.txt")
bs("bs_blank_only.txt", "\n\n   \n", 1, EMPTY % "bs_blank_only.txt" + BFAIL % "bs_blank_only.txt")
vc("vcf_blank_only.vcf", " \n\n", 1, EMPTY % "vcf_blank_only.vcf")

# A HapMap table without its header line: the first data line is taken for
# the header, and the warning says that its site is not read.
hm("hm_no_header.txt", hm_ok.split("\n", 1)[1], 0,
   "\nWARNING: File hm_no_header.txt: its first line (line 1) reads as a data line but is taken for the "
   "header line, so its site (rs0 at position 1000) is not read: a HapMap table begins with a header line\n")

# A Genepop file of two populations whose individuals type no locus leaves
# nothing to analyse: it fails, naming the file.
gp("gp_no_locus.txt", "Title\nPop\na1 , \na2 , \nPop\nb1 , \nb2 , \n", 1,
   "\nERROR: \ngp_no_locus.txt has no locus: its individuals' lines hold no genotype, and one locus at least is needed\n")

# A BayeScan file that ends within a block, before the locus lines that
# [loci] announces: the message names the file and its last line.
bs("bs_ends_in_block.txt", "\n".join(bl[:32]) + "\n", 1,
   "ERROR reading BScan format in loci 12 of population 2 of file bs_ends_in_block.txt: the file ends after line 32, before this locus line\n")

# MS: one block of both populations read without -sample2 is one population;
# the message says to give -sample2.
ms("ms_one_block_both_populations.txt", ms_block(linked(40, 12, "01")), 3,
   "The number of populations 1 does not coincide with the expected 2\nThe file holds one segsites block: "
   "give -sample2 for the second population when both populations are in one block (its first -sample "
   "haplotypes are population 1, the next -sample2 population 2)\n")

# -maf -0 reads as 0: the results are named as those of -maf 0.
case("hm_maf_negative_zero", ["hm_ok.txt"], ["-input", "hm_ok.txt"] + HM + ["-maf", "-0"], 0,
     "WRITING Pravolin OUTPUT FILE Pravis_Results/Prav_out_AutoRefPop1_MAF_0_Blocks.tsv\n")

# Allele-count files are read in full: a word that is no allele, count or
# number of its kind is refused, naming the file, the line and the word.
def last_word(lines, k, word):
    """The lines (without line ends), line k's last word replaced by word."""
    return "\n".join(lines[:k] + [lines[k].rsplit(" ", 1)[0] + " " + word] + lines[k + 1:]) + "\n"


GENOTYPE = (": a genotype is two allele numbers written in digits only, each at most 2147483647 "
            "(0102 gives alleles 1 and 2, 0 is a missing allele)\n")
for name, k, word in [("gp_genotype_letters.txt", 4, "AAAA"), ("gp_genotype_letter_o.txt", 13, "O1"),
                      ("gp_genotype_inner_letter.txt", 14, "0A02"), ("gp_genotype_point.txt", 20, "1.02")]:
    gp(name, last_word(gl, k, word), 1, "ERROR reading genpop format: line %d of file %s holds the genotype %s%s"
       % (k + 1, name, word, GENOTYPE))
BS_LOCUS = "ERROR reading BScan format in loci %d of population %d of file %s, line %d: "
bs("bs_count_word.txt", "\n".join(bl[:7] + ["3 40 2 abc 40"] + bl[8:]), 1,
   BS_LOCUS % (3, 1, "bs_count_word.txt", 8) + "the allele count abc is not a number of copies\n")
bs("bs_count_suffix.txt", "\n".join(bl[:25] + ["5 40 2 12x 28"] + bl[26:]), 1,
   BS_LOCUS % (5, 2, "bs_count_suffix.txt", 26) + "the allele count 12x is not a number of copies\n")
bs("bs_locus_word.txt", bs_ok.replace("\n1 40 ", "\n1abc 40 ", 1), 1,
   "ERROR reading BScan format: Loci number was 1abc should be 1 in population 1 of file bs_locus_word.txt, line 6\n")
bs("bs_loci_word.txt", bs_ok.replace("[loci]=14", "[loci]=14abc"), 1,
   "ERROR reading BScan format: line 1 of file bs_loci_word.txt gives no whole number of loci: [loci]=14abc\n")
bs("bs_populations_point.txt", bs_ok.replace("[populations]=2", "[populations]=2.9"), 1,
   "ERROR reading BScan format: line 3 of file bs_populations_point.txt gives no whole number of populations: "
   "[populations]=2.9\n")
# A gene count is compared with the sum of the counts as written.
three = bl[7].split()
bs("bs_gene_count_point.txt", "\n".join(bl[:7] + [" ".join(["3", "40.5", "2", three[3], three[4] + ".5"])] + bl[8:]),
   0, "Pravolin FINISHED.")
ped_rows = pl_ped.splitlines()
ped_numbers = [r[:r.index(" -9 ") + 4] + r[r.index(" -9 ") + 4:].translate(str.maketrans("ACGT", "1234"))
               for r in ped_rows]
for stem, rows, k, word, numeric, what in [
        ("pl2_allele_suffix", ped_numbers, 3, "1x", True, "a whole number from -2147483648 to 2147483647"),
        ("pl2_allele_point", ped_numbers, 9, "1.5", True, "a whole number from -2147483648 to 2147483647"),
        ("pl2_allele_letter", ped_numbers, 14, "X", True, "a whole number from -2147483648 to 2147483647"),
        ("pl_allele_digit", ped_rows, 5, "1", False, "A, C, G, T or the missing N or 0"),
        ("pl_allele_letter", ped_rows, 10, "X", False, "A, C, G, T or the missing N or 0"),
        ("pl_allele_dash", ped_rows, 14, "-", False, "A, C, G, T or the missing N or 0")]:
    pl(stem, plink_map(12, 3) if numeric else pl_map, last_word(rows, k, word), 1,
       "\nERROR: problem reading ped file %s.ped . The allele %s on line %d is not %s\n" % (stem, word, k + 1, what),
       numeric=numeric)

# ---------------------------------------------------------------- manifest
def escape(text):
    return text.replace("\\", "\\\\").replace("\n", "\\n").replace("\t", "\\t")


names = [c[0] for c in cases]
assert len(names) == len(set(names)), "case names must be unique"
for c in cases:
    for f in c[1].split(","):
        assert not f or f.endswith("/") or f in written, f
with open(os.path.join(HERE, "cases.tsv"), "w", encoding="latin-1", newline="\n") as out:
    out.write("# case\tfiles\targuments\tstatus\tmessage (escapes \\n \\t \\\\)\n")
    for name, files, args, status, message in cases:
        out.write("\t".join([name, files, args, status, escape(message)]) + "\n")
print(len(cases), "cases,", len(written), "files")
