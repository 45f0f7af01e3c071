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

"$build/tools/boxsim/tavrel-boxsim" --webif "$webif" --port 0 >"$home/boxsim.log" 2>&1 &
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
XDG_CONFIG_HOME="$home/config" "$build/app/tavrel-lite"

cli=("$build/tools/cli/tavrel-cli" --host 127.0.0.1 --port "$port" --webif "$webif" --user "$user" --password "$password")
echo
echo "What the receiver shows now (tavrel-cli dump status):"
"${cli[@]}" dump status | grep -E '"(serviceName|provider|volume|standby|model|diskGB)"' || true
echo
echo "Bouquets and channels (tavrel-cli dump services):"
"${cli[@]}" dump services | grep -E '^    "name"|^        "name"' | sed 's/"name": //; s/,$//'
