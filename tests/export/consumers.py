#!/usr/bin/env python3
"""zolt export's files read back by programs that no one here wrote, for three images: three
words at 0, 256 words that start high ($ff00) and end at the top, and all 65,536 words.

  srec_cat  srecord's srec_cmp reads Intel HEX (bytes, per chip and as words), S-records, MIF
            and the $readmemh text and compares them with the image's bytes; srec_cat itself
            builds the chip and word binaries that bin must equal byte for byte
  iverilog  Icarus Verilog loads the $readmemh file into a 16-bit memory and prints every word
  logisim   Logisim 2.7.1, headless, loads the v2.0 raw file with -load and a small circuit
            reads every address and prints the words with -tty table

Exits 77 (a skipped test for ctest) when the consumer is not installed.
usage: consumers.py srec_cat|iverilog|logisim ZOLT"""
import os
import random
import shutil
import subprocess
import sys
import tempfile

SKIPPED = 77


def images():
    rng = random.Random(15)

    def words(count):
        # No four equal words in a row: srec_cat misreads MIF ranges (see check_mif).
        out = []
        while len(out) < count:
            word = rng.randrange(0x10000)
            if out[-3:] != [word] * 3:
                out.append(word)
        return out

    return [("three", 0x0000, [0x0001, 0x0002, 0x000F]),
            ("high", 0xFF00, words(256)),
            ("full", 0x0000, words(0x10000))]


def need(*programs):
    missing = [p for p in programs if shutil.which(p) is None]
    if missing:
        print(f"SKIP: {', '.join(missing)} not installed (Debian packages: srecord, iverilog, "
              "logisim)")
        sys.exit(SKIPPED)


class Check:
    def __init__(self, zolt, folder):
        self.zolt = zolt
        self.folder = folder
        self.failures = []

    def path(self, name):
        return os.path.join(self.folder, name)

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data if isinstance(data, bytes) else data.encode())
        return self.path(name)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def crom(self, name, start, words):
        return self.write(name + ".rom",
                          "".join(f"M{start + k:04x}={w:04x}\n" for k, w in enumerate(words)))

    def export(self, source, out, *options):
        run = subprocess.run([self.zolt, "export", *options, "-o", self.path(out), source],
                             capture_output=True, text=True)
        if run.returncode != 0 or run.stderr:
            self.fail(f"zolt export {' '.join(options)}: status {run.returncode}: {run.stderr}")
            return None
        return self.path(out)

    def tool(self, *args):
        return subprocess.run(args, capture_output=True, text=True)

    def fail(self, text):
        self.failures.append(text)
        print("FAIL:", text)


def big_endian(words):
    return b"".join(w.to_bytes(2, "big") for w in words)


def little_endian(words):
    return b"".join(w.to_bytes(2, "little") for w in words)


def srec_cmp(check, what, ours, our_format, expected, offset):
    """srec_cmp reads our file and the expected bytes placed at `offset`; they must hold the same
    bytes at the same addresses, nothing more or less."""
    if ours is None:
        return
    run = check.tool("srec_cmp", ours, *our_format, expected, "-binary", "-offset", str(offset))
    if run.returncode != 0:
        check.fail(f"{what}: srec_cmp: {run.stdout}{run.stderr}")


def check_srec_cat(check):
    for name, start, words in images():
        source = check.crom(name, start, words)
        be = check.write(name + ".be", big_endian(words))
        le = check.write(name + ".le", little_endian(words))
        hi = check.write(name + ".hi", bytes(w >> 8 for w in words))
        lo = check.write(name + ".lo", bytes(w & 0xFF for w in words))

        srec_cmp(check, f"{name} ihex", check.export(source, name + ".hex", "-f", "ihex"),
                 ["-Intel"], be, 2 * start)
        srec_cmp(check, f"{name} srec", check.export(source, name + ".srec", "-f", "srec"),
                 ["-Motorola"], be, 2 * start)
        for chip, half in (("high", hi), ("low", lo)):
            srec_cmp(check, f"{name} ihex {chip}",
                     check.export(source, f"{name}.{chip}.hex", "-f", "ihex", "--chip", chip),
                     ["-Intel"], half, start)
            srec_cmp(check, f"{name} srec {chip}",
                     check.export(source, f"{name}.{chip}.srec", "-f", "srec", "--chip", chip),
                     ["-Motorola"], half, start)
        srec_cmp(check, f"{name} readmemh",
                 check.export(source, name + ".mem", "-f", "readmemh"), ["-VMem"], be, 2 * start)
        check_ihex_words(check, name, source, start, le)
        check_mif(check, name, source, start, words, le)
        check_bin(check, name, source, start, words, hi, lo)


