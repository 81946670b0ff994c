#!/usr/bin/env bash
# A desktop to try Rollbox on by hand: Xvfb, a session D-Bus, xfwm4 and Xfce's panel holding
# only its notification area, which hosts tray icons through the StatusNotifier protocol as
# KDE Plasma, GNOME (AppIndicator), Xfce and LXQt do.
#
#   scripts/try-tray.sh start [:N]       start the desktop on display :N (default :99)
#   eval "$(scripts/try-tray.sh env [:N])"   take its DISPLAY and D-Bus address into this shell
#   scripts/try-tray.sh run [:N] PROGRAM start PROGRAM (build/bin/rollbox, say) in a fresh
#                                        working folder with the delivered data files
#   scripts/try-tray.sh activate [:N]    what the host does on a left click: the first tray
#                                        icon's StatusNotifier method Activate
#   scripts/try-tray.sh stop [:N]        end everything that start and run began
#
# The panel stands along the top edge; the first tray icon sits at about (12, 16), and a right
# click there opens its menu. Screenshots: DISPLAY=:N import -window root shot.png; clicks and
# keys: xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."

command=${1:-}
shift || true
display=":99"
if [[ ${1:-} == :* ]]; then
    display=$1
    shift
fi
state="${TMPDIR:-/tmp}/rollbox-try-tray-${display#:}"

watcher_property() { # name
    gdbus call --session --dest org.kde.StatusNotifierWatcher \
        --object-path /StatusNotifierWatcher \
        --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher "$1"
}

start_background() { # name, command...
    local name=$1
    shift
    "$@" >"$state/$name.log" 2>&1 &
    echo $! >"$state/$name.pid"
}

case "$command" in
start)
    if [[ -e $state/env ]]; then
        echo "Already started on $display; stop it first." >&2
        exit 1
    fi
    scripts/install-deps.sh --desktop
    mkdir -p "$state/config/xfce4/xfconf/xfce-perchannel-xml"
    cp scripts/tray-panel.xml "$state/config/xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml"
    start_background xvfb Xvfb "$display" -noreset -screen 0 1280x800x24 -nolisten tcp
    for _ in $(seq 50); do
        xdpyinfo -display "$display" >/dev/null 2>&1 && break
        sleep 0.1
    done
    export DISPLAY=$display XDG_CONFIG_HOME=$state/config
    # The panel's settings daemon is started by the bus and reads XDG_CONFIG_HOME from it.
    eval "$(dbus-launch --sh-syntax)"
    echo "$DBUS_SESSION_BUS_PID" >"$state/dbus.pid"
    printf 'export DISPLAY=%q\nexport DBUS_SESSION_BUS_ADDRESS=%q\n' \
        "$DISPLAY" "$DBUS_SESSION_BUS_ADDRESS" >"$state/env"
    start_background xfwm4 xfwm4 --compositor=off
    sleep 1
    start_background panel xfce4-panel --disable-wm-check
    for _ in $(seq 100); do
        registered=$(watcher_property IsStatusNotifierHostRegistered 2>/dev/null || true)
        [[ $registered == *true* ]] && break
        sleep 0.1
    done
    [[ $registered == *true* ]] || {
        echo "The panel registered no StatusNotifier host; see $state/panel.log." >&2
        exit 1
    }
    echo "Desktop with a StatusNotifier tray on $display; state in $state."
    ;;
env)
    cat "$state/env"
    ;;
run)
    program=$(realpath "${1:?which program?}")
    # shellcheck disable=SC1091
    source "$state/env"
    n=$(find "$state" -maxdepth 1 -name 'run-*' | wc -l)
    folder="$state/run-$n"
    mkdir -p "$folder/work" "$folder/runtime"
    chmod 700 "$folder/runtime"
    cp data/tumosetup.dat data/tumoinfo.dat "$folder/work/"
    (
        cd "$folder/work"
        XDG_RUNTIME_DIR="$folder/runtime" "$program" >"$folder/log" 2>&1 &
        echo $! >"$folder/pid"
        wait "$!" && echo 0 >"$folder/exit-code" || echo $? >"$folder/exit-code"
    ) &
    sleep 0.5
    echo "$(basename "$program") started, pid $(cat "$folder/pid"), working folder $folder/work," \
        "runtime folder $folder/runtime; exit code in $folder/exit-code when it ends."
    ;;
activate)
    # shellcheck disable=SC1091
    source "$state/env"
    item=$(watcher_property RegisteredStatusNotifierItems | grep -o "':[0-9.]*" | head -1)
    [[ -n $item ]] || {
        echo "No tray icon is registered." >&2
        exit 1
    }
    gdbus call --session --dest "${item#\'}" --object-path /StatusNotifierItem \
        --method org.kde.StatusNotifierItem.Activate 0 0 >/dev/null
    ;;
stop)
    for pidfile in "$state"/run-*/pid "$state"/panel.pid "$state"/xfwm4.pid "$state"/dbus.pid \
        "$state"/xvfb.pid; do
        [[ -e $pidfile ]] && kill "$(cat "$pidfile")" 2>/dev/null || true
    done
    rm -rf "$state"
    ;;
*)
    sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//'
    exit 1
    ;;
esac
