#!/usr/bin/env python3
"""A second, independent KWIC search written from the search rules, for the differential test.

Usage (the same as the batch front end's search, without response files):

    reference_kwic.py [--ini FILE] kwic [-1 KW1] [-2 KW2] [--group1] [--group2]
                      [-d DIR] [-f PATTERNS]

It writes list 0 (every line with CR LF) to standard output and exits with 0 when a file was
read and something found, 1 otherwise, 2 on wrong usage. Options come from the settings file.
Left out on purpose: line preprocessing, regular expressions, subdirectories, response files,
excluded types. Keep those switches off when comparing.

Everything is bytes: corpus text, keywords, paths and settings values are Shift-JIS.
"""

import os
import re
import stat
import sys

# ---------------------------------------------------------------------------------------------
# Character model

LEAD = frozenset(list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD)))
SPACE = frozenset([0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x20])
ALNUM = frozenset(list(range(0x30, 0x3A)) + list(range(0x41, 0x5B)) + list(range(0x61, 0x7B)))
APOSTROPHE = 0x27
HYPHEN = 0x2D

# One character of a walk from a character start: a lead byte takes any byte after it along.
CHARACTER = re.compile(rb"[\x81-\x9f\xe0-\xfc][\x00-\xff]|[\x00-\xff]")
DOUBLE_BYTE = re.compile(rb"[\x81-\x9f\xe0-\xfc][\x00-\xff]")
HAS_LEAD = re.compile(rb"[\x81-\x9f\xe0-\xfc]")
HAS_UPPER = re.compile(rb"[A-Z]")


def is_char_start(s, pos):
    """Whether a walk from byte 0 of s stops at pos.

    A byte outside the lead range always ends a character (as a single byte or as a second
    byte), so only the run of lead-range bytes right before pos matters: its parity.
    """
    q = pos
    while q > 0 and s[q - 1] in LEAD:
        q -= 1
    return (pos - q) % 2 == 0


def starts_double_byte(s, n):
    """Byte n of s begins a double-byte character (a lead byte at the very end does not)."""
    return 0 <= n and n + 1 < len(s) and s[n] in LEAD and is_char_start(s, n)


def lower(s):
    """ASCII letters lower-cased; both bytes of a double-byte character left alone."""
    if not HAS_UPPER.search(s):
        return bytes(s)
    if not HAS_LEAD.search(s):
        return bytes(s).lower()
    out = bytearray(s).lower()
    for m in DOUBLE_BYTE.finditer(s):
        out[m.start() + 1] = s[m.start() + 1]
    return bytes(out)


def lower_context(context):
    """A context lower-cased by a walk from byte 1: byte 0 is never printed and may be the
    second half of a character, which must not take byte 1 along."""
    return bytes(context[:1]).lower() + lower(context[1:])


def reverse_characters(s):
    """s reversed character by character (double-byte characters read forwards still)."""
    return b"".join(reversed(CHARACTER.findall(s)))


def attached(mode, s, pos, length):
    """The word-boundary verdict: True when s[pos:pos+length] is stuck to its neighbours as the
    boundary mode forbids. No byte before position 0 and none after the end."""
    if mode == 0:
        return False
    before = s[pos - 1] if 0 < pos <= len(s) else None
    after = s[pos + length] if pos + length < len(s) else None
    b_word = before in ALNUM
    a_word = after in ALNUM
    if mode == 1:
        return b_word or a_word
    if mode == 2:
        return b_word
    if mode == 3:
        return a_word
    if mode == 11:
        return b_word or a_word or after == APOSTROPHE
    if mode == 13:
        return a_word or after == APOSTROPHE
    if mode == 21:
        return b_word or a_word or after == HYPHEN
    if mode == 23:
        return a_word or after == HYPHEN
    if mode == 31:
        return b_word or a_word or after in (APOSTROPHE, HYPHEN)
    if mode == 33:
        return a_word or after in (APOSTROPHE, HYPHEN)
    return True  # a combination without a meaning of its own never stands free


