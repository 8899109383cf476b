"""install-deps.sh's decisions on a mirror caught mid-sync, from canned `apt-get update` and
`apt-get install` outputs; nothing here touches the network or apt."""
import pathlib
import subprocess
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "scripts"))
import apt_sync  # noqa: E402

SECURITY_I386 = """\
E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 203.0.113.80 80]
   Hashes of expected file:
    - Filesize:376004 [weak]
E: Some index files failed to download. They have been ignored, or old ones used instead.
"""
BOTH_ARCHS = SECURITY_I386 + SECURITY_I386.replace("binary-i386", "binary-amd64")
UPDATES_AMD64_WARNING = (
    "W: Failed to fetch http://deb.debian.org/debian/dists/bookworm-updates/main/binary-amd64/Packages.xz"
    "  Hash Sum mismatch\n")
HELD = """\
Some packages could not be installed. This may mean that you have
The following packages have unmet dependencies:
 wine32:i386 : Depends: libwine:i386 (= 8.0~repack-4) but it is not going to be installed
 libc6:i386 : Breaks: libc6 (!= 2.36-9+deb12u10) but 2.36-9+deb12u13 is to be installed
E: Unable to correct problems, you have held broken packages.
"""


def test_which_index_failed_and_what_is_pinned():
    archs = ["amd64", "i386"]
    cases = [
        ("", [], []),
        ("Hit:1 http://deb.debian.org/debian bookworm InRelease\n", [], []),
        (SECURITY_I386, [("bookworm-security", "main", "i386")], ["bookworm-security"]),
        # Failed for every architecture: both see the same versions, nothing to pin.
        (BOTH_ARCHS, [("bookworm-security", "main", "i386"), ("bookworm-security", "main", "amd64")], []),
        (SECURITY_I386 + SECURITY_I386, [("bookworm-security", "main", "i386")], ["bookworm-security"]),
        (SECURITY_I386 + UPDATES_AMD64_WARNING,
         [("bookworm-security", "main", "i386"), ("bookworm-updates", "main", "amd64")],
         ["bookworm-security", "bookworm-updates"]),
    ]
    for log, failed, pinned in cases:
        assert apt_sync.failed_indexes(log) == failed, log
        assert apt_sync.suites_to_pin(failed, archs) == pinned, log
    # One architecture only (no i386 added yet): its own failure leaves nothing to differ from.
    assert apt_sync.suites_to_pin(apt_sync.failed_indexes(SECURITY_I386), ["i386"]) == []


def test_plan_writes_the_pin_only_when_archives_differ(tmp_path):
    def plan(log, archs):
        (tmp_path / "update").write_text(log)
        pin = tmp_path / "pin"
        pin.unlink(missing_ok=True)
        out = subprocess.run([sys.executable, apt_sync.__file__, "plan", str(tmp_path / "update"), archs, str(pin)],
                             capture_output=True, text=True, check=True).stdout
        return out, pin.read_text() if pin.exists() else None

    out, pin = plan(SECURITY_I386, "amd64,i386")
    assert out.count("\n") == 1 and "bookworm-security main i386" in out and "pinned" in out
    assert "Package: *\nPin: release n=bookworm-security\nPin-Priority: 100\n" in pin
    out, pin = plan(BOTH_ARCHS, "amd64,i386")
    assert pin is None and "installing from what was read" in out
    assert plan("Hit:1 http://deb.debian.org/debian bookworm InRelease\n", "amd64,i386") == ("", None)


def test_a_failed_install_names_the_package_and_the_sync():
    message = apt_sync.explain(SECURITY_I386, HELD)
    assert message.startswith("install-deps: cannot install wine32:i386 (Depends: libwine:i386")
    assert "mid-sync (bookworm-security main i386" in message
    assert apt_sync.explain("", HELD).endswith("but it is not going to be installed)")
    assert apt_sync.explain("", "E: Unable to locate package nothing\n") == "install-deps: the install failed"
