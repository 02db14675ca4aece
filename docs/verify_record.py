#!/usr/bin/env python3
"""Checks an exported qxOrvanta Trainer record (CSV) without the program.

Recomputes the hash chain, checks every revealed seed against its run's commitment and replays every
sealed run's draws against the recorded targets and deals, as docs/verification.md describes byte
for byte. Standard library only.

    python3 verify_record.py FILE [--json]

Exit status 0 when everything that can be checked holds, 1 on any mismatch or an unreadable file.
"""
import csv
import hashlib
import hmac
import json
import struct
import sys

UNREADABLE = -(2**63)
KINDS = ["run-start", "try", "run-end", "series", "series-end"]  # kind bytes 1..5
GAMES = {"plain": 1, "find-hidden": 2}
DECKS = {"zener": 0, "colors": 1, "playing-cards": 2}
GUARDED = "=+-@\t\r"
PROBLEMS = ["chain", "before-chain", "order", "hit", "seed", "draw"]  # named first when on one row


def i64(v):
    return struct.pack("<q", v)


def text(s):
    b = s.encode("utf-8")
    return struct.pack("<I", len(b)) + b


def simple_fold(name):
    """Unicode simple case folding, one character to one, as the program folds account names."""
    out = []
    for c in name:
        f = c.casefold()
        if len(f) != 1:
            f = c.lower() if len(c.lower()) == 1 else c
        out.append(f)
    return "".join(out)


def number(field, empty):
    if field == "":
        return empty
    try:
        value = int(field, 10) if field.isascii() and field.strip() == field and "_" not in field else UNREADABLE
    except ValueError:
        return UNREADABLE
    return value if -(2**63) <= value < 2**63 else UNREADABLE


def named(table, field):
    if field == "":
        return 0
    return table[field] if field in table else number(field, UNREADABLE)


def days_from_civil(y, m, d):
    y -= m <= 2
    era = (y if y >= 0 else y - 399) // 400
    yoe = y - era * 400
    doy = (153 * (m + (-3 if m > 2 else 9)) + 2) // 5 + d - 1
    doe = yoe * 365 + yoe // 4 - yoe // 100 + doy
    return era * 146097 + doe - 719468


def time_ms(field):
    pattern = "dddd-dd-ddTdd:dd:dd.dddZ"
    if len(field) != len(pattern):
        return UNREADABLE
    for c, p in zip(field, pattern):
        if (p == "d" and c not in "0123456789") or (p != "d" and c != p):
            return UNREADABLE
    days = days_from_civil(int(field[0:4]), int(field[5:7]), int(field[8:10]))
    return ((days * 24 + int(field[11:13])) * 60 + int(field[14:16])) * 60000 + int(field[17:19]) * 1000 + int(field[20:23])


def digest(field):
    hexdigits = "0123456789abcdefABCDEF"
    return bytes.fromhex(field) if len(field) == 64 and all(c in hexdigits for c in field) else bytes(32)


def read_rows(path):
    with open(path, newline="", encoding="utf-8") as f:
        lines = [r for r in csv.reader(f) if r != []]
    if not lines or "time_utc" not in lines[0]:
        raise ValueError("not an exported record: no header with time_utc")
    column = {name: i for i, name in enumerate(lines[0])}
    account, rows = None, []
    for fields in lines[1:]:
        get = lambda name: fields[column[name]] if name in column and column[name] < len(fields) else ""
        if account is None:
            account = get("account")
            if len(account) >= 2 and account[0] == "'" and account[1] in GUARDED + "'":
                account = account[1:]
        kind = get("kind")
        row = {
            "kind": 2 if kind == "" else (KINDS.index(kind) + 1 if kind in KINDS else 0),
            "time": time_ms(get("time_utc")),
            "run": number(get("run"), 0), "try": number(get("try"), 0),
            "game": named(GAMES, get("game")), "deck": named(DECKS, get("deck")),
            "blind": number(get("blind"), 0), "guess": number(get("guess"), 0),
            "target": number(get("target"), 0), "layout": number(get("layout"), 0),
            "hit": number(get("hit"), 0), "response": number(get("response_ms"), -1),
        }
        row["secret"] = digest(get("commitment") if row["kind"] == 1 else get("seed"))
        row["link"] = digest(get("chain")) if get("chain") != "" else None
        rows.append(row)
    return account or "", rows


def canonical(r):
    b = bytes([r["kind"] & 0xFF]) + i64(r["time"])
    if r["kind"] == 1:
        b += i64(r["run"]) + i64(r["game"]) + r["secret"]
    elif r["kind"] == 2:
        for key in ("run", "try", "game", "deck", "blind", "guess", "target", "layout", "hit", "response"):
            b += i64(r[key])
    elif r["kind"] == 3:
        b += i64(r["run"]) + r["secret"]
    elif r["kind"] == 4:
        b += i64(r["try"]) + i64(r["game"]) + i64(r["deck"])
    return b


