#!/usr/bin/env bash
# The desktop parts with the real programs around them, on a virtual display (Xvfb) and a
# private CUPS scheduler that this script starts and stops:
#  - a program's window (examples/desktop.c: PasteEmf into TamvelCreateWindow's DC) on the
#    screen, compared pixel for pixel with `tamvel render` of the same page, also after it
#    was hidden and shown again;
#  - the desktop clipboard after the copying program has ended, read by xclip: image/png as
#    `tamvel render` draws it, image/emf the page's own bytes, image/svg+xml;
#  - PrintEmf and PrintEmf0 on a CUPS printer DC of the default queue (a file: device): one
#    job whose PDF has the queue's A4 paper and the page's 100 mm square measuring 100 mm
#    where each call puts it;
#  - the viewer (`tamvel view`): fit page, next page, 1:1, reload after the file changed and
#    Ctrl+wheel, each screenshot against `tamvel render`; copy (read back by xclip), export
#    as PNG and PDF and printing, each through its dialog; TamvelShowPages until the viewer
#    is closed, from C and from Fortran;
#  - the installed desktop entry and MIME type: `gio open page.emf` opens the viewer.
# Usage: desktop-check.sh [BUILD_DIR]   (default build/default; scripts/setup-debian.sh --desktop)
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:-$root/build/default}" && pwd)
images="python3 $root/tools/ci/desktop/images.py"
work=$(mktemp -d)
chmod 755 "$work"  # the queue's filter runs as the CUPS user and reads from here
pids=()
passed=0
failed=0

cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

check() {
  local name=$1
  shift
  if "$@"; then
    echo "ok: $name"
    passed=$((passed + 1))
  else
    echo "FAILED: $name"
    failed=$((failed + 1))
  fi
}

# Waits until a command succeeds, up to $1 seconds.
wait_for() {
  local seconds=$1
  shift
  local tries=$((seconds * 10))
  until "$@" >/dev/null 2>&1; do
    ((--tries > 0)) || return 1
    sleep 0.1
  done
}

window_named() { xdotool search --name "$1" | head -1 | grep .; }

# Keys to window $1 (there is no window manager: focus is given by hand).
press() {
  local id=$1
  shift
  xdotool windowfocus --sync "$id" && xdotool key "$@"
}

# Waits up to $1 seconds for the background process $2 to end; its exit status.
wait_end() {
  wait_for "$1" bash -c "! kill -0 $2 2>/dev/null" || { kill "$2"; return 124; }
  wait "$2"
}

# Screenshot of window $1 (or the crop $3 of it) against the picture $2: no pixel differs.
same_picture() {
  local shot=$work/shot-$RANDOM.png differ
  import -window "$1" "$shot" || return 1
  if [[ -n "${3:-}" ]]; then convert "$shot" -crop "$3" +repage "$shot"; fi
  differ=$(compare -metric AE "$shot" "$2" null: 2>&1)
  [[ "$differ" == 0 ]] || { echo "  $differ pixels differ from $2 (crop ${3:-none})"; return 1; }
}

# The page the viewer window $1 shows against `tamvel render` of $2 at the width shown
# (given a few frames to settle after a key or a change).
viewer_shows() {
  local shot=$work/viewer-$RANDOM.png box reference=$work/reference-$RANDOM.png tries=10 report
  while ((tries-- > 0)); do
    sleep 0.5
    import -window "$1" "$shot" && box=$($images box "$shot" 2>&1) &&
      "$build/tamvel" render "$2" -o "$reference" --width "${box%%x*}" &&
      report=$(same_picture "$1" "$reference" "$box") && return 0
    report=${report:-$box}
  done
  echo "$report"
  return 1
}

start_display() {
  Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  pids+=($!)
  wait_for 10 test -s "$work/display" || { echo "Xvfb did not start"; cat "$work/xvfb.log"; return 1; }
  export DISPLAY=:$(cat "$work/display")
}