def check_ihex_words(check, name, source, start, le):
    """Quartus's word-addressed HEX counts the bytes of a record, srec_cat's INHX16 counts its
    words; the two differ in nothing else. Each record's count and checksum are checked here,
    then the counts are restated in words for srec_cat to read the addresses and words."""
    ours = check.export(source, name + ".words.hex", "-f", "ihex-words")
    if ours is None:
        return
    restated = []
    for line in check.read(name + ".words.hex").decode().splitlines():
        record = bytes.fromhex(line[1:])
        if sum(record) & 0xFF != 0 or (record[3] == 0 and record[0] != 2):
            check.fail(f"{name} ihex-words: bad record {line}")
            return
        if record[3] == 0:
            record = bytes([1]) + record[1:-1]
            record += bytes([-sum(record) & 0xFF])
        restated.append(":" + record.hex().upper())
    inhx16 = check.write(name + ".inhx16", "\n".join(restated) + "\n")
    # srec_cat lays each INHX16 word down little-endian.
    srec_cmp(check, f"{name} ihex-words", inhx16, ["-INtel_HeX_16"], le, 2 * start)


def check_mif(check, name, source, start, words, le):
    """srec_cat 1.64 reads a 16-bit MIF's words little-endian (its manual says big-endian, and it
    writes them big-endian), and reads a range "[a..b]" at byte address a and only when it spans
    fewer than 128 words. So the image is given without runs, and the one range that covers the
    words below a high start is checked here and left out for srec_cat."""
    if check.export(source, name + ".mif", "-f", "mif") is None:
        return
    lines = check.read(name + ".mif").decode().splitlines()
    if lines[0] != f"DEPTH = {start + len(words)};":
        check.fail(f"{name} mif: {lines[0]}")
    if start > 0:
        filler = f"[0000..{start - 1:04x}] : 0000;"
        if filler not in lines:
            check.fail(f"{name} mif: no line {filler}")
            return
        lines.remove(filler)
    readable = check.write(name + ".readable.mif", "\n".join(lines) + "\n")
    srec_cmp(check, f"{name} mif", readable, ["-Memory_Initialization_File"], le, 2 * start)


def check_bin(check, name, source, start, words, hi, lo):
    """srec_cat builds each chip (the image's byte at its address modulo the chip's size, the
    rest filled) and the interleaved words; bin must give the same files."""
    chip_size = 65536 if name == "full" else 32768
    for chip, half in (("high", hi), ("low", lo)):
        ours = check.export(source, f"{name}.{chip}.bin", "-f", "bin", "--chip", chip,
                            "--size", "27512" if chip_size == 65536 else "28C256")
        expected = check.path(f"{name}.{chip}.expected")
        check.tool("srec_cat", half, "-binary", "-offset", str(start % chip_size),
                   "-fill", "0xFF", "0", str(chip_size), "-o", expected, "-binary")
        if ours is not None and check.read(f"{name}.{chip}.bin") != check.read(
                f"{name}.{chip}.expected"):
            check.fail(f"{name} bin {chip}: not the chip srec_cat builds")
    for endian, swap in (("big", []), ("little", ["-byte-swap", "2"])):
        ours = check.export(source, f"{name}.{endian}.bin", "-f", "bin", "--endian", endian)
        expected = check.path(f"{name}.{endian}.expected")
        if len(words) > 1024:
            # srec_cat takes minutes to interleave 64 KiB; the words' bytes are compared at
            # their addresses instead.
            srec_cmp(check, f"{name} bin {endian}-endian", ours, ["-binary", *swap],
                     check.path(f"{name}.be"), 0)
            continue
        check.tool("srec_cat", "(", hi, "-binary", "-unsplit", "2", "0", lo, "-binary",
                   "-unsplit", "2", "1", ")", *swap, "-offset", str(2 * start), "-fill", "0xFF",
                   "0", str(2 * (start + len(words))), "-o", expected, "-binary")
        if ours is not None and check.read(f"{name}.{endian}.bin") != check.read(
                f"{name}.{endian}.expected"):
            check.fail(f"{name} bin {endian}-endian: not the words srec_cat interleaves")


