#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and checks what a desktop and a user meet there:
# the layout, the desktop entry, metainfo and MIME type as their validators see them, the
# Datafile type as the desktop's MIME lookup sees it, the manual pages as man shows them, and
# the installed kelvor-cli working on an installed example with its own share folder.
# Usage: install_test.sh BUILD_FOLDER APPLICATION_ID VERSION
set -euo pipefail
build=$(cd "$1" && pwd)
id=$2
version=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >/dev/null

# Layout: every file where the desktop and the programs look for it.
for file in bin/kelvor2007 bin/kelvor-cli \
    share/kelvor2007/KELVOR.RTF share/kelvor2007/GRAPHS.PDF \
    share/kelvor2007/examples/INDEX.TXT share/kelvor2007/examples/SKLOWPAS.DAT \
    "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
    "share/mime/packages/$id.xml" "share/icons/hicolor/scalable/apps/$id.svg" \
    share/man/man1/kelvor-cli.1.gz share/man/man1/kelvor2007.1.gz \
    share/bash-completion/completions/kelvor-cli share/doc/kelvor2007/copyright; do
    [ -s "$prefix/$file" ] || fail "missing or empty: $file"
done
[ "$(ls "$prefix/bin")" = "$(printf 'kelvor-cli\nkelvor2007')" ] ||
    fail "bin holds more than the two programs: $(ls "$prefix/bin" | tr '\n' ' ')"
# The theme's PNGs: a real picture of the size its folder names (read from the PNG header).
for size in 16 22 24 32 48 64 128 256; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    dimensions=$(od -An -tu1 -j16 -N8 "$png" 2>/dev/null |
        awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}')
    [ "$dimensions" = "${size}x${size}" ] || fail "icon $png is '$dimensions', not ${size}x${size}"
done

# The validators of the desktop's own tools.
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
grep -qx 'Exec=kelvor2007 --desktop %f' "$prefix/share/applications/$id.desktop" ||
    fail "the desktop entry does not start kelvor2007 --desktop %f"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$id.metainfo.xml" >"$work/as.txt" ||
    { cat "$work/as.txt" >&2; fail "appstreamcli validate"; }
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$id.metainfo.xml" ||
    fail "the metainfo's release is not $version"

# The Datafile type: registered without complaint, given to a Datafile by its contents whatever
# its name, and not to another program's .dat file.
mkdir -p "$work/mime"
cp -r "$prefix/share/mime/packages" "$work/mime/"
XDG_DATA_DIRS="$work:/usr/share" update-mime-database "$work/mime" 2>"$work/mime.err" ||
    fail "update-mime-database"
[ -s "$work/mime.err" ] && { cat "$work/mime.err" >&2; fail "update-mime-database complained"; }
if command -v gio >/dev/null; then
    cp "$prefix/share/kelvor2007/examples/SKLOWPAS.DAT" "$work/upper.DAT"
    cp "$prefix/share/kelvor2007/examples/SKLOWPAS.DAT" "$work/lower.dat"
    printf 'time,volts\n0,1.5\n1,1.7\n' >"$work/logger.dat"
    head -c 600 /dev/urandom >"$work/binary.dat"
    type_of() {
        XDG_DATA_DIRS="$work:/usr/share" XDG_DATA_HOME="$work/none" \
            gio info -a standard::content-type "$1" | sed -n 's/.*standard::content-type: //p'
    }
    cp "$prefix/share/kelvor2007/examples/SKLOWPAS.DAT" "$work/no-extension"
    for file in upper.DAT lower.dat no-extension; do
        [ "$(type_of "$work/$file")" = application/x-kelvor-datafile ] ||
            fail "$file is $(type_of "$work/$file"), not a Datafile"
    done
    for file in logger.dat binary.dat; do
        [ "$(type_of "$work/$file")" != application/x-kelvor-datafile ] ||
            fail "$file, not a Datafile, is claimed as one"
    done
else
    echo "gio is missing: the Datafile type's detection was not checked" >&2
fi

# The manual pages as man shows them: every command of the tool, its exit statuses, examples.
export MANWIDTH=100
man -l "$prefix/share/man/man1/kelvor-cli.1.gz" >"$work/cli.txt" 2>"$work/man.err" ||
    fail "man -l kelvor-cli.1.gz"
[ -s "$work/man.err" ] && { cat "$work/man.err" >&2; fail "man warned about kelvor-cli.1"; }
commands=$("$prefix/bin/kelvor-cli" --help | sed -n '/^commands:/,/^$/s/^  \([a-z][a-z]*\) .*/\1/p')
[ -n "$commands" ] || fail "kelvor-cli --help lists no commands"
for command in $commands; do
    grep -q "usage: kelvor-cli $command" "$work/cli.txt" ||
        fail "the manual page lacks the usage of kelvor-cli $command"
done
for text in NAME EXAMPLES COMMANDS "Exit status" "$version"; do
    grep -q "$text" "$work/cli.txt" || fail "kelvor-cli(1) lacks $text"
done
man -l "$prefix/share/man/man1/kelvor2007.1.gz" >"$work/app.txt" 2>&1 || fail "man -l kelvor2007.1.gz"
for text in --desktop XDG_DOCUMENTS_DIR "$version"; do
    grep -q -- "$text" "$work/app.txt" || fail "kelvor2007(1) lacks $text"
done

# Both programs give the one release number.
for program in kelvor-cli kelvor2007; do
    "$prefix/bin/$program" --version | head -1 | grep -q " $version\$" ||
        fail "$program --version is not $version"
done

# The installed tool uses its own share folder: with one example left out of the installed
# index, setup --examples copies all the others and not that one.
index=$prefix/share/kelvor2007/examples/INDEX.TXT
grep -v '^TWINTNOT.DAT' "$index" >"$work/index" && cp "$work/index" "$index"
mkdir "$work/folder"
(cd "$work/folder" && "$prefix/bin/kelvor-cli" setup --examples >"$work/setup.txt" 2>&1) ||
    fail "installed kelvor-cli setup --examples"
[ -e "$work/folder/SKLOWPAS.DAT" ] && [ ! -e "$work/folder/TWINTNOT.DAT" ] ||
    fail "setup --examples did not copy from the installed examples"
# The installed tool computes what the built one does.
(cd "$work/folder" && "$prefix/bin/kelvor-cli" response SKLOWPAS.DAT 100 1k 10k >"$work/installed.txt") ||
    fail "installed kelvor-cli response on an installed example"
(cd "$work/folder" && "$build/src/cli/kelvor-cli" response SKLOWPAS.DAT 100 1k 10k >"$work/built.txt")
[ -s "$work/installed.txt" ] && cmp -s "$work/installed.txt" "$work/built.txt" ||
    fail "the installed kelvor-cli's response differs from the built one's"

# The completion knows the commands, read from the installed tool.
if [ -f /usr/share/bash-completion/bash_completion ]; then
    got=$(bash -c "source /usr/share/bash-completion/bash_completion
        source '$prefix/share/bash-completion/completions/kelvor-cli'
        COMP_WORDS=('$prefix/bin/kelvor-cli' re); COMP_CWORD=1; COMP_LINE='kelvor-cli re'
        COMP_POINT=\${#COMP_LINE}; _kelvor_cli '$prefix/bin/kelvor-cli' re '$prefix/bin/kelvor-cli'
        echo \${COMPREPLY[*]}")
    [ "$got" = response ] || fail "completing 're' gave '$got', not response"
fi

[ "$failures" -eq 0 ] || exit 1
echo "install layout, validators, MIME type, manual pages and installed tool: ok"
