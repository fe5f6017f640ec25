#!/usr/bin/env bash
# Builds the Debian package, installs it with apt, makes a BFFB book with the
# installed levara-cli as a user who is not root (nobody), checks the book with
# xlrd, and purges the package. Whatever fails, the package goes again and the
# machine is left as it was found.
#
#   package_test.sh BUILD_DIR EXAMPLE_RAW_FILE VERSION
set -euo pipefail
build=$1 example=$2 version=$3

fail() {
    echo "package test: $*" >&2
    exit 1
}

[ "$(id -u)" -eq 0 ] || fail "needs root, as the README's commands have: it installs the package"
if dpkg-query -W -f='${db:Status-Status}\n' levara 2>/dev/null | grep -qv '^not-installed$'; then
    fail "a levara package is installed already; it is left alone"
fi
owned="/usr/lib/levara /usr/share/levara /usr/bin/levara /usr/bin/levara-cli /usr/share/applications/levara.desktop"
for path in $owned; do
    [ ! -e "$path" ] && [ ! -L "$path" ] || fail "$path exists already; it is left alone"
done

apt=(apt-get -o DPkg::Lock::Timeout=600)
work=$(mktemp -d)
installed=false
cleanup() {
    local status=$?
    if $installed && ! "${apt[@]}" purge -y levara >"$work/purge.log" 2>&1; then
        cat "$work/purge.log" >&2
        status=1
    fi
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM

echo "== cpack"
if ! (cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1); then
    cat "$work/cpack.log" >&2
    fail "cpack failed"
fi
debs=("$work"/package/levara_*.deb)
[ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single levara_*.deb"
deb=$(basename "${debs[0]}")
dpkg-deb --info "${debs[0]}"
dpkg-deb --contents "${debs[0]}"
depends=$(dpkg-deb --field "${debs[0]}" Depends)
for library in libqt6core6 libqt6widgets6 libgsf-1-114 libqscintilla2-qt6; do
    [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done

# Levara alone: what it needs is there already (tools/deps.sh).
cd "$work/package"
extra=$("${apt[@]}" install -s --no-install-recommends "./$deb" | awk '/^Inst / && $2 != "levara" { print $2 }')
[ -z "$extra" ] || fail "installing would also install $extra; run tools/deps.sh first"
# Set first, so that a half-done install is purged as well.
installed=true
echo "== apt-get install ./$deb"
"${apt[@]}" install -y --no-install-recommends "./$deb"

echo "== levara-cli as nobody"
home="$work/home"
mkdir "$home"
cp "$example" "$home/bffb_line.dat"
chown -R nobody:nogroup "$home"
chmod 755 "$work"
as_nobody() {
    runuser -u nobody -- env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@"
}
[ "$(as_nobody levara-cli --version)" = "levara-cli（Levara）版本 $version" ] || fail "levara-cli --version"
as_nobody levara-cli --filter leveling --save bffb "$home/bffb_line.dat" "$home/bffb_line.xls"

# The book, read as other software reads it: every point of the line in it.
/usr/bin/python3 - "$home/bffb_line.xls" <<'EOF'
import sys
import xlrd
sheet = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)
texts = {str(cell.value) for row in range(sheet.nrows) for cell in sheet.row(row)}
wanted = {"水准点甲", "水准点乙"} | {"TP%d" % k for k in range(1, 20)}
missing = wanted - texts
if missing:
    sys.exit("the book lacks %s" % sorted(missing))
print("book: %d rows, every point of the line" % sheet.nrows)
EOF

# The user's work folder holds the templates and the work files; beside the programs
# there are only the templates the package installed.
folder="$home/.local/share/levara/temp"
for file in exc.xls exc0.xls exc1.xls exc2.xls exc3.xls exc4.xls exc5.xls excel.xls ooo.txt; do
    [ -f "$folder/$file" ] || fail "$folder/$file missing"
done
[ "$(stat -c %U "$folder/excel.xls")" = nobody ] || fail "the work files are not the user's"
beside=$(LC_ALL=C ls /usr/lib/levara/temp)
[ "$beside" = "$(printf 'exc.xls\nexc0.xls\nexc1.xls\nexc2.xls\nexc3.xls\nexc4.xls\nexc5.xls')" ] ||
    fail "written beside the programs: $beside"

echo "== levara-cli as root, who may write beside the programs"
mkdir "$work/root"
HOME="$work/root" levara-cli --save text "$example" "$work/root/copy.dat"
[ -f /usr/lib/levara/temp/ooo.txt ] || fail "root's run left no work file beside the programs"

echo "== apt-get purge levara"
"${apt[@]}" purge -y levara
installed=false
if dpkg -L levara >/dev/null 2>&1; then
    fail "dpkg still lists levara's files"
fi
for path in $owned /usr/share/icons/hicolor/256x256/apps/levara.png; do
    [ ! -e "$path" ] && [ ! -L "$path" ] || fail "$path is left after the purge"
done
echo "package test: passed"
