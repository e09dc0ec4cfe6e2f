#!/usr/bin/env bash
# The installed tree as a user gets it: `cmake --install` into a temporary
# prefix, then the programs run from another folder with nothing of the
# source or build tree in reach (both hidden under empty file systems in a
# mount namespace of their own where the system allows one; no settings,
# registry or module named by the environment), and the Debian package:
# its dependencies, stripped files and layout, lintian without errors, and
# its programs run unpacked.
#
#   install_test.sh BUILD_DIR SOURCE_DIR WORK_DIR [--package]
set -uo pipefail
build=$1 source=$2 work=$3 package=${4:-}
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }

# Everything the programs use lives outside both trees, which are hidden.
rm -rf "$work" && mkdir -p "$work"
work=$(cd "$work" && pwd)
log=$work
work=$(mktemp -d /tmp/zrconector-install.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/elsewhere" "$work/home"
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >"$log/install.log" 2>&1 || { cat "$log/install.log"; exit 1; }

# Nothing installed may name the trees it was built from.
for tree in "$source" "$build"; do
  if hits=$(grep -rlF -- "$tree" "$prefix" 2>/dev/null) && [ -n "$hits" ]; then
    # Debug information names the compiler's folder, and a sanitizer build
    # keeps the source file of each check for its reports; the programs never
    # read either. Any other mention (a folder, a data file) is a fault.
    for f in $hits; do
      if objdump -h "$f" >/dev/null 2>&1; then
        copy="$work/stripped"
        objcopy --strip-debug "$f" "$copy"
        strings -a "$copy" | grep -F -- "$tree" | grep -qvE '\.(cpp|cc|c|h|hpp)$' && fail "$f names $tree"
      else
        fail "$f names $tree"
      fi
    done
  fi
done

for f in bin/zrhost bin/zrcheck bin/zrdxf lib/zrconector/libzrconector.so lib/zrconector/libprmset.so \
    lib/zrconector/com-registry.d/prmset.comreg lib/zrconector/com-registry.d/zrado.comreg \
    share/zrconector/examples/catalogue/zrhost.ini share/zrconector/examples/catalogue/catalogo.db \
    share/zrconector/report-schema.json \
    share/man/man1/zrcheck.1.gz share/man/man1/zrdxf.1.gz share/man/man1/zrhost.1.gz \
    share/man/man5/zrcheck-waivers.5.gz \
    share/bash-completion/completions/zrcheck share/doc/zrconector/catalogue.md \
    share/doc/zrconector/zrcheck.md share/doc/zrconector/copyright share/doc/zrconector/changelog.gz; do
  [ -e "$prefix/$f" ] || fail "not installed: $f"
done
# The platform libraries are the package's own: none straight in lib/.
stray=$(ls "$prefix"/lib/*.so* 2>/dev/null)
[ -z "$stray" ] || fail "libraries outside lib/zrconector: $stray"

# The manual pages: hand-written, with the sections a user looks for, and
# no warnings from man.
for page in man1/zrcheck.1 man1/zrdxf.1 man1/zrhost.1 man5/zrcheck-waivers.5; do
  file="$prefix/share/man/$page.gz"
  [ -e "$file" ] || continue
  text=$(zcat "$file")
  for section in NAME SYNOPSIS DESCRIPTION "EXIT STATUS" ENVIRONMENT FILES EXAMPLES; do
    [ "$page" = man5/zrcheck-waivers.5 ] && [[ $section == "EXIT STATUS" || $section == ENVIRONMENT ]] && continue
    grep -q "^\.SH \"\?$section\"\?\$" <<<"$text" || fail "$page has no section $section"
  done
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page: man warns: $warnings"
done
# The pages are written by hand: every long option a program's --help (and
# each zrdxf subcommand's) names must be in its page.
for tool in zrcheck zrdxf zrhost; do
  page="$prefix/share/man/man1/$tool.1.gz"
  [ -e "$page" ] || continue
  text=$(zcat "$page" | sed 's/\\-/-/g; s/\\f[BIRP]//g')
  helps=$("$prefix/bin/$tool" --help 2>&1)
  [ "$tool" = zrdxf ] && for sub in info audit roundtrip; do helps+=$'\n'$("$prefix/bin/zrdxf" $sub --help 2>&1); done
  for option in $(grep -oE -- '--[a-z][a-z-]+' <<<"$helps" | sort -u); do
    grep -qF -- "$option" <<<"$text" || fail "$tool.1 does not name $option (in --help)"
  done
done
zcat "$prefix/share/man/man5/zrcheck-waivers.5.gz" | grep -q '"expires"' ||
  fail "zrcheck-waivers.5 does not carry the waiver format"

# A clean environment: only what the installed tree finds by itself, with
# the source and build trees out of reach.
hide=()
if unshare -m --propagation private true 2>/dev/null; then
  # The build tree first: it may lie inside the source tree.
  hide=(unshare -m --propagation private sh -c 'mount -t tmpfs none "$0" && mount -t tmpfs none "$1" && shift &&
        exec "$@"' "$build" "$source")
else
  echo "install: no mount namespace here; the trees stay visible (the path check above still holds)"
fi
run() {
  (cd "$work/elsewhere" && env -i PATH="$prefix/bin:/usr/bin:/bin" HOME="$work/home" LANG=C.UTF-8 \
     ASAN_OPTIONS="${ASAN_OPTIONS:-}" "${hide[@]}" "$@")
}
out=$(run ls -A "$source") && [ -z "$out" ] || [ ${#hide[@]} -eq 0 ] || fail "the source tree is still in reach: $out"
examples="$prefix/share/zrconector/examples"

out=$(run zrcheck --version) && [[ $out == "zrcheck "* ]] || fail "zrcheck --version: $out"
# The example drawing has problems on purpose: exit 1, against the catalogue named.
out=$(run zrcheck --settings "$examples/catalogue" --json "$examples/drawing.dxf"); status=$?
[ $status -eq 1 ] || fail "zrcheck on the example: exit $status"
grep -qF "\"file\":\"$examples/catalogue/catalogo.db\"" <<<"$out" || fail "zrcheck names its catalogue: ${out:0:300}"
out=$(run zrcheck "$examples/drawing.dxf" 2>&1); status=$?
[ $status -eq 2 ] && grep -q "no settings file zrhost.ini" <<<"$out" || \
  fail "zrcheck without settings must not use the examples: exit $status: $out"
out=$(run zrhost --load "$examples/suite.scm" --script "$examples/show-connectors.scm" "$examples/drawing.dxf" </dev/null 2>&1)
status=$?
[ $status -eq 0 ] && grep -q "X1" <<<"$out" || fail "zrhost on the examples: exit $status: ${out:0:500}"
out=$(run zrdxf info --json "$examples/drawing.dxf") || fail "zrdxf info: $out"
run zrdxf roundtrip "$examples/drawing.dxf" copy.dxf && run zrdxf audit copy.dxf >/dev/null || fail "zrdxf roundtrip/audit"

out=$(bash -c "source '$prefix/share/bash-completion/completions/zrcheck'; PATH='$prefix/bin':\$PATH
  COMP_WORDS=(zrcheck --cat); COMP_CWORD=1; _zrconector_complete; echo \${COMPREPLY[*]}")
[ "$out" = "--catalogue" ] || fail "completion of --cat: '$out'"

if [ "$package" = --package ]; then
  (cd "$build" && cpack -G DEB -B "$work/package" >"$log/cpack.log" 2>&1) || { cat "$log/cpack.log"; fail "cpack"; }
  deb=$(ls "$work"/package/*.deb 2>/dev/null | head -1)
  if [ -n "$deb" ]; then
    # Kept for the test that installs it into a Debian root.
    cp "$deb" "$log/zrconector.deb"
    info=$(dpkg-deb -I "$deb")
    grep -q "Package: zrconector" <<<"$info" || fail "package name: $info"
    depends=$(dpkg-deb -f "$deb" Depends)
    # Found by dpkg-shlibdeps from what the programs link, with versions.
    for need in "guile-3.0-libs" "libnettle8" "libpugixml1v5 (>=" "libc6 (>=" "libstdc++6 (>=" \
        "libicu72 (>=" "libsqliteodbc" "odbc-postgresql"; do
      grep -qF "$need" <<<"$depends" || fail "Depends lacks $need: $depends"
    done
    grep -q "libguile-3.0-1" <<<"$depends" && fail "Depends names a package Debian 12 does not have: $depends"
    dpkg -x "$deb" "$work/root"
    for f in "$work"/root/usr/bin/* "$work"/root/usr/lib/zrconector/*.so; do
      readelf -S "$f" 2>/dev/null | grep -q '\.symtab' && fail "not stripped: ${f#$work/root}"
    done
    rpath=$(readelf -d "$work/root/usr/bin/zrcheck" | grep -E 'RPATH|RUNPATH')
    grep -qF '$ORIGIN/../lib/zrconector' <<<"$rpath" || fail "zrcheck's RPATH: $rpath"
    if command -v lintian >/dev/null; then
      lintian --tag-display-limit 0 "$deb" >"$log/lintian.log" 2>&1
      errors=$(grep '^E:' "$log/lintian.log")
      [ -z "$errors" ] || fail "lintian errors:
$errors"
    else
      fail "no lintian (scripts/setup.sh installs it)"
    fi
    out=$(run "$work/root/usr/bin/zrcheck" --version) && [[ $out == "zrcheck "* ]] ||
      fail "the packaged zrcheck --version: $out"
    out=$(run "$work/root/usr/bin/zrcheck" --settings "$work/root/usr/share/zrconector/examples/catalogue" \
      "$work/root/usr/share/zrconector/examples/drawing.dxf")
    [ $? -eq 1 ] || fail "the packaged zrcheck on the example: ${out:0:300}"
  else
    fail "no package made"
  fi
fi

[ $fails -eq 0 ] && echo "install: all checks passed" || echo "install: $fails failure(s)"
exit $((fails > 0))
