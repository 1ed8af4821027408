#!/usr/bin/env python3
"""Builds the French word-prediction model: a SQLite database of 1-, 2- and 3-gram counts in the
layout the presage library reads, from French text shipped by Debian packages and our own list.

  build-french-model.py OUTPUT.db [--words data/mots-courants.txt] [--max-mb 10]
                        [--littre PATH] [--dasher PATH] [--from-text FILE]
                        [--dictionary fr | --no-dictionary]

Only words that a current French dictionary knows are kept (hunspell's French dictionary,
asked through the hunspell command), with our own list and the elided words: the dictionary's
quotations are centuries old, and "estre", "ay" or "Jehan" must never be offered. A phrase is
cut where an unknown word stood, so that no pair or triple jumps over it. The words written
with a capital wherever they stand ("Paris", "Marie") are listed in the table `capitals`.

Tokens are written the way the program hands text to presage (see src/prediction/FrenchText.cpp,
the two must agree): NFC, lower case, every apostrophe as U+02BC and a hyphen inside a word as
U+2011, because presage cuts words at ASCII punctuation and builds its SQL with the raw word (a
plain apostrophe in the database breaks its queries). An elided article or pronoun ("j'",
"l'", "qu'") is a token of its own, followed by the word it leans on: "j'ai" counts as "j'" then
"ai", so that "ai", "avais", "aime" share their counts across "j'", "n'", "t'" and the next word
is predicted from "j'" like any other word. A phrase starts with the marker U+E000, so that the
model knows which words open a phrase.
"""
import argparse
import collections
import gzip
import heapq
import os
import re
import sqlite3
import subprocess
import sys
import unicodedata

APOSTROPHE = "\u02bc"
HYPHEN = "\u2011"
START = "\ue000"
# The model's last word of a phrase that ends with a full stop, a question mark or an exclamation
# mark: the program offers the sign where a phrase likely ends. FrenchText.h has the same.
ENDS = {".": "\ue001", "?": "\ue002", "!": "\ue003"}
END_WORDS = set(ENDS.values())

LITTRE = "/usr/share/stardict/dic/XMLittre.dict.dz"
DASHER = "/usr/share/dasher/training_french_FR.txt"

# Littré: the quoted authors are the blue spans; the dictionary's own prose is left out (its
# abbreviations and grammar notes are no one's everyday French).
CITATION = re.compile(r'<span foreground="#0000CD">(.*?)</span>', re.S)
TAG = re.compile(r"<[^>]*>")

# How text is cut into the model's words; FrenchText::phrases() in the program cuts the same
# way, and tests/data/prediction/tokens.tsv is run through both.
APOSTROPHES = "'\u2019\u2018\u02bc\u00b4`\u2032"
HYPHENS = "-\u2010\u2011"
# Where the context starts again: sentence ends, and the signs after which a new phrase begins
# (quotations, asides, lists).
PHRASE_BREAKS = ".!?;:\u2026\"\u00ab\u00bb()[]\n\r"
ELIDED = {"c", "d", "j", "l", "m", "n", "s", "t", "qu", "jusqu", "lorsqu", "puisqu", "quoiqu"}


def is_letter(c):
    """Letters and the accents that follow them; digits are no part of a word."""
    return unicodedata.category(c)[0] in "LM"


def normalise(text, lower=True):
    """NFC, lower case, one apostrophe and one hyphen."""
    text = unicodedata.normalize("NFC", text)
    if lower:
        text = text.lower()
    return "".join("'" if c in APOSTROPHES else "-" if c in HYPHENS else c for c in text)


def model_words(word):
    """A word found by words() as the model's words: elided words apart, signs in model form."""
    out = []
    k = word.find("'")
    while k > 0 and word[:k].lower() in ELIDED:
        out.append(word[:k] + APOSTROPHE)
        word = word[k + 1:]
        k = word.find("'")
    word = word.rstrip("'")
    if word:
        out.append(word.replace("'", APOSTROPHE).replace("-", HYPHEN))
    return out