def sentence_end(mode, s):
    """Offset of the earliest sentence-final mark of s, or len(s). Mode 0 reads s forwards,
    mode 1 reads text that was reversed."""
    found = []
    if mode == 1:
        bar = s.find(b" | ")
        if bar >= 0:
            found.append(bar)
    for i in range(len(s)):
        if s[i] == 0x2C and ((i > 0 and s[i - 1] == 0x22) or (i + 1 < len(s) and s[i + 1] == 0x22)):
            found.append(i)
            break
    question = s.find(b"?")
    if question >= 0:
        found.append(question)
    else:
        bang = s.find(b"!")
        if bang >= 0:
            found.append(bang)
    if mode == 0:
        stop = s.find(b'."')
        if stop >= 0:
            found.append(stop)
    elif mode == 1:
        for i in range(len(s)):
            if s[i] == 0x2E and (i < 2 or s[i - 2] != 0x2E):
                found.append(i)
                break
    return min(found) if found else len(s)


# ---------------------------------------------------------------------------------------------
# Settings file


def parse_decimal(text):
    i = 0
    while i < len(text) and text[i] in (0x20, 0x09):
        i += 1
    negative = False
    if i < len(text) and text[i] in (0x2B, 0x2D):
        negative = text[i] == 0x2D
        i += 1
    value = 0
    while i < len(text) and 0x30 <= text[i] <= 0x39:
        value = min(value * 10 + text[i] - 0x30, 2**31)
        i += 1
    value = -value if negative else value
    return min(value, 2**31 - 1)


class Settings:
    """Sections of key=value lines; names match without regard to ASCII case and blanks
    around them; the first section and the first key of a name count; a value is everything
    after the first "=" up to the line end."""

    def __init__(self, path):
        self.sections = {}
        try:
            with open(path, "rb") as f:
                data = f.read()
        except OSError:
            data = b""
        current = None
        for line in re.split(rb"\r?\n", data):
            name = line.strip(b" \t")
            if name.startswith(b"["):
                name = name[1:].split(b"]", 1)[0].strip(b" \t").lower()
                if name in self.sections:
                    current = None  # a repeated section is not read
                else:
                    current = self.sections.setdefault(name, {})
                continue
            if current is None or b"=" not in line:
                continue
            key, value = line.split(b"=", 1)
            current.setdefault(key.strip(b" \t").lower(), value)

    def raw(self, section, key):
        return self.sections.get(section.lower(), {}).get(key.lower())

    def integer(self, section, key, default):
        value = self.raw(section, key)
        return default if value is None else parse_decimal(value)

    def on(self, key):
        return self.integer(b"Options", key, 0) == 1


class Options:
    def __init__(self, settings):
        on = settings.on
        self.max_line = settings.integer(b"Options", b"MaxLine", 100000) & 0xFFFFFFFF
        self.one_line = on(b"bOneLine")
        self.ignore_case = on(b"IgnoreCase")
        if on(b"CRLF"):
            self.marker = b" "
        elif on(b"NoCrlf"):
            self.marker = b""
        else:
            self.marker = b"/"
        self.no_line_number = on(b"LineNumber")
        self.sep_matched = on(b"SepMatched")
        self.no_separator = on(b"NoSeparator")
        self.tag_as_is = on(b"TagAsIs")
        self.tag_fname = on(b"TagFName")
        self.tag_form = on(b"TagForm")
        self.count = on(b"Count")
        self.count_matched = on(b"CountMatched")
        xsize = settings.raw(b"Options", b"Xsize")
        self.xsize = parse_decimal(b"80" if xsize is None else xsize)
        offset = settings.raw(b"Options", b"Offset")
        self.offset = parse_decimal(b"0" if offset is None else offset)
        if on(b"OffsetLeft"):
            self.offset = -self.offset
        keta = settings.raw(b"Options", b"IgnoreKeta")
        self.ignore_keta = parse_decimal(b"0" if keta is None else keta)
        self.mode1 = boundary_mode(on(b"KW1Both"), on(b"KW1Mae"), on(b"KW1Ato"), on(b"KW1Apo"), on(b"KW1Hyph"))
        self.mode2 = boundary_mode(on(b"KW2Both"), on(b"KW2Mae"), on(b"KW2Ato"), on(b"KW2Apo"), on(b"KW2Hyph"))
        method = settings.integer(b"Options", b"Method", 0)
        self.method = method if method in (0, 1, 2) else 0
        self.mae = on(b"Mae")
        self.bummatsu = on(b"Bummatsu")