# A scheduler of our own on a socket in $work, with one queue that takes PDF as it is and
# writes each job to $work/job.pdf.
start_cups() {
  local cups=$work/cups
  mkdir -p "$cups"/{spool,cache,state,logs,tmp,ppd,filter}
  cat >"$cups/cupsd.conf" <<CONF
Listen $cups/socket
LogLevel info
WebInterface No
Browsing No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
CONF
  cat >"$cups/cups-files.conf" <<CONF
ServerRoot $cups
RequestRoot $cups/spool
CacheDir $cups/cache
StateDir $cups/state
TempDir $cups/tmp
ErrorLog $cups/logs/error_log
AccessLog $cups/logs/access_log
PageLog $cups/logs/page_log
FileDevice Yes
ServerBin /usr/lib/cups
DataDir /usr/share/cups
CONF
  printf '#!/bin/sh\nexec cat "${6:-/dev/stdin}"\n' >"$cups/filter/pass-pdf"
  chmod 755 "$cups/filter/pass-pdf"
  sed "s|^\*cupsFilter2:.*|*cupsFilter2: \"application/pdf application/vnd.cups-pdf 0 $cups/filter/pass-pdf\"|" \
    "$root/tools/ci/desktop/test-printer.ppd" >"$cups/test-printer.ppd"
  /usr/sbin/cupsd -f -c "$cups/cupsd.conf" -s "$cups/cups-files.conf" &
  pids+=($!)
  export CUPS_SERVER=$cups/socket
  wait_for 10 test -S "$cups/socket" || { echo "cupsd did not start"; cat "$cups/logs/error_log"; return 1; }
  lpadmin -p tamvel-test -E -v "file:$work/job.pdf" -P "$cups/test-printer.ppd" \
    -o PageSize=A4 2>/dev/null && lpadmin -d tamvel-test || { cat "$cups/logs/error_log"; return 1; }
}

# The next job of the queue, once complete; its PDF is $work/job.pdf.
wait_job() { wait_for 20 test -s "$work/job.pdf" && wait_for 20 test -z "$(lpstat -o)"; }

# Page ${page:-1} of the job's PDF (or of $pdf): A4 with the square's line centres where
# $1..$4 say (mm from the paper's top left, within 0.2 mm).
job_has_square() {
  local measured number=${page:-1} file=${pdf:-$work/job.pdf}
  pdfinfo -f "$number" -l "$number" "$file" | grep -q "^Page *$number size:.*(A4)" ||
    { pdfinfo "$file"; return 1; }
  pdftoppm -r 254 -gray -f "$number" -singlefile "$file" "$work/job" || return 1
  measured=$($images square "$work/job.pgm" 254 "$(python3 -c "print(($1 + $2) / 2)")" \
    "$(python3 -c "print(($3 + $4) / 2)")") || return 1
  echo "  square lines at $measured mm"
  python3 - "$measured" "$@" <<'PY'
import sys
got = [float(part.split("=")[1]) for part in sys.argv[1].split()]
want = [float(v) for v in sys.argv[2:]]
sys.exit(0 if all(abs(g - w) <= 0.2 for g, w in zip(got, want)) else 1)
PY
}

check_window() {
  "$build/desktop" window "$work/page.emf" 60 >"$work/window.log" 2>&1 &
  local program=$! id
  pids+=($program)
  wait_for 20 grep -q 'PasteEmf: 0' "$work/window.log" && id=$(window_named '^desktop$') || return 1
  check "window shows what tamvel render draws" wait_for 5 same_picture "$id" "$work/page.png"
  xdotool windowunmap --sync "$id" && xdotool windowmap --sync "$id" && sleep 0.5
  check "window repaints itself" wait_for 5 same_picture "$id" "$work/page.png"
  kill "$program"
  check "window closes with its program" wait_for 10 bash -c "! xdotool search --name '^desktop$'"
}

