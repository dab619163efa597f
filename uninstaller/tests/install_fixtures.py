#!/usr/bin/env python3
"""Writes whole ad-client installations for the uninstaller's tests: the
vendor folder tree (applications with their Pending and Done queues, the ad
cache with part files, multi files and rc files, the client's libraries), a
.reg file for regedit with the vendor's keys, and a manifest of every file's
MD5. Ad records are encoded here from their layout alone; the queue files
come from queue_fixtures.py. Expected results are written in the tests.

  install_fixtures.py fixtures DIR USER   one folder per scenario in DIR
  install_fixtures.py records DIR         ad record bytes for the record tests
"""
import hashlib
import json
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import queue_fixtures  # noqa: E402

MULTI = 0x1A3
PART = 0x2B


def xor(data):
    value = 0
    for b in data:
        value ^= b
    return value


def cstr(text):
    return text.encode("latin-1") + b"\0"


def ad_record(ad, ident, key=(0x11, 0x22), parts=None, fmt=3000, words=None, strings=None, multi=MULTI, part=PART,
              flags=(0, 0), tens=None, lx=(5, 6), ly=(7,), values=(0x01020304, 0x0506, 0x0708, 0x090A0B0C)):
    """The stored bytes of one ad record. parts: list of dicts with
    items (16-bit values), has_part, sums[item][k], values[item][k], part_sum."""
    parts = parts if parts is not None else []
    words = list(words) if words else [ad, ident, 7, 3, 9, 10]
    strings = strings if strings is not None else ["title", "http://ads.example/1", "s3", "s4", "secret5", "secret6"]
    tens = list(tens) if tens else list(range(1, 11))
    out = struct.pack("<6I", *words)
    out += cstr(strings[0]) + cstr(strings[1])
    out += struct.pack("<II", multi, part)
    for s in strings[2:]:
        out += cstr(s)
    if fmt not in (1, 1000):
        out += struct.pack("<IHHI", *values)
    out += bytes([len(key)]) + bytes(key)
    out += bytes([len(parts)])
    for p in parts:
        out += bytes([p.get("first", 1), p.get("second", 2), len(p["items"]), p.get("has_part", 1)])
        out += b"".join(struct.pack("<H", v) for v in p["items"])
    for p in parts:
        for sums in p["sums"]:
            out += bytes(sums)
        out += bytes([p.get("part_sum", 0)])
    for p in parts:
        for vals in p.get("values", [[0] * len(key)] * len(p["items"])):
            out += b"".join(struct.pack("<H", v) for v in vals)
    out += bytes(flags)
    out += b"".join(struct.pack("<H", v) for v in (tens[:6] if fmt in (1, 1000) else tens))
    if fmt == 3000:
        out += bytes([len(lx)]) + b"".join(struct.pack("<I", v) for v in lx)
        out += bytes([len(ly)]) + b"".join(struct.pack("<I", v) for v in ly)
    return out


def rc_bytes(entries):
    """entries: [(count, type, kind)]; a raw bytes value is written as it is."""
    if isinstance(entries, bytes):
        return entries
    return struct.pack("<I", len(entries)) + b"".join(struct.pack("<3I", *e) for e in entries)


class Ad:
    """An ad in the cache with its files; builds the record that uses them."""

    def __init__(self, number, parts=((2, True), (1, False)), key=(0x11, 0x22)):
        self.number = number
        self.key = key
        self.files = {}  # name -> bytes
        self.parts = []
        for p, (items, has_part) in enumerate(parts, start=1):
            sums, values = [], []
            for i in range(1, items + 1):
                row = []
                for k in key:
                    data = f"multi {number} {k:02x} {p} {i}".encode() * 3
                    self.files[f"{k:02x}{p:02x}{i:04x}.{MULTI:03x}"] = data
                    row.append(xor(data))
                sums.append(row)
                values.append([i * 16 + j for j in range(len(key))])
            part_sum = 0
            if has_part:
                data = f"part {number} {p}".encode() * 5
                self.files[f"{p:02x}.{PART:03x}"] = data
                part_sum = xor(data)
            self.parts.append(dict(items=[100 + i for i in range(items)], has_part=int(has_part), sums=sums,
                                   values=values, part_sum=part_sum))
        # A file of another kind that no record of these tests names.
        self.files[f"ff01{1:04x}.fff"] = b"someone else's"

    def record(self, ident, fmt=3000, **more):
        return ad_record(self.number, ident, key=self.key, parts=self.parts, fmt=fmt, **more)

    def multi_files(self):
        return sorted(n for n in self.files if n.endswith(f".{MULTI:03x}"))

    def part_files(self):
        return sorted(n for n in self.files if n.endswith(f".{PART:03x}"))