def boundary_mode(both, before, after, apostrophe, hyphen):
    mode = 0
    if both:
        mode = 1
    if before:
        mode = 2
    if after:
        mode = 3
    return mode + (10 if apostrophe else 0) + (20 if hyphen else 0)


def group_words(settings, name):
    """The stored words of a group, in order, each once; none for an unknown group."""
    value = settings.raw(b"WordGroup", name.strip(b" \t"))
    if value is None:
        return []
    words, piece = [], b""
    for ch in CHARACTER.findall(value):
        if ch == b"|":
            if piece:
                words.append(piece)
            piece = b""
        else:
            piece += ch
    if piece:
        words.append(piece)
    return words


# ---------------------------------------------------------------------------------------------
# Corpus


def units(text):
    return CHARACTER.findall(text)


def same_unit(p, n):
    if len(p) == 1 and len(n) == 1:
        return bytes(p).lower() == bytes(n).lower()
    return p == n


def wildcard_match(pattern, name):
    p, n = units(pattern), units(name)
    # reachable[j]: pattern units p[:i] can match name units n[:j]
    reachable = [True] + [False] * len(n)
    for unit in p:
        if unit == b"*":
            for j in range(1, len(n) + 1):
                reachable[j] = reachable[j] or reachable[j - 1]
        else:
            reachable = [False] + [reachable[j - 1] and (unit == b"?" or same_unit(unit, n[j - 1]))
                                   for j in range(1, len(n) + 1)]
    return reachable[len(n)]


def name_matches(pattern, name):
    if not pattern or not name:
        return False
    if name.startswith(b".") and not pattern.startswith(b"."):
        return False
    if wildcard_match(pattern, name):
        return True
    # "name.*" also takes a name without any extension
    return pattern.endswith(b".*") and wildcard_match(pattern[:-2], name)


def is_regular_file(path):
    try:
        return stat.S_ISREG(os.stat(path).st_mode)
    except OSError:
        return False


def corpus_files(directory, patterns):
    files = []
    fields = [b""]
    for ch in CHARACTER.findall(patterns):
        if ch == b";":
            fields.append(b"")
        else:
            fields[-1] += ch
    for field in fields:
        path_pattern = directory + field
        slash = path_pattern.rfind(b"/")
        where, pattern = path_pattern[: slash + 1], path_pattern[slash + 1:]
        if not pattern:
            continue
        try:
            names = os.listdir(where if where else b".")
        except OSError:
            continue
        for name in sorted(names):
            if name_matches(pattern, name) and is_regular_file(where + name):
                files.append(where + name)
    return files


# ---------------------------------------------------------------------------------------------
# Reading lines

MAX_PIECE = 8191


class Piece:
    __slots__ = ("text", "line_end", "cut_at_nul", "end_of_file")


