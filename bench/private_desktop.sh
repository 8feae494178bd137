# Sourced by the benchmark scripts: a private X display (Xvfb + openbox) for the program under
# measure. Needs $work (a scratch folder) and $pids (the processes the caller's cleanup ends); sets
# DISPLAY, QT_QPA_PLATFORM and XDG_RUNTIME_DIR.
fifo=$work/display
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
pids="$! $pids"
display=:$(head -n1 <"$fifo")
mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
export DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work/runtime
openbox >/dev/null 2>&1 &
pids="$! $pids"
sleep 1