check_clipboard() {
  "$build/desktop" clipboard "$work/page.emf" | grep -q 'PasteClipboard: 0' || return 1
  # The program has ended; another program pastes.
  local targets
  targets=$(xclip -selection clipboard -t TARGETS -o) || return 1
  check "clipboard offers PNG, SVG and EMF" bash -c "grep -qx image/png <<<'$targets' &&
    grep -qx image/svg+xml <<<'$targets' && grep -qx image/emf <<<'$targets'"
  xclip -selection clipboard -t image/png -o >"$work/pasted.png"
  check "pasted PNG is what tamvel render draws" \
    bash -c "[[ \$(compare -metric AE '$work/pasted.png' '$work/page.png' null: 2>&1) == 0 ]]"
  check "pasted EMF is the page" bash -c \
    "xclip -selection clipboard -t image/emf -o | cmp -s - '$work/page.emf'"
  check "pasted SVG is an SVG drawing" bash -c \
    "xclip -selection clipboard -t image/svg+xml -o | grep -q '<svg'"
}

check_print() {
  rm -f "$work/job.pdf"
  "$build/desktop" print "$work/page.emf" >"$work/print.log" || { cat "$work/print.log"; return 1; }
  wait_job && pdfinfo "$work/job.pdf" | grep -q '^Pages: *2$' || return 1
  # PrintEmf: the frame's lower left on the printable area's (6.35 mm, 12.7 mm margins);
  # PrintEmf0: on the paper's.
  check "PrintEmf: true size on the printable area" job_has_square 26.35 126.35 164.34 264.34
  page=2 check "PrintEmf0: true size on the paper" job_has_square 20 120 177.04 277.04
}

check_viewer() {
  mkdir -p "$work/view" && cp "$work/page.emf" "$work/pages/"*.emf "$work/view/"
  "$build/tamvel" view "$work/view/page.emf" "$work/view/demo-page-"{1,2,3}.emf 2>"$work/view.log" &
  local viewer=$! id
  pids+=($viewer)
  wait_for 20 window_named 'page.emf – tamvel view' || { cat "$work/view.log"; return 1; }
  id=$(window_named 'tamvel view')
  xdotool windowsize --sync "$id" 1400 1190
  check "viewer fits the page" viewer_shows "$id" "$work/page.emf"
  press "$id" ctrl+c
  check "viewer copies the page" wait_for 20 bash -c "xclip -selection clipboard -t image/png -o \
    >'$work/copied.png' && [[ \$(compare -metric AE '$work/copied.png' '$work/page.png' null: 2>&1) == 0 ]]"
  check "viewer exports PNG as tamvel render does" export_as "$id" "$work/exported.png" &&
    check "  the exported PNG" bash -c \
      "[[ \$(compare -metric AE '$work/exported.png' '$work/page.png' null: 2>&1) == 0 ]]"
  check "viewer exports PDF" export_as "$id" "$work/exported.pdf" &&
    pdf=$work/exported.pdf check "  the exported PDF at true size" job_has_square 20 120 177.04 277.04
  press "$id" Next
  check "viewer goes to the next page" wait_for 5 window_named 'demo-page-1.emf – tamvel view'
  press "$id" 1
  check "viewer shows 1:1" viewer_shows "$id" "$work/pages/demo-page-1.emf"
  cp "$work/pages/demo-page-3.emf" "$work/view/demo-page-1.emf"
  sleep 1
  check "viewer reloads a changed file" viewer_shows "$id" "$work/pages/demo-page-3.emf"
  local before after
  press "$id" f && sleep 0.5 && import -window "$id" "$work/before.png"
  xdotool mousemove --window "$id" 700 600 keydown ctrl click 5 click 5 keyup ctrl
  sleep 0.5 && import -window "$id" "$work/after.png"
  before=$($images box "$work/before.png") after=$($images box "$work/after.png")
  check "Ctrl+wheel zooms out" test "${after%%x*}" -lt "${before%%x*}"

  rm -f "$work/job.pdf"
  press "$id" Home ctrl+p
  local dialog
  if dialog=$(wait_for 20 window_named '^Print$' && window_named '^Print$'); then
    sleep 1
    press "$dialog" Return
    # use_full_page: the frame's lower left on the paper's.
    check "viewer prints the page at true size" bash -c "$(declare -f wait_for wait_job job_has_square)
      work=$work images='$images'; wait_job && job_has_square 20 120 177.04 277.04"
  else
    check "viewer opens the print dialog" false
  fi
  press "$id" q
  check "viewer closes on q" wait_end 10 "$viewer"
}