class PieceReader:
    """A file read as text: a CR LF pair is one line end. Lines come in pieces of at most
    8,191 bytes; bytes given back begin the next piece."""

    def __init__(self, data):
        self.data = data.replace(b"\r\n", b"\n")
        self.pos = 0

    def next(self):
        if self.pos >= len(self.data):
            return None
        limit = min(self.pos + MAX_PIECE, len(self.data))
        newline = self.data.find(b"\n", self.pos, limit)
        end = newline + 1 if newline >= 0 else limit
        raw = self.data[self.pos:end]
        self.pos = end
        piece = Piece()
        nul = raw.find(b"\0")
        piece.cut_at_nul = nul >= 0
        piece.text = raw[:nul] if nul >= 0 else raw
        piece.line_end = newline >= 0 and nul < 0
        piece.end_of_file = newline < 0 and self.pos >= len(self.data)
        return piece

    def give_back(self, tail):
        if not tail:
            return
        if self.data[self.pos - len(tail):self.pos] == tail:
            self.pos -= len(tail)
        else:
            self.data = tail + self.data[self.pos:]
            self.pos = 0


def give_back_start(text):
    """Where the trailing white space and cut-off lead bytes of a piece begin."""
    i = len(text)
    while i > 0 and (text[i - 1] in SPACE or (text[i - 1] in LEAD and is_char_start(text, i - 1))):
        i -= 1
    return i


def shape(piece, reader, marker, ignore_keta):
    """A piece as the search sees it: its line end replaced by the marker, cut-off bytes given
    back to the reader, TABs as blanks, leading bytes dropped."""
    text = piece.text
    if piece.line_end:
        text = text.rstrip(b"\n ") + marker
    else:
        keep = give_back_start(text)
        # A piece that would give everything back stays whole, or it would come back forever.
        if 0 < keep < len(text):
            tail = text[keep:]
            if piece.cut_at_nul:
                pass  # what followed the NUL is gone; these bytes have nothing to join
            elif piece.end_of_file:
                reader.give_back(bytes(b for b in tail if b not in SPACE))
            else:
                reader.give_back(tail)
            text = text[:keep]
        end = len(text)
        while end > 0 and 1 <= text[end - 1] <= 31:
            end -= 1
        text = text[:end]
    text = text.replace(b"\t", b" ")
    if ignore_keta > 0 and text:
        text = text[min(ignore_keta, len(text)):]
    return text


class BinaryGuard:
    """Run-wide count of one-byte lines; past ten the current file is given up."""

    def __init__(self):
        self.count = 0

    def abandons(self, piece):
        if len(piece.text) != 1 or piece.text == b"\n":
            return False
        if self.count == 10:
            self.count = 0
            return True
        self.count += 1
        return False


# ---------------------------------------------------------------------------------------------
# Matching


def continuation_prefix(word):
    blank = word.find(b" ")
    if blank >= 0:
        return word[:blank]
    if len(word) >= 2 and word[0] in LEAD:
        return word[:2]
    return b""


