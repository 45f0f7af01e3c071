#!/usr/bin/env bash
# Starts the simulated receiver on a free port and the application with a settings store of its
# own (never the user's) holding one active profile that points at it. When the application
# ends, the receiver is stopped. WEBIF=e1 runs the Enigma1 receiver instead.
set -euo pipefail
build=${1:?usage: demo.sh BUILD_DIR}
webif=${WEBIF:-e2}

home=$(mktemp -d)
sim_pid=
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null
    rm -rf "$home"
}
trap cleanup EXIT

# An Enigma2 receiver streams its channels on port 8001, where "Watch" finds them.
streams=()
[ "$webif" = e2 ] && streams=(--stream-port 8001)
"$build/tools/boxsim/tavrel-boxsim" --webif "$webif" --port 0 "${streams[@]}" >"$home/boxsim.log" 2>&1 &
sim_pid=$!
port=
for _ in $(seq 100); do
    port=$(sed -n 's/^port \([0-9][0-9]*\)$/\1/p' "$home/boxsim.log")
    [ -n "$port" ] && break
    sleep 0.1
done
if [ -z "$port" ]; then
    echo "The simulated receiver did not start:" >&2
    cat "$home/boxsim.log" >&2
    exit 1
fi

type=1
user=
password=
if [ "$webif" = e1 ]; then
    # Enigma1 receivers always want a login for their status page.
    type=0
    user=root
    password=root
fi
config="$home/config/Quillory APPDEV"
mkdir -p "$config"
cat >"$config/TavrelControl Lite.conf" <<CONF
[profiles]
Simulated\\profileName=Simulated
Simulated\\webIfType=$type
Simulated\\isActive=true
Simulated\\userName=$user
Simulated\\password=$password
Simulated\\wlanAddr=127.0.0.1
Simulated\\wlanPort=$port
CONF

echo "Simulated $webif receiver at http://127.0.0.1:$port/"
export XDG_CONFIG_HOME="$home/config"
app="$build/app/tavrel-lite"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    # A desktop: the window opens and the user connects with a tap on the panel. Closing the
    # window ends the simulated receiver too.
    "$app"
    exit 0
fi

# No display: run under a virtual X server, connect at once, walk through the main states
# and keep a picture of each.
shots=${SCREENSHOTS:-$(mktemp -d "${TMPDIR:-/tmp}/tavrel-demo.XXXXXX")}
mkdir -p "$shots"
export TAVREL_DEMO=connect TAVREL_DEMO_SCREENSHOTS="$shots" TAVREL_DEMO_QUIT=1
if command -v xvfb-run >/dev/null; then
    xvfb-run -a -s "-screen 0 1024x640x24" "$app"
else
    echo "xvfb-run is missing (apt-get install xvfb xauth); using the offscreen platform" >&2
    QT_QPA_PLATFORM=offscreen "$app"
fi
echo "Screenshots of the main states are in $shots"
