#!/usr/bin/env bash
# Checks what a built tree installs and packages: package-check.sh BUILD_DIR [SCRATCH_DIR]
# Installs into a prefix and through DESTDIR, makes the Debian package with
# CPack, and runs desktop-file-validate, appstreamcli and lintian on it.
# Works only in SCRATCH_DIR (default: a temporary folder), so it can run
# beside a build of the same folder. Exits non-zero on the first failure.
set -euo pipefail

build=$(realpath "${1:?build folder}")
source_dir=$(realpath "$(dirname "$0")/..")
if [ $# -ge 2 ]; then
  scratch=$2
  rm -rf "$scratch"
  mkdir -p "$scratch"
else
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
fi
scratch=$(realpath "$scratch")

fail() { echo "package-check: $*" >&2; exit 1; }

for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli lintian; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
done
[ -f "$build/CPackConfig.cmake" ] || fail "$build is not a configured build folder"

# The files an install must hold, below the prefix.
expected=(
  bin/quillmere bin/quillmere-lang
  share/quillmere/Text.Db share/quillmere/Quillmere.Hlp share/quillmere/Default.Bmp
  share/quillmere/Quillmere.Ini
  share/quillmere/LangFiles/Eng_Ger/english_german.lang
  share/quillmere/LangFiles/Eng_Ger/english_german.Bmp
  share/quillmere/LangFiles/Eng_Ger/l1p00_en.wav
  share/applications/io.github.quillmere.Quillmere.desktop
  share/metainfo/io.github.quillmere.Quillmere.metainfo.xml
  share/icons/hicolor/scalable/apps/io.github.quillmere.Quillmere.svg
  share/man/man1/quillmere.1.gz share/man/man1/quillmere-lang.1.gz
)
for size in 16 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/io.github.quillmere.Quillmere.png")
done

# Every file below the prefix must be one of these: nothing of the tests,
# benchmarks, build helpers, libraries or headers.
allowed='^(bin/quillmere|bin/quillmere-lang|lib(/[^/]+)?/quillmere/plugins/libquillmere-sound\.so|share/quillmere/.*|share/applications/io\.github\.quillmere\.Quillmere\.desktop|share/metainfo/io\.github\.quillmere\.Quillmere\.metainfo\.xml|share/icons/hicolor/[^/]+/apps/io\.github\.quillmere\.Quillmere\.(png|svg)|share/man/man1/quillmere(-lang)?\.1\.gz|share/doc/quillmere/(copyright|changelog\.Debian\.gz)|share/lintian/overrides/quillmere)$'

check_tree() {  # check_tree ROOT WHAT
  local root=$1 what=$2 f
  for f in "${expected[@]}"; do
    [ -f "$root/$f" ] || fail "$what: $f is missing"
  done
  while IFS= read -r f; do
    [[ $f =~ $allowed ]] || fail "$what: $f should not be installed"
  done < <(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort)
  for f in bin/quillmere bin/quillmere-lang; do
    [ -x "$root/$f" ] || fail "$what: $f is not executable"
  done
  echo "package-check: $what holds the expected files"
}

echo "== cmake --install --prefix =="
cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
check_tree "$scratch/prefix" "install into a prefix"
[ ! -e "$scratch/prefix/share/doc" ] || fail "a plain install must not carry the Debian files"

echo "== DESTDIR install =="
DESTDIR="$scratch/destdir" cmake --install "$build" --prefix /usr >/dev/null
check_tree "$scratch/destdir/usr" "DESTDIR install"
[ "$(ls -A "$scratch/destdir")" = usr ] || fail "DESTDIR install wrote outside DESTDIR/usr"

echo "== cpack -G DEB =="
(cd "$scratch" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/deb" >/dev/null)
debs=("$scratch"/deb/quillmere_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no quillmere_*.deb"
deb=${debs[0]}
echo "package-check: $(basename "$deb")"
dpkg-deb -x "$deb" "$scratch/root"
check_tree "$scratch/root/usr" "the package"
[ "$(ls -A "$scratch/root")" = usr ] || fail "the package holds files outside /usr"
for f in copyright changelog.Debian.gz; do
  [ -f "$scratch/root/usr/share/doc/quillmere/$f" ] || fail "the package lacks /usr/share/doc/quillmere/$f"
done
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6widgets6 libqt6multimedia6 qt6-qpa-plugins gstreamer1.0-plugins-good; do
  [[ $depends == *"$dep"* ]] || fail "the package does not depend on $dep: $depends"
done

# The programs find their files relative to themselves: no folder of this
# machine's build may be compiled in.
for f in quillmere quillmere-lang; do
  if strings "$scratch/root/usr/bin/$f" | grep -F -e "$build" -e "$source_dir" >/dev/null; then
    fail "/usr/bin/$f holds a path of the build machine"
  fi
done

echo "== desktop-file-validate =="
desktop-file-validate "$scratch/root/usr/share/applications/io.github.quillmere.Quillmere.desktop"
echo "package-check: desktop entry valid"

echo "== appstreamcli validate --no-net =="
appstreamcli validate --no-net "$scratch/root/usr/share/metainfo/io.github.quillmere.Quillmere.metainfo.xml"

echo "== lintian =="
status=0
report=$(lintian --fail-on error,warning --display-info "$deb" 2>&1) || status=$?
# Quiet about running as root, which is how CI runs.
grep -v '^running with root privileges' <<<"$report" || true
[ "$status" -eq 0 ] || fail "lintian found errors or warnings"
echo "package-check: all checks passed"