def tokens(phrase):
    """The model's words of one normalised phrase: letters joined by an apostrophe or a hyphen
    between two letters, an apostrophe after a letter kept for the elision."""
    out, word = [], ""
    for i, c in enumerate(phrase):
        after_letter = word != "" and is_letter(word[-1])
        before_letter = i + 1 < len(phrase) and is_letter(phrase[i + 1])
        if is_letter(c) or (after_letter and (c == "'" or (c == "-" and before_letter))):
            word += c
        else:
            out += model_words(word)
            word = ""
    return out + model_words(word)


def cased_phrases(text, ends=False):
    """The phrases of a text, each word with the case it was written in; with `ends`, a phrase
    that ends with ". ", "?" or "!" ends with the model's word for it."""
    phrase = []
    for c in normalise(text, lower=False) + "\n":
        if c in PHRASE_BREAKS:
            t = tokens("".join(phrase))
            if t:
                yield t + [ENDS[c]] if ends and c in ENDS else t
            phrase = []
        else:
            phrase.append(c)


def phrases(text):
    for toks in cased_phrases(text, ends=True):
        yield [t.lower() for t in toks]


class Vocabulary:
    """The words met, how often, and how often with a capital where no phrase starts."""

    def __init__(self):
        self.seen = collections.Counter()
        self.capital = collections.Counter()
        self.lower = collections.Counter()

    def add(self, texts, weight=1):
        for text in texts:
            for toks in cased_phrases(text):
                for i, t in enumerate(toks):
                    w = t.lower()
                    self.seen[w] += weight
                    if i > 0 and t[:1].isupper() and t[1:2].islower():
                        self.capital[w] += weight
                    elif i > 0 and t[:1].islower():
                        self.lower[w] += weight


def count_run(seq, weight, grams):
    """The n-grams of words written one after the other; START is no word of its own."""
    for i, g in enumerate(seq):
        if g == START:
            continue
        grams[0][g] += weight
        if i > 0:
            grams[1][(seq[i - 1], g)] += weight
        if i > 1:
            grams[2][(seq[i - 2], seq[i - 1], g)] += weight


def count(texts, weight, grams, known=None, excerpts=False):
    """N-grams of the texts; a phrase is cut at a word outside `known` (when given), and a word
    in it is counted as the word it maps to. Each text of `excerpts` is cut out of a longer one:
    where it starts says nothing of how phrases start (a quotation often begins with the "et" or
    "le" of a sentence begun before it), so its first phrase gets no start marker."""
    for text in texts:
        for i, toks in enumerate(phrases(text)):
            seq = [] if excerpts and i == 0 else [START]
            for w in toks:
                if known is None or w in END_WORDS:
                    seq.append(w)
                elif w in known:
                    seq.append(known[w])
                else:
                    # After an unknown word the context starts again, but no phrase does.
                    count_run(seq, weight, grams)
                    seq = []
            count_run(seq, weight, grams)


def written(word):
    """A model word as it is spelled: apostrophes and hyphens back."""
    return word.replace(APOSTROPHE, "'").replace(HYPHEN, "-")


def title(word):
    """A capital at the start of each part of a compound: "Jean-Pierre", "Saint-Étienne"."""
    return "-".join(p[:1].upper() + p[1:] for p in word.split("-"))


def hunspell_good(words, dictionary):
    """The words, among those given, that the dictionary knows."""
    env = dict(os.environ, LC_ALL="C.UTF-8")
    try:
        out = subprocess.run(["hunspell", "-d", dictionary, "-i", "UTF-8", "-G"],
                             input="\n".join(words) + "\n", capture_output=True,
                             encoding="utf-8", env=env, check=True).stdout
    except (OSError, subprocess.CalledProcessError) as e:
        sys.exit("cannot ask the dictionary %s: %s (install hunspell and hunspell-fr)"
                 % (dictionary, e))
    return set(out.split("\n"))


def ligatures(word):
    """The word with "oe" and "ae" as the ligatures the old texts spelled out: "coeur"."""
    return word.replace("oe", "\u0153").replace("ae", "\u00e6")