class Matcher:
    def __init__(self, options, words1, words2, group_search):
        self.o = options
        self.words1 = words1
        self.prefixes = [continuation_prefix(w) for w in words1]
        self.words2 = words2
        self.words2_reversed = [reverse_characters(w) for w in words2]
        self.group_search = group_search
        self.range = 0
        if words2:
            r = (2 if options.mae else 1) + (10 if options.bummatsu else 0)
            if options.method == 1:  # NOT: 1 -> 0, 2 -> -1, 11 -> -9, 12 -> -10
                r = {1: 0, 2: -1, 11: -9, 12: -10}[r]
            self.range = r

    # -- keyword 1 ----------------------------------------------------------------------------

    def find(self, copy, start, next_line):
        if not self.words1 or start > len(copy):
            return None
        if self.group_search:
            return self.find_group(copy, start, next_line)
        return self.find_single(copy, start, next_line)

    def find_single(self, copy, start, next_line):
        word = self.words1[0]
        pos = start
        while True:
            at = copy.find(word, pos)
            if at < 0:
                break
            if not attached(self.o.mode1, copy, at, len(word)):
                return at, len(word)
            pos = at + 1
        return self.continuation(copy, start, next_line, 0, aligned=False)

    def find_group(self, copy, start, next_line):
        # Group words stand at character starts; a start on a second byte moves on to the next.
        if 0 < start < len(copy) and not is_char_start(copy, start):
            start += 1
        best = None
        for index, word in enumerate(self.words1):
            found = None
            pos = start
            while True:
                at = copy.find(word, pos)
                if at < 0:
                    break
                if is_char_start(copy, at) and not attached(self.o.mode1, copy, at, len(word)):
                    found = (at, len(word))
                    break
                pos = at + 1
            if found is None:
                found = self.continuation(copy, start, next_line, index, aligned=True)
            if found is not None and (best is None or found[0] < best[0]):
                best = found
        return best

    def continuation(self, copy, start, next_line, index, aligned):
        """A keyword that begins in the line's last bytes and runs on into the next line."""
        prefix = self.prefixes[index]
        if not prefix or next_line is None:
            return None
        word = self.words1[index]
        k1 = len(word)
        region = max(start, len(copy) - k1 if len(copy) > k1 else 0)
        at = copy.find(prefix, region)
        while aligned and at >= 0 and not is_char_start(copy, at):
            at = copy.find(prefix, at + 1)
        if at < 0:
            return None
        line = copy
        if self.o.marker == b"/" and line.endswith(b"/"):
            line = line[:-1] + b" "
        joined = line + (lower(next_line) if self.o.ignore_case else next_line)
        if joined[at:at + k1] != word or attached(self.o.mode1, joined, at, k1):
            return None
        return at, k1

    # -- tests on the context --------------------------------------------------------------

    def accepts_context(self, context, l, k1):
        return not attached(self.o.mode1, context, l, k1)

    def accepts_keyword2(self, context, l, k1, w):
        if not self.words2:
            return True
        r = self.range
        found = False
        if r in (1, 11, 0, -9):
            copy = lower_context(context) if self.o.ignore_case else context
            begin = l + k1
            limit = min(len(copy), w)  # keyword 2 must be visible in the printed line
            if r in (11, -9):
                limit = min(limit, begin + sentence_end(0, copy[begin:]))
            for word in self.words2:
                pos = begin
                while not found:
                    at = copy.find(word, pos)
                    if at < 0 or at >= limit:
                        break
                    # keyword 2 stuck to the end of keyword 1 is no word of its own
                    found = not attached(self.o.mode2, context, at, len(word))
                    pos = at + 1
                if found:
                    break
        else:
            left = context[:l]
            copy = lower_context(left) if self.o.ignore_case else left
            # Byte 0 of a context is never printed and may be half a character: the walk that
            # reverses the left context begins at byte 1, like the one that trims it.
            reversed_copy = reverse_characters(copy[1:]) + copy[:1]
            limit = len(reversed_copy)
            if r in (12, -10):
                limit = sentence_end(1, reversed_copy)
            for word, reversed_word in zip(self.words2, self.words2_reversed):
                pos = 0
                while not found:
                    at = reversed_copy.find(reversed_word, pos)
                    if at < 0 or at >= limit:
                        break
                    pos = at + 1
                    forward = len(reversed_copy) - at - len(word)
                    if copy[forward:forward + len(word)] != word:
                        continue  # bytes of neighbouring characters, not the word
                    found = not attached(self.o.mode2, context, forward, len(word))
                if found:
                    break
        return found == (r > 0)


# ---------------------------------------------------------------------------------------------
# Layout


def trunc_div(a, b):
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b > 0) else -q


def file_name_part(path):
    return path[path.rfind(b"/") + 1:]