def queue_desc(records):
    """records: [(id, bytes, version)] -> a queue_fixtures description."""
    return {"records": [dict(id=i, key=i, flags=1, version=v, data=b.decode("latin-1")) for i, b, v in records],
            "copies": True}


class Install:
    def __init__(self, root, user):
        self.root = root
        self.user = user
        self.tw = os.path.join(root, "Program Files", "Tarnwick")
        self.harbor = os.path.join(self.tw, "AdHaven")
        self.reg = []  # (hive, key, values)
        self.windows = []

    def ad(self, ad, rc):
        folder = os.path.join(self.harbor, "Ads", str(ad.number))
        os.makedirs(folder, exist_ok=True)
        for name, data in ad.files.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)
        if rc is not None:
            with open(os.path.join(folder, "rc"), "wb") as f:
                f.write(rc_bytes(rc))

    def app(self, name, channel=None, pending=(), done=(), keys=True, folder=True, where=None):
        user = os.path.join(self.harbor, "Profiles", name, self.user)
        queues = where or (os.path.join(user, channel) if channel else user)
        if folder:
            os.makedirs(user, exist_ok=True)
            for qname, records in (("Pending", pending), ("Done", done)):
                if records:
                    queue_fixtures.write(os.path.join(queues, qname), queue_desc(records))
        if keys:
            values = {"ChannelID": channel} if channel else {}
            self.key("HKEY_LOCAL_MACHINE", f"SOFTWARE\\Tarnwick, Inc.\\AdHaven\\Channels\\{name}", values)
            self.key("HKEY_CURRENT_USER", f"SOFTWARE\\Tarnwick, Inc.\\Applications\\{name}", {"Path": "x"})
            self.key("HKEY_LOCAL_MACHINE", f"SOFTWARE\\Tarnwick, Inc.\\TwAdBot\\Clients\\{name}", {"On": "1"})
            self.key("HKEY_CURRENT_USER", f"SOFTWARE\\Tarnwick, Inc.\\TwAdBot\\Clients\\{name}\\Deeper", {"On": "1"})
            self.key("HKEY_CURRENT_USER", f"SOFTWARE\\Tarnwick, Inc.\\Bootstrap\\{name}", {"Seen": "1"})

    def key(self, hive, path, values):
        self.reg.append((hive, path, values))

    def client(self, run_value=True, libraries=True, folders=True):
        if folders:
            os.makedirs(self.harbor, exist_ok=True)
        if run_value:
            self.key("HKEY_LOCAL_MACHINE", "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                     {"Tarnwick Ad Client": "C:\\TwAdBot.exe"})
        if libraries:
            self.windows = ["TwAd.dll", "QdNetDetect.dll", "ZhkDLL.dll"]

    def finish(self):
        os.makedirs(self.root, exist_ok=True)
        lines = ["REGEDIT4", ""]
        for hive, path, values in self.reg:
            lines.append(f"[{hive}\\{path}]")
            for name, value in values.items():
                lines.append(f'"{name}"="{value}"')
            lines.append("")
        with open(os.path.join(self.root, "install.reg"), "w", newline="\r\n") as f:
            f.write("\n".join(lines) + "\n")
        libs = os.path.join(self.root, "Windows")
        os.makedirs(libs, exist_ok=True)
        for name in self.windows:
            with open(os.path.join(libs, name), "wb") as f:
                f.write(b"MZ library " + name.encode())
        manifest = []
        for folder, _, files in os.walk(self.root):
            for name in files:
                path = os.path.join(folder, name)
                rel = os.path.relpath(path, self.root).replace(os.sep, "\\")
                if rel in ("manifest.txt", "install.reg") or os.path.islink(path):
                    continue
                manifest.append(f"{hashlib.md5(open(path, 'rb').read()).hexdigest()} {rel}")
        with open(os.path.join(self.root, "manifest.txt"), "w") as f:
            f.write("\n".join(sorted(manifest)) + "\n")


def ads_main():
    return {n: Ad(n) for n in range(101, 111)}


def scenario_main(root, user):
    """Vessa (channel C100), Other (no channel), Keep (keys only), shared ads."""
    inst = Install(root, user)
    ads = ads_main()
    a = ads
    full = lambda ad, c=1: [(c, 0, MULTI), (c, 1, PART)]  # noqa: E731
    inst.ad(a[101], full(a[101]))                          # Vessa Done only: goes whole
    inst.ad(a[102], full(a[102], 2))                       # Vessa Done and Other Done: stays
    inst.ad(a[103], full(a[103]) + [(3, 0, 0x999)])        # released, another family holds the folder
    inst.ad(a[104], [(0, 0, MULTI), (1, 1, PART)])         # Pending, flag A: multi files go
    inst.ad(a[105], [(0, 0, MULTI), (1, 1, PART)])         # Pending, no flags: nothing goes
    inst.ad(a[106], [(0, 0, MULTI), (0, 1, PART)])         # Pending, nothing counted: goes whole
    inst.ad(a[107], full(a[107]))                          # format 1000 Done: goes whole
    inst.ad(a[108], full(a[108]) + [(5, 0, MULTI)])        # a duplicate entry: nothing goes
    inst.ad(a[109], full(a[109]))                          # exponent 18: does not parse
    inst.ad(a[110], full(a[110]))                          # Other's only
    # Read-only cached files go as the others do.
    for number, name in ((101, "11010001.1a3"), (103, "11010001.1a3"), (103, "01.02b"), (104, "22020001.1a3")):
        os.chmod(os.path.join(inst.harbor, "Ads", str(number), name), 0o444)
    inst.app("Vessa", channel="C100",
             done=[(1, a[101].record(1), 3000), (2, a[102].record(2), 3000), (3, a[103].record(3), 3000),
                   (7, a[107].record(7, fmt=1000, words=[107, 7, 1, 4, 5, 6]), 1000),
                   (8, a[108].record(8), 3000),
                   (9, a[109].record(9, fmt=1000, words=[109, 9, 1, 18, 5, 6]), 1000)],
             pending=[(4, a[104].record(4, flags=(1, 0)), 3000), (5, a[105].record(5, tens=[0] * 10), 3000),
                      (6, a[106].record(6), 3000)])
    inst.app("Other", done=[(2, a[102].record(2), 3000), (10, a[110].record(10), 3000)])
    inst.app("Keep", folder=False)
    inst.client()
    inst.finish()


def scenario_last(root, user):
    """Vessa alone: the client goes with it."""
    inst = Install(root, user)
    ad = Ad(201)
    inst.ad(ad, [(1, 0, MULTI), (1, 1, PART)])
    inst.app("Vessa", channel="C7", done=[(1, ad.record(1), 3000)])
    inst.client()
    inst.finish()


def scenario_run_only(root, user):
    """Nothing but the Run value."""
    inst = Install(root, user)
    inst.client(libraries=False, folders=False)
    inst.finish()


def scenario_simple(root, user, name="Vessa", channel="C1"):
    """One application besides Other, one ad: for runs twice and command lines."""
    inst = Install(root, user)
    ad = Ad(301)
    inst.ad(ad, [(2, 0, MULTI), (2, 1, PART)])
    inst.app(name, channel=channel, done=[(1, ad.record(1), 3000)])
    inst.app("Other", keys=True, folder=True)
    inst.client(libraries=False)
    inst.finish()


def scenario_links(root, user):
    """Links out of the vendor tree: inside the application's folder, as an
    ad folder, and an application folder that is itself a link."""
    inst = Install(root, user)
    outside = os.path.join(root, "Outside")
    for sub in ("Inside", "Ad", "App"):
        os.makedirs(os.path.join(outside, sub), exist_ok=True)
        with open(os.path.join(outside, sub, "precious.txt"), "w") as f:
            f.write("keep me")
    ad = Ad(401)
    inst.ad(Ad(402), [(1, 0, MULTI), (1, 1, PART)])
    inst.app("Vessa", channel="C1",
             done=[(1, ad.record(1), 3000), (2, Ad(402).record(2), 3000), (3, Ad(403).record(3), 3000)])
    inst.app("Linked", keys=True, folder=False)
    inst.app("Other")
    ads = os.path.join(inst.harbor, "Ads")
    # Ad 401's folder is a link to Outside\Ad, its rc file inside with counts of 1.
    with open(os.path.join(outside, "Ad", "rc"), "wb") as f:
        f.write(rc_bytes([(1, 0, MULTI), (1, 1, PART)]))
    for name, data in ad.files.items():
        with open(os.path.join(outside, "Ad", name), "wb") as f:
            f.write(data)
    os.symlink(os.path.join(outside, "Ad"), os.path.join(ads, "401"))
    os.symlink(os.path.join(outside, "Inside"),
               os.path.join(inst.harbor, "Profiles", "Vessa", user, "Shortcut"))
    os.symlink(os.path.join(outside, "App"), os.path.join(inst.harbor, "Profiles", "Linked"))
    # Links to files, which Wine shows as plain files: one in the user folder,
    # one among ad 402's files (released whole), and ad 403's rc file.
    victims = os.path.join(outside, "Files")
    os.makedirs(victims, exist_ok=True)
    for name in ("user.txt", "multi.txt", "rc403"):
        with open(os.path.join(victims, name), "wb") as f:
            f.write(rc_bytes([(1, 0, MULTI), (1, 1, PART)]) if name == "rc403" else b"keep me too")
    os.symlink(os.path.join(victims, "user.txt"), os.path.join(inst.harbor, "Profiles", "Vessa", user, "flink.txt"))
    ad402 = os.path.join(ads, "402")
    os.remove(os.path.join(ad402, "11010001.1a3"))
    os.symlink(os.path.join(victims, "multi.txt"), os.path.join(ad402, "11010001.1a3"))
    ad403 = Ad(403)
    inst.ad(ad403, None)
    os.symlink(os.path.join(victims, "rc403"), os.path.join(ads, "403", "rc"))
    inst.client(libraries=False)
    inst.finish()


def scenario_bad_channel(root, user):
    """A channel id that climbs out of the user folder, to queues placed there."""
    inst = Install(root, user)
    ad = Ad(501)
    inst.ad(ad, [(1, 0, MULTI), (1, 1, PART)])
    app_folder = os.path.join(inst.harbor, "Profiles", "Vessa")
    inst.app("Vessa", channel="..", done=[(1, ad.record(1), 3000)], where=app_folder)
    inst.app("Other")
    inst.client(libraries=False)
    inst.finish()


SCENARIOS = {
    "main": scenario_main,
    "last": scenario_last,
    "run_only": scenario_run_only,
    # Without a channel id the queues are found again once the keys are gone.
    "twice": lambda root, user: scenario_simple(root, user, channel=None),
    "upper": scenario_simple,
    "spaces": lambda root, user: scenario_simple(root, user, "Ves sa"),
    "dashname": lambda root, user: scenario_simple(root, user, "-noerrorgui"),
    "toolong": scenario_simple,
    "held": scenario_simple,
    "deaf": scenario_simple,
    "links": scenario_links,
    "bad_channel": scenario_bad_channel,
}


def records(folder):
    """Record bytes for the record tests: NAME.bin with NAME.json (entry version)."""
    os.makedirs(folder, exist_ok=True)
    ad = Ad(77, parts=((2, True), (1, False)))
    samples = {
        "current": (ad.record(0x1234, flags=(1, 2), lx=(5, 6), ly=(7,)), 3000),
        "f1000": (ad.record(0x55, fmt=1000, words=[77, 0x55, 1, 4, 5, 6]), 1000),
        "f1": (ad.record(0x56, fmt=1, words=[77, 0x56, 1, 17, 5, 6]), 1),
        "f2000": (ad.record(0x57, fmt=2000), 2000),
        "f2500": (ad.record(0x58, fmt=2500), 2500),
        "exp18": (ad.record(0x59, fmt=1000, words=[77, 0x59, 1, 18, 5, 6]), 1000),
        "empty": (ad_record(78, 1, key=(), parts=[], strings=[""] * 6, lx=(), ly=()), 3000),
    }
    for name, (data, version) in samples.items():
        with open(os.path.join(folder, name + ".bin"), "wb") as f:
            f.write(data)
        with open(os.path.join(folder, name + ".json"), "w") as f:
            json.dump({"version": version}, f)
    # The cached files of ad 77 for VerifyFiles.
    cache = os.path.join(folder, "Ads", "77")
    os.makedirs(cache, exist_ok=True)
    for name, data in ad.files.items():
        with open(os.path.join(cache, name), "wb") as f:
            f.write(data)


def main(argv):
    if len(argv) == 4 and argv[1] == "fixtures":
        for name, make in SCENARIOS.items():
            make(os.path.join(argv[2], name), argv[3])
    elif len(argv) == 3 and argv[1] == "records":
        records(argv[2])
    else:
        print(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
