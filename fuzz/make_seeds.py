#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into fuzz/seeds/<target>/.

A seed is the options byte of its target followed by the file content; the
files of a multi-file input are joined with the separator of fuzz_support.cpp.
"""
import os
import random
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "data"))
import input_text  # noqa: E402
from input_text import fasta  # noqa: E402

SEP = "\n=====\n"


def write(target, name, options, *files):
    folder = os.path.join(HERE, "seeds", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as out:
        out.write(bytes([options]) + SEP.join(files).encode("latin-1"))


rnd = random.Random(7)


def haplotypes(n, sites, alphabet):
    return input_text.haplotypes(rnd, n, sites, alphabet)


# MS: options bit 0 chooses the reader. One block per population: sample =
# 1 + ((o >> 1) & 31). Both populations in the first block: first = 1 + ((o >> 1) & 31),
# second = first + ((o >> 6) & 1), and bit 7 adds 1 to the total.
def ms_block(n, sites):
    pos = " ".join("%.4f" % ((k + 0.5) / sites) for k in range(sites))
    return "\n//\nsegsites: %d\npositions: %s\n%s\n" % (sites, pos, "\n".join(haplotypes(n, sites, "01")))


write("ms", "two_blocks", 3 << 1, "ms 8 2 -t 5\n1 2 3\n" + ms_block(4, 6) + ms_block(4, 6))
write("ms", "three_blocks", 1 << 1, "ms\n" + ms_block(2, 3) + ms_block(2, 5) + ms_block(2, 0))
write("ms", "first_block_two_pops", 1 | (1 << 1) | (1 << 6), "ms 5 1\n" + ms_block(5, 7))
write("ms", "repeated_positions", 1 | (1 << 1),
      "//\nsegsites: 3\npositions: 0.1 0.1 0.05\n010\n111\n000\n101\n")
write("ms", "crlf", 3 << 1, (ms_block(4, 4) + ms_block(4, 4)).replace("\n", "\r\n"))
with open(os.path.join(HERE, "..", "tests", "data", "ms", "sim1.txt"), encoding="latin-1") as f:
    write("ms", "simulator_output", 1 | (29 << 1), f.read())

# FASTA: options bits 0-1 reader (0 halves, 1 two files, 2 tag "pop", 3 alternation),
# bit 2 no gaps, bit 3 store.
seqs = haplotypes(6, 25, "ACGT-N")
write("fasta", "halves", 0, "# comment\n\n" + fasta(["s%d" % i for i in range(6)], seqs, 10))
write("fasta", "halves_nogaps", 4, fasta(["s%d" % i for i in range(6)], seqs))
write("fasta", "two_files", 1, fasta(["a1", "a2", "a3"], seqs[:3]), fasta(["b1", "b2"], seqs[3:5]))
write("fasta", "tag", 2 | 8, fasta(["pop1_a", "x", "POP_b", "y", "z"], seqs[:5]))
write("fasta", "alternate", 3, fasta(["r%d" % i for i in range(5)], [s.lower() for s in seqs[:5]]))

# VCF: two files; options bit 0 lock-step reader, bit 1 pref.
def vcf(samples, rows):
    head = "##fileformat=VCFv4.2\n#CHROM\tPOS\tID\tREF\tALT\tQUAL\tFILTER\tINFO\tFORMAT\t" + \
        "\t".join("S%d" % i for i in range(samples)) + "\n"
    body = ""
    for pos, ref, alt in rows:
        gts = "\t".join("%d|%d" % (rnd.randint(0, 1), rnd.randint(0, 1)) for _ in range(samples))
        body += "1\t%d\trs%d\t%s\t%s\t50\tPASS\t.\tGT\t%s\n" % (pos, pos, ref, alt, gts)
    return head + body


rows = [(100 * k, "ACGT"[k % 4], "ACGT"[(k + 1) % 4]) for k in range(1, 9)]
write("vcf", "merge", 0, vcf(3, rows), vcf(2, rows[1:] + [(1000, "A", "C")]))
write("vcf", "lockstep", 1, vcf(2, rows), vcf(4, [(p, "T", "A") for p, _, _ in rows]))
write("vcf", "many_samples", 2, vcf(70, rows[:3]), vcf(65, rows[:3]))

# HapMap: one file (halves) or, with options bit 0, two files.
def hapmap(columns, sites):
    text = "rsID position_b36 " + " ".join("h%d" % i for i in range(columns)) + "\n"
    for k in range(sites):
        text += "rs%d %d %s\n" % (k, 1000 + 10 * k, " ".join(rnd.choice("ACGTN") for _ in range(columns)))
    return text


write("hapmap", "one_file", 0, "# comment\n" + hapmap(6, 10))
write("hapmap", "two_files", 1, hapmap(4, 8), hapmap(3, 8))

# fastPHASE: two files; options bit 0 uses the second haplotypes.
def fastphase(n, sites):
    text = "fastPHASE v1\n\nBEGIN GENOTYPES\n"
    for i in range(n):
        a, b = haplotypes(2, sites, "ACGT?")
        text += "# id %d\n%s\n%s\n" % (i, " ".join(a), b)
    return text + "END GENOTYPES\n"


write("fastphase", "two_files", 0, fastphase(4, 9), fastphase(5, 9))
write("fastphase", "second_haplotypes", 1, fastphase(3, 6), fastphase(3, 6))

# PLINK: map, then ped; options bit 0 numeric alleles, bits 1-7 the maf.
def ped(families, loci, alleles):
    text = ""
    for f, n in families:
        for i in range(n):
            # The first allele of the file tells the allele kind: it must be valid.
            geno = " ".join([alleles[0]] + [rnd.choice(alleles) for _ in range(2 * loci - 1)])
            text += "%s ind%d 0 0 1 -9 %s\n" % (f, i, geno)
    return text


plink_map = "".join("1 snp%d 0 %d\n" % (k, 500 + k) for k in range(5))
write("plink", "nucleotide", 0x10, plink_map, ped([("FAM1", 4), ("FAM2", 3)], 5, "ACGT0"))
write("plink", "numeric", 0x11, "".join("1 snp%d %d\n" % (k, 10 * k) for k in range(4)),
      ped([("A", 3), ("B", 5)], 4, ["1", "2", "0", "-9"]))

# Genepop: options byte is the maf (o / 256).
write("genepop", "two_pops", 10,
      "Sample data set\nLoc1, Loc2, Loc3\nPop\nind1 , 0101 0202 0000\nind2 , 0102 0202 0303\n"
      "POP\nind3 , 0101 0101 0303\nind4 , 0202 0102 0303\n")
write("genepop", "three_digit", 0,
      "title\nA\nB\npop\nx, 101102 103103\ny, 102102 000000\npop\nz, 101101 103104\n")

# BayeScan: options byte is the maf (o / 256).
write("bayescan", "two_pops", 10,
      "[loci]=3\n\n[populations]=2\n\n[pop]=1\n1 20 2 12 8\n2 20 2 20 0\n3 18 3 6 6 6\n\n"
      "[pop]=2\n1 10 2 5 5\n2 10 2 1 9\n3 9 3 3 3 3\n")
write("bayescan", "fractional", 0,
      "comment\n[loci]=2\n[populations]=2\n[pop]=1\n1 21 2 10.5 10.5\n2 4 1 4\n[pop]=2\n1 2 2 1 1\n2 3 2 1 2\n")

# The whole program: options byte 1 (format, variant, sample size 3 + 2 * ((o >> 5) & 7)),
# options byte 2 (EOS, blocks, window, maf, minwin, SNP table or user site), then the files.
def linked(n, sites, alphabet):
    return input_text.linked(rnd, n, sites, alphabet)


def ms_linked(n, sites):
    pos = " ".join("%.4f" % ((k + 0.5) / sites) for k in range(sites))
    return "\n//\nsegsites: %d\npositions: %s\n%s\n" % (sites, pos, "\n".join(linked(n, sites, "01")))


def program(name, o1, o2, *files):
    folder = os.path.join(HERE, "seeds", "program")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as out:
        out.write(bytes([o1, o2]) + SEP.join(files).encode("latin-1"))


n11 = 4 << 5  # sample size 11
program("ms_blocks", n11, 0x41, ms_linked(11, 30) + ms_linked(11, 30))
program("ms_window_eos", n11, 0x05 | 0x10 | 0x40, ms_linked(11, 25) + ms_linked(11, 25))
program("ms_two_samples", (1 << 5) | (1 << 3), 0x40, ms_linked(9, 20))
program("ms_user_site", n11, 0x80 | 0x02 | 0x40, ms_linked(11, 20) + ms_linked(11, 20))
fa = linked(12, 30, "ACGT")
program("fasta_halves", 1, 0x41, fasta(["s%d" % i for i in range(12)], fa))
program("fasta_two_files", 1 | (1 << 3), 0x01, fasta(["a%d" % i for i in range(6)], fa[:6]),
        fasta(["b%d" % i for i in range(6)], fa[6:]))
program("fasta_tag", 1 | (2 << 3), 0x44, fasta(["pop%d" % i if i % 3 else "x%d" % i for i in range(12)], fa))
rows = [(100 * k, "A", "G") for k in range(1, 25)]
program("vcf", 2, 0x41, vcf(6, rows), vcf(5, rows))
program("hapmap", 3, 0x41, hapmap(12, 25))
program("hapmap_two_files", 3 | (1 << 3), 0x80, hapmap(6, 20), hapmap(7, 20))
program("fastphase", 4, 0x41, fastphase(7, 20), fastphase(6, 20))
program("bayescan", 5 | (3 << 5), 0x41,
        "[loci]=4\n[populations]=2\n[pop]=1\n1 18 2 12 6\n2 18 2 9 9\n3 18 3 6 6 6\n4 18 2 17 1\n"
        "[pop]=2\n1 18 2 2 16\n2 18 2 10 8\n3 18 3 1 2 15\n4 18 2 16 2\n")
program("genepop", 6, 0x80,
        "Sample data set\nLoc1, Loc2, Loc3\nPop\nind1 , 0101 0202 0103\nind2 , 0102 0202 0303\n"
        "ind5 , 0101 0102 0103\nPOP\nind3 , 0101 0101 0303\nind4 , 0202 0102 0303\nind6 , 0202 0101 0101\n")
program("plink", 7, 0x01, plink_map, ped([("FAM1", 5), ("FAM2", 4)], 5, "ACGT"))
program("plink_numeric", 7 | (1 << 3), 0x80, "".join("1 snp%d %d\n" % (k, 10 * k) for k in range(4)),
        ped([("A", 4), ("B", 5)], 4, ["1", "2", "3", "0"]))