class Layout:
    def __init__(self, options, files, keyword1_length):
        x = options.xsize
        self.x = 80 if x <= 0 else max(30, min(256, x))
        self.n = 0 if options.no_line_number else 10
        name_width = 0
        if options.tag_fname:
            name_width = max((len(file_name_part(p)) for p in files), default=0)
        elif options.tag_as_is:
            name_width = max((len(p) for p in files), default=0)
        self.f = name_width + (3 if options.no_line_number else 1)
        self.w = max(self.x - self.n - self.f, 19)
        k1 = keyword1_length
        l = trunc_div(self.w - k1 - 1, 2) + options.offset + 1
        if l < 1:
            l = 1
        elif l + k1 > self.x:
            l = self.x - k1
        self.l = max(l, 1)
        self.selector = 1 if options.no_line_number else 0
        if options.tag_as_is or options.tag_fname:
            self.selector += 10
        if self.selector == 10 and options.tag_form:
            self.selector = 20

    def window_context(self, slots, hit):
        need = self.l - hit
        start = 5
        while need > 0 and start > 0:
            start -= 1
            need -= len(slots[start])
        context = bytearray()
        cut = None
        if need > 0:
            context += b" " * need
        else:
            cut = -need
        context += slots[start][cut or 0:]
        for slot in range(start + 1, 11):
            # the keyword's own line always goes in whole
            if slot > 5 and len(context) >= self.w:
                break
            context += slots[slot]
        if cut is not None and starts_double_byte(slots[start], cut):
            context[1] = 0x20
        return bytes(context)

    def line_context(self, line, hit):
        need = self.l - hit
        if need > 0:
            return b" " * need + line
        context = bytearray(line[-need:])
        if starts_double_byte(line, -need):
            context[1] = 0x20
        return bytes(context)

    def printed(self, context):
        if len(context) <= 1:
            return b""
        text = context[1:]
        if len(context) <= self.w:
            return text
        length = self.w - 1
        if starts_double_byte(text, length - 1):
            length -= 1
        return text[:length]

    def hit_line(self, name, number, text):
        s = self.selector
        if s == 1:
            return text
        if s == 10:
            return name.rjust(self.f - 1) + b":" + b"%7d" % number + b" | " + text
        if s == 11:
            return name.rjust(self.f - 3) + b" | " + text
        if s == 20:
            return name.rjust(self.f - 1) + b"(" + b"%6d" % number + b") | " + text
        return b"%7d" % number + b" | " + text


# ---------------------------------------------------------------------------------------------
# The run


