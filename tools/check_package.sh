#!/usr/bin/env bash
# Checks a built kvaro .deb before anyone installs it: its control fields, that it holds the
# three programs and their data and nothing else (no test or benchmark, no store, nothing
# under /usr/local), and that its desktop entry and AppStream data validate.
#   tools/check_package.sh build/kvaro_VERSION_ARCH.deb
# Every fault found is named on its own line; the exit status is 1 when there is any.
set -euo pipefail

if [ $# -gt 1 ]; then
    echo "check_package: more than one package given ($*); remove the old ones" >&2
    exit 2
fi
if [ $# -ne 1 ]; then
    echo "usage: tools/check_package.sh PACKAGE.deb" >&2
    exit 2
fi
deb=$1
if [ ! -f "$deb" ]; then
    echo "check_package: no package file $deb" >&2
    exit 2
fi
if ! dpkg-deb --info "$deb" >/dev/null 2>&1; then
    echo "check_package: $deb is not a Debian package: $(dpkg-deb --info "$deb" 2>&1 | head -1)" >&2
    exit 1
fi
for tool in dpkg-deb desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null; then
        echo "check_package: $tool is missing (packages dpkg, desktop-file-utils, appstream)" >&2
        exit 2
    fi
done

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
app_id=pl.kvaro.Kvaro
version=$(sed -n 's/^project(kvaro VERSION \([0-9.]*\).*/\1/p' "$here/CMakeLists.txt")
if [ -z "$version" ]; then
    echo "check_package: no project version in $here/CMakeLists.txt" >&2
    exit 2
fi

faults=0
fault() {
    echo "check_package: $(basename "$deb"): $*" >&2
    faults=$((faults + 1))
}

# --- control fields
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = kvaro ] || fault "Package is \"$(field Package)\", not kvaro"
[ "$(field Version)" = "$version" ] ||
    fault "Version is \"$(field Version)\", the project's version is $version"
for name in Maintainer Description Architecture Section; do
    [ -n "$(field "$name")" ] || fault "no $name field"
done
# Depends as bare package names: alternatives and version limits dropped.
depends=" $(field Depends | sed -e 's/([^)]*)//g' -e 's/[,|]/ /g' | tr -s ' \n' ' ') "
for p in libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libqt6printsupport6 \
    libqcustomplot2.1-qt6 qt6-qpa-plugins qt6-translations-l10n fonts-crosextra-carlito fonts-wine \
    fonts-dejavu-core; do
    case "$depends" in
    *" $p "*) ;;
    *) fault "Depends does not name $p" ;;
    esac
done

# --- contents
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb --extract "$deb" "$tree"

required=(
    usr/bin/kvaro
    usr/bin/kvaro-cli
    usr/bin/kvaro-gen
    usr/share/kvaro/PL.dat
    usr/share/kvaro/EN.dat
    usr/share/kvaro/Data.dat
    "usr/share/applications/$app_id.desktop"
    "usr/share/metainfo/$app_id.metainfo.xml"
    "usr/share/icons/hicolor/scalable/apps/$app_id.svg"
)
for f in "${required[@]}"; do
    [ -f "$tree/$f" ] || fault "/$f is missing"
done
for f in usr/bin/kvaro usr/bin/kvaro-cli usr/bin/kvaro-gen; do
    if [ -f "$tree/$f" ] && [ ! -x "$tree/$f" ]; then
        fault "/$f is not executable"
    fi
done