# The installed desktop entry and MIME type: what a double click does (gio open) on a desktop
# that knows only what tamvel installed.
# Exports the page the viewer window $1 shows through its file dialog, typing the name $2.
export_as() {
  local dialog
  press "$1" ctrl+s && wait_for 20 window_named '^Export the page$' &&
    dialog=$(window_named '^Export the page$') || return 1
  sleep 0.5
  press "$dialog" ctrl+a && xdotool type --delay 10 "$2" && xdotool key Return
  wait_for 10 test -s "$2"
}

check_double_click() {
  local share=$work/prefix/share
  cmake --install "$build" --prefix "$work/prefix" --component desktop >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; return 1; }
  check "desktop entry is valid" desktop-file-validate "$share/applications/tamvel-view.desktop"
  # What the packages' triggers do on a real system.
  update-mime-database "$share/mime" >/dev/null && update-desktop-database "$share/applications"
  mkdir -p "$work/xdg"
  XDG_DATA_DIRS=$share XDG_DATA_HOME=$work/xdg XDG_CONFIG_HOME=$work/xdg XDG_CONFIG_DIRS=$work/xdg \
    gio open "$work/page.emf" 2>"$work/open.log"
  check "double-clicking an .emf opens tamvel view" wait_for 20 window_named '^page.emf – tamvel view'
  local id
  id=$(window_named '^page.emf – tamvel view') && press "$id" q
}

check_show_pages() {
  mkdir -p "$work/tmp"
  TMPDIR=$work/tmp "$build/desktop" show "$work/page.emf" "$work/pages/demo-page-2.emf" \
    >"$work/show.log" 2>&1 &
  local program=$! id
  wait_for 20 window_named 'page-1.emf – tamvel view' || { cat "$work/show.log"; return 1; }
  id=$(window_named 'tamvel view')
  check "TamvelShowPages shows the first page" viewer_shows "$id" "$work/page.emf"
  press "$id" Next
  check "TamvelShowPages shows the second page" wait_for 5 window_named 'page-2.emf – tamvel view'
  press "$id" q
  check "TamvelShowPages returns when the viewer is closed" wait_end 10 "$program"
  check "TamvelShowPages returns 0 when the viewer is closed" grep -q 'TamvelShowPages: 0' "$work/show.log"
  check "the viewer removed the pages it was handed" test -z "$(ls -A "$work/tmp")"

  [[ -x "$build/fortran_show" ]] || return 0
  "$build/fortran_show" >"$work/fortran.log" 2>&1 &
  program=$!
  wait_for 20 window_named 'page-1.emf – tamvel view' || { cat "$work/fortran.log"; return 1; }
  id=$(window_named 'tamvel view')
  check "a Fortran program shows its page" viewer_shows "$id" "$work/page.emf"
  press "$id" q
  check "tamvel_show_pages returns 0 to Fortran" wait_end 10 "$program"
}

for tool in Xvfb xdotool xclip import compare /usr/sbin/cupsd lpadmin pdfinfo pdftoppm gio \
  desktop-file-validate; do
  command -v "$tool" >/dev/null || { echo "desktop-check.sh: $tool is missing (scripts/setup-debian.sh --desktop)"; exit 1; }
done
[[ -x "$build/tamvel-viewer" && -f "$build/libtamvel-cups.so" ]] ||
  { echo "desktop-check.sh: $build has no viewer or CUPS module (GTK 4, libcups)"; exit 1; }

mkdir -p "$work/pages"
"$build/desktop" page "$work/page.emf" && "$build/demo" "$work/pages" >/dev/null &&
  "$build/tamvel" render "$work/page.emf" -o "$work/page.png" || exit 1
check "virtual display" start_display
check "private CUPS scheduler" start_cups
check "window" check_window
check "clipboard" check_clipboard
check "CUPS printer DC" check_print
check "viewer" check_viewer
check "TamvelShowPages" check_show_pages
check "desktop entry" check_double_click
echo "desktop: $passed passed, $failed failed"
((failed == 0))
