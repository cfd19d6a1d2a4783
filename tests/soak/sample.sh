#!/usr/bin/env bash
# Watches a running player's transcript and, at each line "scene N: live
# objects K, ...", writes "N K RSS_KB FDS" to REPORT, read from /proc while
# the course pauses at that scene (a little after the line, when the scene's
# short sound has ended and closed its file).
#   sample.sh PID TRANSCRIPT REPORT
pid=$1 transcript=$2 report=$3
seen=0
while kill -0 "$pid" 2>/dev/null; do
  if [ -f "$transcript" ]; then
    mapfile -t lines < <(grep -E '^info: scene [0-9]+: live objects' "$transcript")
    while [ "$seen" -lt "${#lines[@]}" ]; do
      line=${lines[$seen]}
      seen=$((seen + 1))
      scene=$(sed -E 's/^info: scene ([0-9]+):.*/\1/' <<<"$line")
      objects=$(sed -E 's/.*live objects ([0-9]+).*/\1/' <<<"$line")
      sleep 0.25
      rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status" 2>/dev/null)
      fds=$(ls "/proc/$pid/fd" 2>/dev/null | wc -l)
      echo "$scene $objects ${rss:-0} $fds" >>"$report"
    done
  fi
  sleep 0.05
done