def check_iverilog(check):
    for name, start, words in images():
        source = check.crom(name, start, words)
        if check.export(source, name + ".mem", "-f", "readmemh") is None:
            continue
        last = start + len(words) - 1
        bench = check.write(name + ".v", f"""module bench;
  reg [15:0] memory [0:65535];
  integer a;
  initial begin
    $readmemh("{check.path(name + '.mem')}", memory);
    for (a = {start}; a <= {last}; a = a + 1) $display("%h", memory[a]);
    $finish;
  end
endmodule
""")
        compiled = check.path(name + ".vvp")
        run = check.tool("iverilog", "-o", compiled, bench)
        if run.returncode != 0:
            check.fail(f"{name}: iverilog: {run.stderr}")
            continue
        run = check.tool("vvp", "-n", compiled)
        shown = [int(line, 16) for line in run.stdout.split()]
        if run.returncode != 0 or "WARNING" in run.stdout + run.stderr or shown != words:
            check.fail(f"{name}: vvp printed other words: {run.stderr}")


# Logisim's -load fills RAM components only, never a ROM, so the circuit holds a RAM that it
# only reads: a counter walks the addresses on the clock's falling edges, the clock also drives
# the RAM's clock input so that it shows address 0 once the file is loaded, and the counter's
# carry at the last address is the "halt" pin that ends the run.
CIRCUIT = """<?xml version="1.0" encoding="UTF-8" standalone="no"?>
<project source="2.7.1" version="1.0">
  <lib desc="#Wiring" name="0"/>
  <lib desc="#Memory" name="4"/>
  <main name="main"/>
  <circuit name="main">
    <a name="circuit" val="main"/>
    <wire from="(180,120)" to="(180,160)"/>
    <wire from="(180,160)" to="(270,160)"/>
    <wire from="(270,160)" to="(270,140)"/>
    <comp lib="0" loc="(180,120)" name="Clock"/>
    <comp lib="4" loc="(200,100)" name="Counter">
      <a name="width" val="16"/>
      <a name="max" val="0x{last:x}"/>
      <a name="trigger" val="falling"/>
    </comp>
    <comp lib="4" loc="(340,100)" name="RAM">
      <a name="addrWidth" val="16"/>
      <a name="dataWidth" val="16"/>
    </comp>
    <comp lib="0" loc="(200,100)" name="Pin">
      <a name="facing" val="west"/><a name="output" val="true"/>
      <a name="width" val="16"/><a name="label" val="addr"/>
    </comp>
    <comp lib="0" loc="(340,100)" name="Pin">
      <a name="facing" val="west"/><a name="output" val="true"/>
      <a name="width" val="16"/><a name="label" val="data"/>
    </comp>
    <comp lib="0" loc="(200,110)" name="Pin">
      <a name="facing" val="west"/><a name="output" val="true"/><a name="label" val="halt"/>
    </comp>
  </circuit>
</project>
"""


def check_logisim(check):
    jar = os.path.realpath(shutil.which("logisim"))
    for name, start, words in images():
        source = check.crom(name, start, words)
        image = check.export(source, name + ".hex", "-f", "logisim")
        if image is None:
            continue
        last = start + len(words) - 1
        circuit = check.write(name + ".circ", CIRCUIT.replace("{last:x}", f"{last:x}"))
        run = check.tool("java", "-Djava.awt.headless=true", f"-Duser.home={check.folder}",
                         "-jar", jar, circuit, "-tty", "table", "-load", image)
        # Each row: the address and the word, in binary with a blank between nibbles; the last
        # row shown for an address is the word once it has settled.
        seen = {}
        for row in run.stdout.splitlines():
            address, data = (int(field.replace(" ", ""), 2) for field in row.split("\t"))
            seen[address] = data
        expected = {a: (words[a - start] if a >= start else 0) for a in range(last + 1)}
        if run.returncode != 0 or seen != expected:
            wrong = [a for a in expected if seen.get(a) != expected[a]][:3]
            check.fail(f"{name}: Logisim read other words, first at {wrong}: {run.stderr}")


def main():
    consumer, zolt = sys.argv[1], sys.argv[2]
    consumers = {"srec_cat": (("srec_cat", "srec_cmp"), check_srec_cat),
                 "iverilog": (("iverilog", "vvp"), check_iverilog),
                 "logisim": (("logisim", "java"), check_logisim)}
    programs, run = consumers[consumer]
    need(*programs)
    with tempfile.TemporaryDirectory(prefix="zolt-export-") as folder:
        check = Check(zolt, folder)
        run(check)
    if check.failures:
        sys.exit(f"{len(check.failures)} failed")
    print(f"{consumer} read every file as the image")


if __name__ == "__main__":
    main()
