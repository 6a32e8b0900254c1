#!/bin/bash
# make install's script on this build tree: every file where the
# conventions put it and nothing else, the desktop entry, metainfo and
# manual pages as their tools want them, icons of their directory's size
# drawn from the logo, and one plain line for each kind of bad input.
# Usage: install_test.sh BUILD_DIR TOOLS_DIR
build=$1
tools=$2
source "$(dirname "$0")/../e2e/xvfb.sh"
app=org.kelp4090.Kelp4090
sizes=(16 22 24 32 48 64 128 256)

stage=$work_dir/stage
prefix=/opt/kelp4090
expected=$(
  printf '%s\n' bin/kelp4090 bin/kelp4090-capture share/man/man6/kelp4090.6 share/man/man1/kelp4090-capture.1 \
    "share/applications/$app.desktop" "share/metainfo/$app.metainfo.xml"
  for size in "${sizes[@]}"; do echo "share/icons/hicolor/${size}x$size/apps/$app.png"; done
)
if PREFIX=$prefix DESTDIR=$stage bash "$tools/install.sh" "$build" >"$work_dir/said" 2>&1; then
  installed=$(cd "$stage" && find . ! -type d | sed 's|^\./||' | sort)
  if [[ "$installed" == "$(sed "s|^|${prefix#/}/|" <<<"$expected" | sort)" ]]; then
    pass "PREFIX=$prefix DESTDIR=... installs the $(wc -l <<<"$installed") files under the prefix, nothing else"
  else
    fail "installed files differ: $(diff <(sed "s|^|${prefix#/}/|" <<<"$expected" | sort) - <<<"$installed" | tr '\n' ' ')"
  fi
else
  fail "install failed: $(tail -n3 "$work_dir/said")"
fi
root=$stage$prefix

said=$(desktop-file-validate "$root/share/applications/$app.desktop" 2>&1) && [[ -z "$said" ]] &&
  pass "desktop-file-validate: no remarks" || fail "desktop-file-validate: $said"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$root/share/applications/$app.desktop")
icon_name=$(sed -n 's/^Icon=//p' "$root/share/applications/$app.desktop")
[[ -x "$root/bin/$exec_name" && "$icon_name" == "$app" ]] &&
  pass "the desktop entry starts bin/$exec_name and shows the $icon_name icons" ||
  fail "the desktop entry runs '$exec_name' with icon '$icon_name'"
said=$(appstreamcli validate --no-net "$root/share/metainfo/$app.metainfo.xml" 2>&1) &&
  pass "appstreamcli validate: no errors" || fail "appstreamcli validate: $said"

# Each manual page renders with groff and man in silence, and names every
# option its program's --help lists.
for page in man6/kelp4090.6 man1/kelp4090-capture.1; do
  program=$(basename "${page%.*}")
  said=$(groff -ww -man -Tutf8 -z "$root/share/man/$page" 2>&1)
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/share/man/$page" 2>"$work_dir/man.err" | col -b)
  [[ -z "$said" && ! -s "$work_dir/man.err" && "$text" == *SYNOPSIS*EXIT\ STATUS*ENVIRONMENT*EXAMPLES* ]] &&
    pass "$page renders silently with its sections" || fail "$page: $said $(cat "$work_dir/man.err")"
  missing=""
  for option in $("$root/bin/$program" --help | grep -oE -- '(^| )--?[a-z][a-z-]*' | sort -u); do
    grep -qE -- "(^|[^[:alnum:]-])$option([^[:alnum:]-]|$)" <<<"$text" || missing+=" $option"
  done
  [[ -z "$missing" ]] && pass "$page names every option of $program --help" || fail "$page lacks$missing"
done

# The icons: the logo on a transparent square, at the size of each directory.
for size in "${sizes[@]}"; do
  icon=$root/share/icons/hicolor/${size}x$size/apps/$app.png
  read -r geometry corner opaque < <(identify -format '%wx%h %[fx:p{0,0}.a] %[fx:maxima.a]\n' "$icon" 2>&1)
  [[ "$geometry" == "${size}x$size" && "$corner" == 0 && "$opaque" == 1 ]] ||
    fail "the ${size}x$size icon is $geometry, corner alpha $corner, most opaque $opaque"
done
((failures == 0)) && pass "icons of ${sizes[*]} pixels, opaque logo on transparent corners"

# Bad input: one line each, and nothing installed.
echo "not a folder" >"$work_dir/file"
for case in "DESTDIR=$work_dir/file|cannot write to '$work_dir/file/usr/local'" \
            "PREFIX=usr/local|PREFIX must be an absolute path, not 'usr/local'"; do
  env "${case%%|*}" bash "$tools/install.sh" "$build" >"$work_dir/out" 2>&1
  status=$?
  [[ "$status" != 0 && "$(cat "$work_dir/out")" == "make install: ${case#*|}" ]] &&
    pass "${case%%|*}: status $status, one line" || fail "${case%%|*}: status $status, said $(cat "$work_dir/out")"
done
bash "$tools/install.sh" --prefix /usr >"$work_dir/out" 2>&1
[[ $? == 2 && $(wc -l <"$work_dir/out") == 1 ]] && pass "an option is refused with its usage line" ||
  fail "install.sh --prefix: $(cat "$work_dir/out")"

# make deb without its tools: the first it lacks, named in one line.
mkdir -p "$work_dir/only-shlibdeps"
ln -s "$(command -v dpkg-shlibdeps)" "$work_dir/only-shlibdeps/"
for case in "/nonexistent|dpkg-shlibdeps is missing: install dpkg-dev" \
            "$work_dir/only-shlibdeps|lintian is missing: install lintian"; do
  PATH=${case%%|*} /bin/bash "$tools/make-deb.sh" "$build" "$work_dir/deb" >"$work_dir/out" 2>&1
  status=$?
  [[ "$status" == 1 && "$(cat "$work_dir/out")" == "make deb: ${case#*|}" ]] &&
    pass "make deb: ${case#*|}" || fail "make-deb.sh with PATH=${case%%|*}: status $status, said $(cat "$work_dir/out")"
done

exit $((failures > 0))
