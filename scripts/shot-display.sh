# Sourced by the screenshot scripts: a virtual display of their own with a compositing manager, so
# that layered shadows come out blended.
#   start_shot_display WIDTHxHEIGHT    starts it and sets $display
# Everything in shot_pids is ended, and everything in shot_paths removed, when the script exits;
# a script adds its own helpers (a demo site, a work folder) to them.
shot_pids=()
shot_paths=()
end_shot_display() {
  kill "${shot_pids[@]}" 2>/dev/null || true
  rm -rf "${shot_paths[@]}"
}
trap end_shot_display EXIT

start_shot_display() {
  local number
  number=$(mktemp)
  shot_paths+=("$number")
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$number" >/dev/null 2>&1 &
  shot_pids+=($!)
  for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
  display=":$(tr -d '[:space:]' < "$number")"
  DISPLAY=$display xcompmgr >/dev/null 2>&1 &
  shot_pids+=($!)
}
