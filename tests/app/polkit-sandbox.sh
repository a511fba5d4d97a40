#!/bin/sh
# Runs a command against a polkit of its own: a private mount namespace with
# an empty /run, a system bus there (none with MODE "no-bus") and a polkit
# daemon (none with "no-polkit"); with MODE "deny-nobody" ("allow-nobody") a
# rule refuses (grants) every request of the user nobody. Nothing of it is seen
# outside the namespace. Exits 77 when the pieces are missing, else with the
# command's status.
# Usage (as root): polkit-sandbox.sh MODE COMMAND...
set -u
mode=$1
shift
polkitd=/usr/lib/polkit-1/polkitd
if [ -z "${KESTRELIA_POLKIT_SANDBOX:-}" ]; then
    for tool in unshare dbus-daemon dbus-send; do
        command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 77; }
    done
    [ -x "$polkitd" ] && [ -d /etc/polkit-1/rules.d ] || { echo "polkitd is not installed" >&2; exit 77; }
    KESTRELIA_POLKIT_SANDBOX=1 exec unshare -m --propagation private sh "$0" "$mode" "$@"
fi

mount -t tmpfs -o mode=0755 kestrelia-run /run || exit 77
mount -t tmpfs -o mode=0755 kestrelia-rules /etc/polkit-1/rules.d || exit 77
mkdir /run/dbus
cat > /run/bus.conf <<'CONF'
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN" "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=/run/dbus/system_bus_socket</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
case $mode in deny-nobody) result=NO ;; allow-nobody) result=YES ;; *) result= ;; esac
if [ -n "$result" ]; then
    echo "polkit.addRule(function(action, subject) { if (subject.user == 'nobody') return polkit.Result.$result; });" \
        > /etc/polkit-1/rules.d/10-kestrelia-test.rules
fi
daemon=
bus=
trap 'kill $daemon $bus 2>/dev/null; wait' EXIT
trap 'exit 1' INT TERM
if [ "$mode" != no-bus ]; then
    dbus-daemon --config-file=/run/bus.conf --nofork 2>/dev/null &
    bus=$!
fi
if [ "$mode" != no-polkit ] && [ "$mode" != no-bus ]; then
    "$polkitd" --no-debug >/dev/null 2>&1 &
    daemon=$!
    tries=0
    until timeout 2 dbus-send --system --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
            string:org.freedesktop.PolicyKit1 2>/dev/null | grep -q 'boolean true'; do
        tries=$((tries + 1))
        [ $tries -lt 100 ] || { echo "polkitd did not start" >&2; exit 77; }
        sleep 0.1
    done
fi
PATH=/usr/bin:/bin "$@"