# A word the dictionary also knows in lower case takes a capital everywhere only when the texts
# write it so often enough: two "Match" in a magazine's name made every match a capital one.
MIN_CAPITAL_EVIDENCE = 40


def check_words(vocabulary, dictionary, ours=None):
    """The words the dictionary knows, each to the model word it is counted as (the texts write
    "coeur" for "cœur"), and the ones written with a capital wherever they stand: with the
    dictionary's own capitals, when it knows the word only so or when the texts mostly write it
    so inside a phrase, often enough ("Paris" but also "paris", the bets). Our own list writing
    a word in lower case inside its phrases has the last word."""
    words = [w for w in vocabulary.seen if not w.endswith(APOSTROPHE)]
    spelled = {w: written(w) for w in words}
    for w in words:
        if "oe" in w or "ae" in w:
            spelled[ligatures(w)] = written(ligatures(w))
    good = hunspell_good(sorted(set(spelled.values()) | {title(s) for s in spelled.values()}),
                         dictionary)
    known, capitals = {}, set()
    for w in words:
        for model in (w, ligatures(w)):
            s = spelled[model]
            lower_ok = s in good
            capital_ok = title(s) != s and title(s) in good
            if not lower_ok and not capital_ok:
                continue
            known[w] = model
            mostly_capital = (2 * vocabulary.capital[w] > vocabulary.seen[w]
                              and vocabulary.seen[w] >= MIN_CAPITAL_EVIDENCE)
            ours_lower = ours is not None and ours.lower[w] > ours.capital[w]
            if capital_ok and (not lower_ok or mostly_capital) and not ours_lower:
                capitals.add((model, title(s).replace("'", APOSTROPHE).replace("-", HYPHEN)))
            break
    return known, capitals


def littre_citations(path):
    data = gzip.open(path).read().decode("utf-8", "replace")
    for c in CITATION.findall(data):
        yield TAG.sub(" ", c).replace("&amp;", "&").replace("&lt;", "<").replace("&gt;", ">")


def top(counter, n):
    """The n most frequent entries, ties broken by the entry so that builds are reproducible."""
    return heapq.nsmallest(n, counter.items(), key=lambda kv: (-kv[1], kv[0]))


