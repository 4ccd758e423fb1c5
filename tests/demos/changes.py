#!/usr/bin/env python3
"""Says what a re-recording of the demos and the golden game changed: for each expected file, the final
states, the SCORE.DAT bytes, the sounds and the frame checksums that differ from the committed file, and
whether each recording changed.

    changes.py SAVED_DIR FILE...

Each FILE is compared with its committed version (git HEAD), or, outside a git checkout or for a file not
committed yet, with the copy of the same name in SAVED_DIR taken before the re-recording.
"""
import difflib
import pathlib
import re
import subprocess
import sys


def old_text(path, saved):
    try:
        return subprocess.run(["git", "show", f"HEAD:./{path.name}"], capture_output=True, text=True,
                              check=True, cwd=path.parent).stdout
    except (OSError, subprocess.CalledProcessError):
        copy = saved / path.name
        return copy.read_text() if copy.exists() else None


def parse(text):
    """The expected file's lines by kind: single values, sounds in order, chosen frames in order."""
    single, sounds, frames = {}, [], []
    for line in text.splitlines():
        key, _, rest = line.partition(": ")
        if line.startswith("frame "):
            _, index, label, checksum = line.split()
            frames.append((label, int(index), checksum))
        elif key == "sound":
            sounds.append(rest)
        elif rest:
            single[key] = rest
    return single, sounds, frames


def score_bytes(old, new):
    """The table bytes (offsets 16 to 35) that differ, by place, from the SCORE.DAT summary lines."""
    pattern = re.compile(r"(\d+) bytes, table ([0-9a-f]*), fnv ([0-9a-f]+)")
    a, b = pattern.match(old), pattern.match(new)
    if not a or not b:
        return [f"{old}  ->  {new}"]
    said = []
    if a[1] != b[1]:
        said.append(f"size {a[1]} -> {b[1]} bytes")
    for place in range(5):
        was, now = a[2][8 * place:8 * place + 8], b[2][8 * place:8 * place + 8]
        if was != now:
            value = lambda hexed: int.from_bytes(bytes.fromhex(hexed), "little", signed=True) if hexed else None
            said.append(f"bytes {16 + 4 * place}-{19 + 4 * place} (place {place + 1}): {was} -> {now} "
                        f"(score {value(was)} -> {value(now)})")
    if a[3] != b[3]:
        said.append(f"the whole record's FNV-1a {a[3]} -> {b[3]}"
                    + ("" if a[2] != b[2] else ": bytes outside the table changed"))
    return said


def table_places(old, new):
    """The places that differ between two "table:" lines of a demo."""
    was, now = old.split(), new.split()
    return [f"place {i + 1}: {w} -> {n}" for i, (w, n) in enumerate(zip(was, now)) if w != n] or \
        [f"{old} -> {new}"]


def report(path, old, new):
    if old is None:
        return [f"{path}: new, nothing committed to compare with"]
    if old == new:
        return [f"{path}: unchanged"]
    lines = [f"{path}: changed"]
    (old_single, old_sounds, old_frames), (new_single, new_sounds, new_frames) = parse(old), parse(new)
    for key in dict.fromkeys(list(old_single) + list(new_single)):
        was, now = old_single.get(key, "(none)"), new_single.get(key, "(none)")
        if was == now:
            continue
        if key == "SCORE.DAT":
            lines += [f"  SCORE.DAT {said}" for said in score_bytes(was, now)]
        elif key == "table":
            lines += [f"  SCORE.DAT table {said}" for said in table_places(was, now)]
        else:
            lines.append(f"  {key}: {was}  ->  {now}")
    # Sounds as runs of one effect, numbered from 1 in the order they played.
    matcher = difflib.SequenceMatcher(a=old_sounds, b=new_sounds, autojunk=False)
    for op, a0, a1, b0, b1 in matcher.get_opcodes():
        if op == "replace" and a1 - a0 == b1 - b0:
            lines += [f"  sound run {b0 + k + 1}: {old_sounds[a0 + k]}  ->  {new_sounds[b0 + k]}"
                      for k in range(a1 - a0) if old_sounds[a0 + k] != new_sounds[b0 + k]]
        elif op != "equal":
            lines += [f"  sound run {a0 + k + 1} gone: {old_sounds[a0 + k]}" for k in range(a1 - a0)]
            lines += [f"  sound run {b0 + k + 1} new: {new_sounds[b0 + k]}" for k in range(b1 - b0)]
    for i in range(max(len(old_frames), len(new_frames))):
        was = old_frames[i] if i < len(old_frames) else None
        now = new_frames[i] if i < len(new_frames) else None
        if was == now:
            continue
        if was and now and was[0] == now[0]:
            moved = f"frame {was[1]} -> {now[1]}" if was[1] != now[1] else f"frame {now[1]}"
            sums = f"checksum {was[2]} -> {now[2]}" if was[2] != now[2] else "same checksum"
            lines.append(f"  {now[0]}: {moved}, {sums}")
        else:
            if was:
                lines.append(f"  frame - {was[0]} at {was[1]} ({was[2]})")
            if now:
                lines.append(f"  frame + {now[0]} at {now[1]} ({now[2]})")
    return lines


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    saved = pathlib.Path(sys.argv[1])
    print("The re-recording, against the committed files:")
    for name in sys.argv[2:]:
        path = pathlib.Path(name)
        old = old_text(path, saved)
        new = path.read_text() if path.exists() else ""
        if path.suffix == ".rec":
            if old is None or old == new:
                print(f"{path}: {'unchanged' if old == new else 'new'}")
            else:
                changed = sum(1 for line in difflib.unified_diff(old.splitlines(), new.splitlines(), n=0)
                              if line[:1] in "-+" and line[:3] not in ("---", "+++"))
                print(f"{path}: recording changed ({changed} lines differ, "
                      f"{len(old.splitlines())} -> {len(new.splitlines())} lines)")
        else:
            print("\n".join(report(path, old, new)))


if __name__ == "__main__":
    main()
