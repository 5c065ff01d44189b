"""Text of small input files, shared by the scripts that write the fuzz seeds
(fuzz/make_seeds.py) and the malformed-input corpus (malformed/make_corpus.py)."""


def haplotypes(rnd, n, sites, alphabet):
    """n random strings of `sites` symbols of alphabet."""
    return ["".join(rnd.choice(alphabet) for _ in range(sites)) for _ in range(n)]


def linked(rnd, n, sites, alphabet, founders=3, noise=0.03):
    """n haplotypes copied from a few founders with some noise: sites in
    linkage, so that the analysis finds blocks and windows."""
    base = haplotypes(rnd, founders, sites, alphabet)
    rows = []
    for _ in range(n):
        h = list(rnd.choice(base))
        for k in range(sites):
            if rnd.random() < noise:
                h[k] = rnd.choice(alphabet)
        rows.append("".join(h))
    return rows


def fasta(names, seqs, width=60):
    """One record per name, its sequence cut into lines of `width` symbols."""
    out = []
    for name, seq in zip(names, seqs):
        out.append(">" + name)
        out.extend(seq[i:i + width] for i in range(0, len(seq), width) or [""])
    return "\n".join(out) + "\n"
