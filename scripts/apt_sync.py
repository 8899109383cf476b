#!/usr/bin/env python3
"""What install-deps.sh does when `apt-get update` could not read every index.

A package mirror caught mid-sync fails an index now and then ("File has unexpected size ...
Mirror sync in progress?"). When one architecture's index of an archive fails and another's
comes through, apt's candidates differ between the architectures (the one that read the archive
takes its newer versions, the other only the main archive's), and multiarch libraries, which must
have one version in both, cannot be installed. Pinning that archive below the default for the
install makes both architectures take the versions both can reach.

  apt_sync.py plan UPDATE_LOG ARCH[,ARCH...] PIN_FILE
      Writes PIN_FILE (apt preferences) when an archive needs pinning, and prints one line saying
      what was decided; prints nothing when every index was read.
  apt_sync.py explain UPDATE_LOG INSTALL_LOG
      Prints why the install failed: which package, and the mirror's sync where an index failed.
"""
import re
import sys

# ".../dists/<suite>/<component>/binary-<arch>/Packages.xz" in apt's "Failed to fetch" lines.
_FAILED = re.compile(r"Failed to fetch \S*/dists/(?P<suite>[^/\s]+)/(?P<component>[^/\s]+)/binary-(?P<arch>[^/\s]+)/")
# " wine32:i386 : Depends: libwine:i386 (= 8.0~repack-4) but it is not going to be installed"
_UNMET = re.compile(r"^\s*(?P<package>[^\s:]+(?::[^\s:]+)?) : (?P<why>(?:Pre)?Depends: .*|Breaks: .*|Conflicts: .*)$")


def failed_indexes(update_log):
    """The (suite, component, arch) indexes apt could not fetch, in order, without repeats."""
    seen = []
    for match in _FAILED.finditer(update_log):
        index = (match["suite"], match["component"], match["arch"])
        if index not in seen:
            seen.append(index)
    return seen


def suites_to_pin(failed, archs):
    """Suites one architecture read while another failed it: their candidates differ."""
    suites = []
    for suite in dict.fromkeys(s for s, _, _ in failed):
        failed_archs = {a for s, _, a in failed if s == suite}
        if any(a not in failed_archs for a in archs) and suite not in suites:
            suites.append(suite)
    return suites


def pin_file_text(suites):
    blocks = [f"Package: *\nPin: release n={suite}\nPin-Priority: 100\n" for suite in suites]
    return "# Written by install-deps.sh for one install and removed after it.\n" + "\n".join(blocks)


def plan_line(failed, suites):
    if not failed:
        return ""
    names = ", ".join(f"{s} {c} {a}" for s, c, a in failed)
    if not suites:
        return f"install-deps: the mirror is mid-sync ({names} not read); installing from what was read"
    return (f"install-deps: the mirror is mid-sync ({names} not read); installing the versions every "
            f"architecture can reach ({', '.join(suites)} pinned below the default for this install)")


def failed_package(install_log):
    """The first package apt could not install and why, or None."""
    for line in install_log.splitlines():
        match = _UNMET.match(line)
        if match:
            return match["package"], match["why"].strip()
    return None


def explain(update_log, install_log):
    failed = failed_indexes(update_log)
    found = failed_package(install_log)
    what = f"cannot install {found[0]} ({found[1]})" if found else "the install failed"
    if failed:
        names = ", ".join(f"{s} {c} {a}" for s, c, a in failed)
        return (f"install-deps: {what}: the package mirror is caught mid-sync ({names} could not be "
                f"read); try again in a few minutes")
    return f"install-deps: {what}"


def main(argv):
    if len(argv) == 5 and argv[1] == "plan":
        with open(argv[2], encoding="utf-8", errors="replace") as f:
            failed = failed_indexes(f.read())
        suites = suites_to_pin(failed, [a for a in argv[3].split(",") if a])
        if suites:
            with open(argv[4], "w", encoding="utf-8") as f:
                f.write(pin_file_text(suites))
        line = plan_line(failed, suites)
        if line:
            print(line)
        return 0
    if len(argv) == 4 and argv[1] == "explain":
        with open(argv[2], encoding="utf-8", errors="replace") as f:
            update_log = f.read()
        with open(argv[3], encoding="utf-8", errors="replace") as f:
            install_log = f.read()
        print(explain(update_log, install_log))
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
