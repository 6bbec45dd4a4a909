#!/usr/bin/env bash
# The Debian package as a user installs it: its layout, its desktop entry and
# metadata, man pages, completion, and a program that answers.
# Usage: package_test.sh RELEASE_BUILD_DIR VERSION
set -uo pipefail
build=$1 version=$2
deb="$build/plorix_${version}-1_$(dpkg --print-architecture).deb"
passes=0 failures=0
check() {  # check "what" command...
    local what=$1; shift
    if "$@"; then echo "ok: $what"; passes=$((passes + 1))
    else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
if [ ! -f "$deb" ]; then
    echo "FAILED: no package at $deb (scripts/package builds it)"
    echo "0 passed, 1 failed"
    exit 1
fi
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"

for f in usr/bin/plorix usr/bin/plorix-cli usr/bin/KillProc usr/bin/PXMsg \
         usr/share/plorix/KEYCODES.TXT usr/share/plorix/help/index.html \
         usr/share/applications/plorix.desktop usr/share/icons/hicolor/scalable/apps/plorix.svg \
         usr/share/metainfo/org.plorix.Plorix.metainfo.xml \
         usr/share/man/man1/plorix.1.gz usr/share/man/man1/plorix-cli.1.gz \
         usr/share/bash-completion/completions/plorix-cli \
         usr/share/zsh/vendor-completions/_plorix-cli \
         usr/share/fish/vendor_completions.d/plorix-cli.fish \
         usr/share/dbus-1/interfaces/org.plorix.Plorix1.xml \
         usr/lib/systemd/user/plorix-headless.service \
         usr/share/doc/plorix/copyright; do
    check "$f installed" test -e "$root/$f"
done
check "nothing in bin but programs" test -z "$(find "$root/usr/bin" -type f ! -perm -u+x)"
check "the package depends on the libraries it links" \
    sh -c "dpkg-deb -f '$deb' Depends | grep -q libsqlcipher"
check "desktop entry is valid" desktop-file-validate "$root/usr/share/applications/plorix.desktop"
check "the user service runs the installed program headless" \
    grep -qx "ExecStart=plorix --headless" "$root/usr/lib/systemd/user/plorix-headless.service"
check "AppStream metadata is valid" appstreamcli validate --no-net --pedantic --explain \
    "$root/usr/share/metainfo/org.plorix.Plorix.metainfo.xml"
for page in plorix plorix-cli; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    check "man page $page renders without warnings" test -z "$warnings"
    [ -z "$warnings" ] || echo "$warnings"
done
check "plorix-cli --version answers" \
    sh -c "'$root/usr/bin/plorix-cli' --version | grep -qx 'plorix-cli $version'"
check "plorix --version answers without a display" \
    sh -c "env -u DISPLAY '$root/usr/bin/plorix' --version | grep -qx 'plorix $version'"

# The completion offers the table names after "list ".
offered=$(PATH="$root/usr/bin:$PATH" bash -c '
    source /usr/share/bash-completion/bash_completion
    source "$1/usr/share/bash-completion/completions/plorix-cli"
    COMP_WORDS=(plorix-cli list ""); COMP_CWORD=2; COMP_LINE="plorix-cli list "; COMP_POINT=${#COMP_LINE}
    _plorix_cli plorix-cli "" list
    printf "%s\n" "${COMPREPLY[@]}"' _ "$root")
check "bash completion offers the tables after list" sh -c "echo '$offered' | grep -qx Schedule && echo '$offered' | grep -qx Todo"
offered=$(PATH="$root/usr/bin:$PATH" bash -c '
    source /usr/share/bash-completion/bash_completion
    source "$1/usr/share/bash-completion/completions/plorix-cli"
    COMP_WORDS=(plorix-cli add Todo TDO:PRI); COMP_CWORD=3; COMP_LINE="plorix-cli add Todo TDO:PRI"; COMP_POINT=${#COMP_LINE}
    _plorix_cli plorix-cli TDO:PRI Todo
    printf "%s\n" "${COMPREPLY[@]}"' _ "$root")
check "bash completion offers field names after add TABLE" sh -c "echo '$offered' | grep -qx 'TDO:PRIORITY='"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