class Stream:
    """Block i = HMAC-SHA256(seed, b"qxo/draw/v1" || u64 LE i); four u64 LE words a block; r = (w >> 11) / 2^53."""

    def __init__(self, seed):
        self.seed, self.block, self.words = seed, 0, []

    def face(self):
        if not self.words:
            data = hmac.new(self.seed, b"qxo/draw/v1" + struct.pack("<Q", self.block), hashlib.sha256).digest()
            self.words = list(struct.unpack("<4Q", data))
            self.block += 1
        r = (self.words.pop(0) >> 11) / 2.0**53
        return min(max(1 + int(r * 5), 1), 5)  # face index 1 + floor(5r)

    def deal(self):
        chosen, first = self.face(), self.face()
        layout = [first]
        while len(layout) < 5:
            face = self.face()
            while face in layout:
                face = self.face()
            layout.append(face)
        return chosen, int("".join(map(str, layout)))


def judged_hit(r):
    if r["game"] == 1:
        return r["guess"] == r["target"]
    if not 1 <= r["guess"] <= 5 or r["layout"] < 0:
        return False
    return (r["layout"] // 10 ** (5 - r["guess"])) % 10 == r["target"]


def verify(account, rows):
    folded = simple_fold(account)
    report = {"rows_checked": 0, "chained_rows": 0, "tries_before_chain": 0, "runs_verified": 0,
              "runs_unverifiable": 0, "unverifiable_tries": 0, "fingerprint": None,
              "first_problem_row": None, "first_problem": None}
    first = []

    def flag(i, problem):
        key = (i, PROBLEMS.index(problem))
        if not first or key < first[0]:
            first[:] = [key]

    previous = hashlib.sha256(b"qxo/chain/v1" + text(folded)).digest()
    broken, runs = False, {}
    for i, r in enumerate(rows):
        report["rows_checked"] += 1
        if r["link"] is None:
            if report["chained_rows"] > 0 or r["kind"] != 2:
                flag(i, "before-chain")
            else:
                report["tries_before_chain"] += 1
            continue
        report["chained_rows"] += 1
        if not broken and hashlib.sha256(previous + canonical(r)).digest() != r["link"]:
            flag(i, "chain")
            broken = True
        previous = report["fingerprint"] = r["link"]
        run = runs.get(r["run"])
        if r["kind"] == 1:
            if run is not None or r["game"] not in (1, 2):
                flag(i, "order")
            else:
                runs[r["run"]] = {"game": r["game"], "start": r["time"], "commitment": r["secret"], "tries": [], "ended": False,
                                 "faulty": False}
        elif r["kind"] == 2:
            if run is None or run["ended"] or r["game"] != run["game"] or r["try"] != len(run["tries"]) + 1:
                flag(i, "order")
                if run is not None:
                    run["faulty"] = True
                continue
            if (r["hit"] != 0) != judged_hit(r) or r["hit"] not in (0, 1):
                flag(i, "hit")
                run["faulty"] = True
            run["tries"].append(i)
        elif r["kind"] == 3:
            if run is None or run["ended"]:
                flag(i, "order")
                continue
            run["ended"] = True
            check_sealed_run(folded, rows, i, r["secret"], run, flag, report)
        elif r["kind"] not in (4, 5):
            flag(i, "order")
    for run in runs.values():
        if not run["ended"]:
            report["runs_unverifiable"] += 1
            report["unverifiable_tries"] += len(run["tries"])
    if report["fingerprint"] is not None:
        report["fingerprint"] = report["fingerprint"].hex()
    if first:
        report["first_problem_row"], report["first_problem"] = first[0][0] + 1, PROBLEMS[first[0][1]]
    return report


def check_sealed_run(folded, rows, end_row, seed, run, flag, report):
    commitment = hashlib.sha256(b"qxo/commit/v1" + seed + text(folded) + i64(run["game"]) + i64(run["start"])).digest()
    if commitment != run["commitment"]:
        flag(end_row, "seed")
        return
    stream = Stream(seed)
    for i in run["tries"]:
        target, layout = stream.deal() if run["game"] == 2 else (stream.face(), 0)
        if rows[i]["target"] != target or rows[i]["layout"] != layout:
            flag(i, "draw")
            return
    if not run["faulty"]:
        report["runs_verified"] += 1


def main(argv):
    if len(argv) not in (2, 3) or (len(argv) == 3 and argv[2] != "--json"):
        print(__doc__.strip().splitlines()[4].strip(), file=sys.stderr)
        return 2
    try:
        account, rows = read_rows(argv[1])
    except (OSError, ValueError, csv.Error) as e:
        print(f"{argv[1]}: {e}", file=sys.stderr)
        return 1
    report = verify(account, rows)
    if len(argv) == 3:
        print(json.dumps(report))
    else:
        print(f"rows checked: {report['rows_checked']} ({report['chained_rows']} chained, "
              f"{report['tries_before_chain']} tries before the chain)")
        print(f"runs verified: {report['runs_verified']}")
        print(f"runs unverifiable: {report['runs_unverifiable']} ({report['unverifiable_tries']} tries)")
        print(f"fingerprint: {report['fingerprint'] or 'none'}")
        problem = report["first_problem"]
        print(f"first problem: row {report['first_problem_row']}: {problem}" if problem else "first problem: none")
    return 1 if report["first_problem"] else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