def write(path, grams, rows, capitals=()):
    tmp = path + ".tmp"
    if os.path.exists(tmp):
        os.remove(tmp)
    db = sqlite3.connect(tmp)
    db.executescript(
        """
        CREATE TABLE _1_gram (word TEXT COLLATE NOCASE, count INTEGER, UNIQUE(word));
        CREATE TABLE _2_gram (word_1 TEXT, word TEXT, count INTEGER, UNIQUE(word_1, word));
        CREATE TABLE _3_gram (word_2 TEXT, word_1 TEXT, word TEXT, count INTEGER,
                              UNIQUE(word_2, word_1, word));
        """
    )
    unigrams = dict(top(grams[0], rows[0]))
    # The start marker is a word of the context like any other: presage reads its count.
    unigrams[START] = sum(c for (a, _), c in grams[1].items() if a == START) or 1
    db.executemany("INSERT INTO _1_gram VALUES (?, ?)", unigrams.items())
    # Every n-gram kept keeps its context: presage divides by the context's count and aborts
    # when it is smaller than the n-gram's.
    bigrams = {k: c for k, c in top(grams[1], rows[1]) if k[0] in unigrams and k[1] in unigrams}
    db.executemany("INSERT INTO _2_gram VALUES (?, ?, ?)", ((a, b, c) for (a, b), c in bigrams.items()))
    db.executemany(
        "INSERT INTO _3_gram VALUES (?, ?, ?, ?)",
        ((a, b, w, c) for (a, b, w), c in top(grams[2], rows[2])
         if (a, b) in bigrams and w in unigrams),
    )
    # The program's own table, which the library never reads: how a word is written when it
    # takes a capital wherever it stands.
    db.execute("CREATE TABLE capitals (word TEXT PRIMARY KEY, written TEXT)")
    db.executemany("INSERT INTO capitals VALUES (?, ?)",
                   sorted((w, c) for w, c in capitals if w in unigrams))
    # The library looks words up with LIKE, which ignores case: with the same rule on the column,
    # a typed beginning reads a range of the word index instead of every word, and the most
    # frequent words come from the count index, not from sorting them all. The statistics
    # let SQLite choose between the two. Words are stored in lower case, so nothing collides.
    db.execute("CREATE INDEX _1_gram_count ON _1_gram(count)")
    db.commit()
    db.execute("ANALYZE")
    db.commit()
    db.execute("VACUUM")
    db.close()
    return tmp


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("output")
    ap.add_argument("--words", help="our own list: one word or phrase a line, optional count")
    ap.add_argument("--littre", default=LITTRE)
    ap.add_argument("--dasher", default=DASHER)
    ap.add_argument("--from-text", action="append", default=[],
                    help="build from this UTF-8 text only (tests), instead of the packages")
    ap.add_argument("--max-mb", type=float, default=10.0)
    ap.add_argument("--dictionary", default="fr",
                    help="the hunspell dictionary that says which words are today's French")
    ap.add_argument("--dictionary-for-text", action="store_true",
                    help="check the words of --from-text texts too (tests)")
    ap.add_argument("--no-dictionary", action="store_true", help="keep every word met")
    args = ap.parse_args()

    # (texts, weight, whether they are excerpts), read twice: once for the words, once for the
    # counts.
    sources = []
    if args.from_text:
        for f in args.from_text:
            sources.append((lambda f=f: [open(f, encoding="utf-8").read()], 1, False))
    else:
        for p in (args.littre, args.dasher):
            if not os.path.exists(p):
                sys.exit("missing source: %s (install stardict-xmlittre and dasher-data)" % p)
        sources.append((lambda: littre_citations(args.littre), 1, True))
        # Today's French weighs more than the classics quoted by the dictionary.
        sources.append((lambda: [open(args.dasher, encoding="utf-8", errors="replace").read()],
                        8, False))
    own = []
    if args.words:
        for line in open(args.words, encoding="utf-8"):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            text, _, n = line.rpartition("\t")
            # A line of our own is written today for this very use: it counts as a hundred
            # sightings, well above a phrase of the training text (eight).
            if not text:
                text, n = n, "100"
            own.append((text, int(n)))

    vocabulary = Vocabulary()
    for texts, weight, _ in sources:
        vocabulary.add(texts(), weight)
    ours = Vocabulary()
    for text, n in own:
        ours.add([text], n)
    dictionary = args.dictionary if not args.from_text or args.dictionary_for_text else None
    if dictionary and not args.no_dictionary:
        known, capitals = check_words(vocabulary, dictionary, ours)
    else:
        known, capitals = None, set()
    if known is not None:
        # Our own words are today's French by construction, and elided words stand alone.
        known.update((w, w) for w in list(ours.seen) + [e + APOSTROPHE for e in ELIDED])

    grams = (collections.Counter(), collections.Counter(), collections.Counter())
    for texts, weight, excerpts in sources:
        count(texts(), weight, grams, known, excerpts)
    for text, n in own:
        count([text], n, grams)

    # Prune to the size asked: about 44 bytes a row with its index; a quarter of the rows for
    # single words, the rest for pairs and triples, where the context lies.
    total = int(args.max_mb * 1e6 / 44)
    while True:
        rows = [total // 4, total * 2 // 5, total * 7 // 20]
        tmp = write(args.output, grams, rows, capitals)
        size = os.path.getsize(tmp) / 1e6
        if size <= args.max_mb:
            break
        total = int(total * 0.97 * args.max_mb / size)
    os.replace(tmp, args.output)
    print("%s: %.1f MB, %d words of %d kept" % (args.output, size, min(rows[0], len(grams[0])),
                                                len(grams[0])))


if __name__ == "__main__":
    main()