# Anything that is not one of the files above, a folder holding them or the package's own
# documentation is a stray: a test, a benchmark, a store, a default handler setting.
while IFS= read -r path; do
    rel=${path#"$tree"/}
    case "$rel" in
    usr/local | usr/local/*) fault "/$rel: nothing belongs under /usr/local" ;;
    */Data | */Data/*) fault "/$rel is a store folder" ;;
    usr/share/doc | usr/share/doc/kvaro | usr/share/doc/kvaro/*) ;;
    *)
        listed=no
        for f in "${required[@]}"; do
            # A required file, or a folder on its way.
            if [ "$rel" = "$f" ] || { [ -d "$path" ] && [ "${f#"$rel"/}" != "$f" ]; }; then
                listed=yes
                break
            fi
        done
        [ "$listed" = yes ] || fault "/$rel should not be installed"
        ;;
    esac
done < <(find "$tree" -mindepth 1 | sort)

# The data files are the ones users edit: byte-order mark and CR LF line ends kept.
for f in PL.dat EN.dat Data.dat; do
    if [ -f "$tree/usr/share/kvaro/$f" ] && ! cmp -s "$tree/usr/share/kvaro/$f" "$here/assets/$f"; then
        fault "/usr/share/kvaro/$f differs from assets/$f"
    fi
done

# A build folder's run path would make the installed programs load a developer's libraries.
if command -v readelf >/dev/null; then
    for f in usr/bin/kvaro usr/bin/kvaro-cli usr/bin/kvaro-gen; do
        if [ -f "$tree/$f" ] && readelf -d "$tree/$f" 2>/dev/null | grep -qE '\((RPATH|RUNPATH)\)'; then
            fault "/$f carries a run path: $(readelf -d "$tree/$f" | grep -E 'RPATH|RUNPATH' | head -1)"
        fi
    done
fi
# The stripped program still starts.
if [ -x "$tree/usr/bin/kvaro-cli" ]; then
    if ! help=$(QT_QPA_PLATFORM=offscreen "$tree/usr/bin/kvaro-cli" --help 2>&1) ||
        [ "${help#usage: kvaro-cli}" = "$help" ]; then
        fault "/usr/bin/kvaro-cli --help does not print its usage: ${help%%$'\n'*}"
    fi
fi

# --- desktop entry and AppStream data
desktop=$tree/usr/share/applications/$app_id.desktop
if [ -f "$desktop" ]; then
    if ! out=$(desktop-file-validate "$desktop" 2>&1); then
        fault "desktop-file-validate rejects the desktop entry:"$'\n'"$out"
    fi
    entry() { sed -n "s/^$1=//p" "$desktop" | head -1; }
    [ "$(entry Exec)" = "kvaro %f" ] || fault "the desktop entry's Exec is \"$(entry Exec)\", not \"kvaro %f\""
    [ "$(entry Icon)" = "$app_id" ] || fault "the desktop entry's Icon is \"$(entry Icon)\", not $app_id"
    [ "$(entry Terminal)" = false ] || fault "the desktop entry does not say Terminal=false"
    case ";$(entry MimeType)" in
    *";text/csv;"*) ;;
    *) fault "the desktop entry's MimeType does not offer kvaro for text/csv" ;;
    esac
    for key in 'Name\[pl\]' 'Comment\[pl\]' Comment Keywords Categories; do
        [ -n "$(entry "$key")" ] || fault "the desktop entry has no ${key//\\/}"
    done
fi

metainfo=$tree/usr/share/metainfo/$app_id.metainfo.xml
if [ -f "$metainfo" ]; then
    if ! out=$(appstreamcli validate --no-net "$metainfo" 2>&1); then
        fault "appstreamcli rejects the AppStream data:"$'\n'"$out"
    fi
    grep -q "<id>$app_id</id>" "$metainfo" || fault "the AppStream id is not $app_id"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fault "the AppStream data does not launch $app_id.desktop"
    # appstreamcli only notes these when they are missing, and passes.
    for tag in '<metadata_license>' '<project_license>' '<content_rating' '<p xml:lang="pl">'; do
        grep -q "$tag" "$metainfo" || fault "the AppStream data has no $tag"
    done
    for b in kvaro kvaro-cli kvaro-gen; do
        grep -q "<binary>$b</binary>" "$metainfo" || fault "the AppStream data does not provide $b"
    done
    # The newest release is listed first; it must be the version being packaged.
    newest=$(sed -n 's/.*<release [^>]*version="\([^"]*\)".*/\1/p' "$metainfo" | head -1)
    [ "$newest" = "$version" ] ||
        fault "the AppStream data's newest release is \"$newest\", the project's version is $version"
fi

if [ "$faults" -gt 0 ]; then
    echo "check_package: $faults fault(s) in $deb" >&2
    exit 1
fi
echo "check_package: $deb holds kvaro $version as it should"