class Run:
    def __init__(self, options, settings, request):
        self.o = options
        self.out = []
        self.limit_hit = False
        words1 = group_words(settings, request["kw1"]) if request["group1"] else [request["kw1"]]
        kw2 = request["kw2"]
        if not kw2:
            words2 = []
        else:
            words2 = group_words(settings, kw2) if request["group2"] else [kw2]
        if options.method == 2:  # OR: keyword 2's words are more words of keyword 1
            words1, words2 = words1 + words2, []
        words1 = self.normalized(words1)
        words2 = self.normalized(words2)
        self.words1, self.words2 = words1, words2
        # Only the single-keyword searches read byte-wise; the group search and the line search
        # with a keyword 2 look at character starts.
        group_search = len(words1) != 1 or (options.one_line and bool(words2))
        self.matcher = Matcher(options, words1, words2, group_search)
        self.guarded = not options.one_line or (len(words1) != 1 and not words2)
        self.files = corpus_files(request["dir"], request["patterns"])
        self.layout = Layout(options, self.files, len(request["kw1"]))
        self.guard = BinaryGuard()
        self.files_opened = 0
        self.total = 0

    def normalized(self, words):
        kept = []
        for word in words:
            # a lead byte left alone at the end can never match whole
            while word and word[-1] in LEAD and is_char_start(word, len(word) - 1):
                word = word[:-1]
            if not word:
                continue
            if self.o.ignore_case:
                word = lower(word)
            if word not in kept:
                kept.append(word)
        return kept

    def add(self, line):
        if len(self.out) < self.o.max_line:
            self.out.append(line + b"\r\n")
        else:
            self.limit_hit = True

    def execute(self):
        for path in self.files:
            try:
                with open(path, "rb") as f:
                    data = f.read()
            except OSError:
                continue
            self.search_file(path, data)
            if self.limit_hit:
                break
        o = self.o
        if o.count and (not o.count_matched or self.total != 0):
            self.add(b"Total : %d" % self.total)
        return b"".join(self.out), 0 if self.files_opened and self.total else 1

    def search_file(self, path, data):
        o = self.o
        name = file_name_part(path) if o.tag_fname else path
        if not (o.no_separator or o.sep_matched or o.tag_as_is or o.tag_fname):
            self.add(b"-----[ " + name + b" ]-----")
        self.files_opened += 1
        self.name = name
        self.hits = 0
        self.pending = o.sep_matched
        reader = PieceReader(data)
        finished = False
        lines_read = 0
        if o.one_line:
            while True:
                if self.limit_hit:
                    break
                piece = reader.next()
                if piece is None:
                    finished = True
                    break
                if self.guarded and self.guard.abandons(piece):
                    break
                lines_read += 1
                line = shape(piece, reader, o.marker, o.ignore_keta)
                self.search_line(lines_read, line, None, None)
        else:
            # A file begins with an empty window: no context from another file.
            slots = [b""] * 11
            while True:
                piece = reader.next()
                if piece is None:
                    if not any(slots[5:]):
                        finished = True
                        break
                elif self.guard.abandons(piece):
                    break
                if self.limit_hit:
                    break
                lines_read += 1
                if piece is not None:
                    slots[10] = shape(piece, reader, o.marker, o.ignore_keta)
                if lines_read > 5:
                    self.search_line(lines_read - 5, slots[5], slots[6], slots)
                slots = slots[1:] + [b""]
        if finished and o.count and (not o.count_matched or self.hits > 0):
            self.add(b"%s : %d" % (name, self.hits))
        self.total += self.hits

    def search_line(self, number, line, next_line, slots):
        o = self.o
        layout = self.layout
        copy = lower(line) if o.ignore_case else line
        start = 0
        while True:
            hit = self.matcher.find(copy, start, next_line)
            if hit is None:
                return
            offset, k1 = hit
            start = offset + 1
            if slots is not None:
                context = layout.window_context(slots, offset)
            else:
                context = layout.line_context(line, offset)
            if not self.matcher.accepts_context(context, layout.l, k1):
                continue
            if not self.matcher.accepts_keyword2(context, layout.l, k1, layout.w):
                continue
            if self.pending:
                self.add(b"-----[ " + self.name + b" ]-----")
                self.pending = False
            self.add(layout.hit_line(self.name, number, layout.printed(context)))
            self.hits += 1  # counted even when the limit refused the line


# ---------------------------------------------------------------------------------------------


def parse_arguments(argv):
    args = [os.fsencode(a) for a in argv]
    ini = os.environ.get("PYXO_INI", "")
    i = 0
    while i < len(args) and args[i] == b"--ini" and i + 1 < len(args):
        ini = os.fsdecode(args[i + 1])
        i += 2
    if i >= len(args) or args[i] != b"kwic":
        return None
    request = {"kw1": b"", "kw2": b"", "group1": False, "group2": False,
               "dir": os.fsencode(os.getcwd()), "patterns": None, "ini": ini}
    i += 1
    with_value = {b"-1": "kw1", b"-2": "kw2", b"-d": "dir", b"-f": "patterns"}
    while i < len(args):
        arg = args[i]
        if arg in with_value and i + 1 < len(args):
            request[with_value[arg]] = args[i + 1]
            i += 2
        elif arg == b"--group1":
            request["group1"] = True
            i += 1
        elif arg == b"--group2":
            request["group2"] = True
            i += 1
        else:
            return None
    if not request["kw1"] or not request["patterns"] or not ini:
        return None
    if not request["dir"].endswith(b"/"):
        request["dir"] += b"/"
    return request


def search(argv):
    """Runs one search; returns (standard output bytes, exit status)."""
    request = parse_arguments(argv)
    if request is None:
        return b"", 2
    settings = Settings(request["ini"])
    return Run(Options(settings), settings, request).execute()


def main(argv):
    output, status = search(argv)
    if status == 2:
        sys.stderr.write(__doc__)
    sys.stdout.buffer.write(output)
    sys.stdout.buffer.flush()
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
