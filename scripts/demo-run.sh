#!/usr/bin/env bash
# demo-run.sh DEMO_DIR: the part of `make demo` that runs inside a Wine session
# (scripts/wine-session): runs the sample package, which unpacks itself and runs
# setup.exe; takes screenshots while it installs, and shows what the
# installation left behind and that the package cleaned up after itself.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
demo=$1
package="$demo/SampleToolSetup.exe"
wine="$top/scripts/wine-exec"
robot="$top/build/win64/tests/support/robot/robot.exe"
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
indent() { sed 's/\r$//; s/^/   /'; }

# A virtual desktop, so that the screenshot reads like a Windows screen.
"$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
"$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null

echo
echo "== Running the package (the robot watches the wizard of the setup.exe it starts)"
log="$demo/robot.log"
: > "$log"
# The package checks and unpacks itself, then runs setup.exe: the splash first;
# then the pages the kit carries so far: Progress runs the installation, Finish
# ends it. One robot watches the run; when the Finish page is up and has been
# photographed, a second one attached to setup presses Finish. The package then
# removes what it unpacked and ends.
"$wine" "$robot" start "$(winpath "$package")" "$(winpath "$demo")" \
  ";" child setup.exe timeout=120000 \
  ";" wait-window class=ZRSetupSplash timeout=30000 \
  ";" wait-window "caption=Installing Sample Tool" timeout=30000 \
  ";" wait-gone 120000 \
  ";" wait-window "caption=Setup Complete" timeout=30000 \
  ";" print-texts \
  ";" wait-gone 60000 \
  ";" wait-exit 60000 \
  ";" parent \
  ";" wait-exit 60000 > "$log" &
robot_pid=$!
: > "$demo/shots.txt"
shoot() { # PATTERN FILE: a screenshot once PATTERN shows in the robot's output
  for _ in $(seq 1 300); do
    grep -q "$1" "$log" && break
    kill -0 $robot_pid 2>/dev/null || return 0
    sleep 0.1
  done
  sleep 0.5
  import -window root "$demo/$2" 2>/dev/null && echo "   screenshot: build/demo/$2" >> "$demo/shots.txt"
}
shoot 'ZRSetupSplash' splash.png
shoot 'Installing Sample Tool' progress.png
shoot 'control.1018' finish.png
pid=$(awk -F'\t' '$1 == "child" {print $2}' "$log")
second=""
[ -n "$pid" ] && second=$("$wine" "$robot" attach "$pid" ";" wait-window "caption=Setup Complete" ";" click 1018 || true)
status=0
wait $robot_pid || status=$?
sed 's/\t/ /g' "$log" | indent
printf '%s\n' "$second" | sed 's/\t/ /g; s/^/   (second robot) /'
cat "$demo/shots.txt"
if [ $status != 0 ]; then
  echo "demo: setup did not run to its end (robot status $status)" >&2
  exit 1
fi

drive_c="$WINEPREFIX/drive_c"
echo
echo "== The package's temporary folders (none may be left)"
left=$(find "$drive_c/users" -maxdepth 5 -path '*/zr[0-9]*' | sed "s|^$drive_c/||")
printf '%s\n' "${left:-(none left)}" | indent
app="$drive_c/Program Files/Example Works/Sample Tool"
echo
echo "== Files installed in C:\\Program Files\\Example Works\\Sample Tool"
(cd "$app" && find . -type f -printf '%P  (%s bytes)\n' | sort) | indent
echo
echo "== Shared and system files"
for f in "$drive_c/Program Files/Common Files/Example Works/samplecore.dll" "$drive_c/windows/system32/exworks.txt"; do
  [ -f "$f" ] && echo "${f#$drive_c/}" | indent
done
echo
echo "== Registry"
for key in 'HKLM\SOFTWARE\Example Works\Sample Tool' \
           'HKCU\Software\Example Works\Sample Tool' \
           'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Sample Tool' \
           'HKCR\.smp' 'HKCR\SampleTool.Document\shell\open\command' \
           'HKCR\CLSID\{6D3C1F0A-52A1-4C55-9E0B-5A52C0DE0001}\InprocServer32' \
           'HKLM\SOFTWARE\Hevra Software\Velmora\UserData\Example Works\Sample Tool\1.0'; do
  "$wine" reg query "$key" 2>/dev/null | tr -d '\r' | grep -v '^$' | indent || echo "   (missing) $key"
done
"$wine" reg query 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDLLs' 2>/dev/null | tr -d '\r' \
  | grep -i samplecore | sed 's/^ */SharedDLLs: /' | indent || true
echo
echo "== Shortcuts in the program folder"
programs=$(find "$drive_c/users" -type d -path '*Start Menu/Programs/Sample Tool' | head -n1)
(cd "$programs" && ls -1) | indent
echo
echo "== setup.log"
indent < "$app/setup.log"
if [ -f "$app/error.log" ]; then
  echo
  echo "== error.log"
  indent < "$app/error.log"
fi
