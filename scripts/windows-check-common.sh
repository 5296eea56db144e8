# The checks scripts/check-windows-zip and scripts/check-windows-installer share; sourced by them,
# not run. Each check runs in a Wine prefix made only for it (no WINEPATH, nothing of the build
# visible), in a scratch folder that is removed at the end.
#   windows_check_begin NAME LINUX_BUILD   scratch folder $work, fresh prefix, the Linux converter
#   check_imports APP_DIR                  every DLL imported is in APP_DIR or part of Windows
#   check_converter APP_DIR                miren-convert.exe against the Linux build, byte for byte
#   check_library APP_DIR                  miren-library.exe imports the samples, lists and checks them
#   check_window APP_DIR START_DIR         miren-loader.exe shows its window, writes FILE_PASS.DAT
#   windows_check_end                      the summary; exits non-zero after any failure
# A failed check calls fail MESSAGE and the script goes on, so one run reports every failure.

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)
objdump=x86_64-w64-mingw32-objdump
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

windows_check_cleanup() {
  "$wineserver" -k >/dev/null 2>&1 || true
  rm -rf "$work"
}

windows_check_begin() {
  check_name=$1
  local linux_build=$2
  case "$linux_build" in /*) ;; *) linux_build="$root/$linux_build" ;; esac
  linux_convert=$linux_build/src/cli/miren-convert
  local tool
  for tool in unzip xvfb-run xdotool "$objdump"; do
    command -v "$tool" >/dev/null || { echo "$check_name: $tool is missing" >&2; exit 1; }
  done
  [ -x "$linux_convert" ] || { echo "$check_name: $linux_convert is missing; make build first" >&2; exit 1; }

  work=$(mktemp -d "${TMPDIR:-/tmp}/$check_name.XXXXXX")
  export WINEPREFIX=$work/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  unset WINEPATH QT_PLUGIN_PATH QT_QPA_PLATFORM
  trap windows_check_cleanup EXIT
  echo "making a clean Wine prefix"
  "$wine" wineboot --init >/dev/null 2>&1
  "$wineserver" --wait
  system32=$WINEPREFIX/drive_c/windows/system32
}

# Imports. Windows' own DLLs are those of the prefix's system folder.
check_imports() {
  local app=$1 f binary dll lower exe
  declare -A present=()
  while IFS= read -r f; do present[$(basename "${f,,}")]=1; done < <(find "$app" -iname '*.dll' -o -iname '*.exe')
  while IFS= read -r binary; do
    while IFS= read -r dll; do
      lower=${dll,,}
      [ -n "${present[$lower]:-}" ] && continue
      # API sets: names the Windows loader maps to its own DLLs, never files to ship.
      case "$lower" in api-ms-win-*|ext-ms-win-*) continue ;; esac
      [ -e "$system32/$lower" ] || [ -e "$system32/$dll" ] && continue
      fail "${binary#$app/} needs $dll, which is neither in the package nor part of Windows"
    done < <("$objdump" -p "$binary" | sed -n 's/^\s*DLL Name: //p')
  done < <(find "$app" -iname '*.dll' -o -iname '*.exe')
  for exe in miren-loader.exe miren-convert.exe miren-library.exe; do
    if "$objdump" -p "$app/$exe" | grep -qiE 'DLL Name: (libstdc\+\+|libgcc|libwinpthread)'; then
      fail "$exe needs a compiler runtime DLL (it should link it statically)"
    fi
  done
  echo "imports checked"
}

# The converter against the Linux build, from a working folder outside the program's folder: each
# sample, and all of them in one run, on standard output and with -o.
check_converter() {
  local app=$1 f run status
  rm -rf "$work/laps"
  mkdir "$work/laps"
  cp "$root"/samples/*.BIL "$work/laps/"
  local runs=()
  for f in "$work"/laps/*.BIL; do runs+=("$(basename "$f")"); done
  runs+=("$(cd "$work/laps" && ls ./*.BIL | tr '\n' ' ')")
  (
    cd "$work/laps"
    for run in "${runs[@]}"; do
      # shellcheck disable=SC2086 # a run may name several files
      "$linux_convert" $run >expected.out
      status=0
      # shellcheck disable=SC2086
      "$wine" "$app/miren-convert.exe" $run >actual.out 2>actual.err || status=$?
      if [ "$status" -ne 0 ]; then
        echo "FAIL: miren-convert.exe $run: exit status $status ($(tr -d '\r' <actual.err | head -c 300))"
      elif ! cmp -s expected.out actual.out; then
        echo "FAIL: miren-convert.exe $run: standard output differs from the Linux build ($(cmp expected.out actual.out || true))"
      fi
      rm -f out.txt
      # shellcheck disable=SC2086
      "$wine" "$app/miren-convert.exe" -o out.txt $run 2>/dev/null || true
      cmp -s expected.out out.txt || echo "FAIL: miren-convert.exe -o out.txt $run: file differs from the Linux build"
    done
  ) >"$work/converter.log"
  cat "$work/converter.log"
  failures=$((failures + $(grep -c '^FAIL: ' "$work/converter.log" || true)))
  echo "miren-convert.exe: ${#runs[@]} runs compared with the Linux build"
}

# The lap library: the samples imported into a library in the scratch folder, listed as the Linux
# build lists them, checked, and the lap files exported byte for byte.
check_library() {
  local app=$1 linux_library=${linux_convert%/cli/miren-convert}/library_cli/miren-library
  (
    cd "$work/laps"
    "$wine" "$app/miren-library.exe" --library win.sqlite import . >import.out 2>&1 ||
      echo "FAIL: miren-library.exe import: $(tr -d '\r' <import.out | head -c 300)"
    "$wine" "$app/miren-library.exe" --library win.sqlite check >check.out 2>&1 ||
      echo "FAIL: miren-library.exe check: $(tr -d '\r' <check.out | head -c 300)"
    "$linux_library" --library linux.sqlite import . >/dev/null
    "$linux_library" --library linux.sqlite sessions --format csv | cut -d, -f1,2,4,10- >expected.csv
    "$wine" "$app/miren-library.exe" --library win.sqlite sessions --format csv |
      cut -d, -f1,2,4,10- >actual.csv
    cmp -s expected.csv actual.csv ||
      echo "FAIL: miren-library.exe sessions differ from the Linux build ($(cmp expected.csv actual.csv || true))"
    "$wine" "$app/miren-library.exe" --library win.sqlite export 1 -o first.BIL 2>/dev/null || true
    cmp -s first.BIL "$(ls ./*.BIL | head -n 1)" ||
      echo "FAIL: miren-library.exe export: not the first lap file, byte for byte"
  ) >"$work/library.log"
  cat "$work/library.log"
  failures=$((failures + $(grep -c '^FAIL: ' "$work/library.log" || true)))
  echo "miren-library.exe: samples imported, listed, checked and exported"
}

# The window, on a virtual screen, started in start_dir. The Wine session of the runs before had
# no display: it must end first, or the window would join it and never show.
check_window() {
  local app=$1 start_dir=$2
  "$wineserver" --wait
  cat >"$work/window.sh" <<SCRIPT
#!/bin/sh
cd "$start_dir" || exit 1
"$wine" "$app/miren-loader.exe" >/dev/null 2>&1 &
if timeout 60 xdotool search --sync --onlyvisible --name '^Miren Loader  ver ' >/dev/null 2>&1; then
  echo shown
fi
"$wineserver" -k >/dev/null 2>&1
wait
SCRIPT
  chmod +x "$work/window.sh"
  if [ "$(xvfb-run -a -s "-screen 0 1024x768x24" "$work/window.sh")" = shown ]; then
    echo "miren-loader.exe: window shown"
  else
    fail "miren-loader.exe showed no window within 60 s"
  fi
  if [ -f "$start_dir/FILE_PASS.DAT" ] && grep -q '^"[A-Za-z]:\\' "$start_dir/FILE_PASS.DAT"; then
    echo "miren-loader.exe: FILE_PASS.DAT holds $(head -n 1 "$start_dir/FILE_PASS.DAT" | tr -d '\r')"
  else
    fail "miren-loader.exe wrote no FILE_PASS.DAT with a drive letter folder into its working folder"
  fi
}

windows_check_end() {
  if [ "$failures" -eq 0 ]; then
    echo "$check_name: all checks passed"
  else
    echo "$check_name: $failures check(s) failed"
    exit 1
  fi
}
