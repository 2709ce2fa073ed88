#!/usr/bin/env bash
# Makes the release archive Velmora-<version>-win64.zip: the release exe, the licence texts the
# program carries (from the language pack), a README for Windows users and the exe's SHA-256.
# The version is the exe's own (FILEVERSION in resources/velmora.rc). The archive is the same
# bytes whenever it is made from the same exe: its entries keep one order and one time, that of
# $SOURCE_DATE_EPOCH, else of the commit, and no owner or permissions of this machine.
#
#   tools/release.sh [--exe FILE] [--out DIR]
#
# Without --exe it builds the exe with tools/build.sh (build/, or $VELMORA_BUILD_DIR); the
# archive goes to DIR (default: the build folder). It prints the archive's path.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VELMORA_BUILD_DIR:-$root/build}
exe=""
out=$build
while [ $# -gt 0 ]; do
    case $1 in
        --exe) exe=$(realpath "$2"); shift 2 ;;
        --out) out=$2; shift 2 ;;
        *) echo "usage: tools/release.sh [--exe FILE] [--out DIR]" >&2; exit 2 ;;
    esac
done
if [ -z "$exe" ]; then
    "$root/tools/build.sh" --target Velmora >&2
    exe=$build/Velmora.exe
fi

version=$(sed -n 's/^FILEVERSION \([0-9]*\),\([0-9]*\),.*/\1.\2/p' "$root/resources/velmora.rc")
[ -n "$version" ] || { echo "release: no FILEVERSION in resources/velmora.rc" >&2; exit 2; }
commit=$(git -C "$root" rev-parse HEAD 2>/dev/null || echo unknown)
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 315532800)}

mkdir -p "$out"
archive=$(realpath "$out")/Velmora-$version-win64.zip
staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT

cp "$exe" "$staging/Velmora.exe"
# The pack's second and third sections are the English and the German licence (CR LF already).
awk -v out="$staging" 'BEGIN { RS = "\r\n"; ORS = "\r\n" }
    $0 == "##" { section++; next }
    /^##=/ { exit }
    section == 2 { print > (out "/LICENCE.txt") }
    section == 3 { print > (out "/LIZENZ.txt") }' "$root/resources/lang/languages.txt"
sed -e "s/@VERSION@/$version/" -e "s/@COMMIT@/$commit/" -e 's/$/\r/' "$root/tools/release/README.txt" >"$staging/README.txt"
(cd "$staging" && sha256sum Velmora.exe | sed 's/$/\r/' >SHA256.txt)

python3 - "$archive" "$epoch" "$staging" <<'PY'
import sys, time, zipfile, os
archive, epoch, staging = sys.argv[1], int(sys.argv[2]), sys.argv[3]
# ZIP keeps local time without a zone: the UTC fields of the epoch, and nothing before 1980.
stamp = max(time.gmtime(epoch)[:6], (1980, 1, 1, 0, 0, 0))
with zipfile.ZipFile(archive + ".part", "w") as zip:
    for name in ("Velmora.exe", "README.txt", "LICENCE.txt", "LIZENZ.txt", "SHA256.txt"):
        entry = zipfile.ZipInfo(name, date_time=stamp)
        entry.compress_type = zipfile.ZIP_DEFLATED
        entry.create_system = 0  # MS-DOS: no Unix owner or mode
        entry.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE, as Windows' own ZIP folder writes
        with open(os.path.join(staging, name), "rb") as data:
            zip.writestr(entry, data.read(), compresslevel=9)
os.replace(archive + ".part", archive)
PY
echo "$archive"
