#!/usr/bin/env bash
# Serving benchmark: our server and nginx side by side on 127.0.0.1, then the GUI-thread stall
# probe. Builds what it needs into build-bench/, works in a temporary folder, and stops every
# process it started. See bench/README.md.
#
#   bench/run.sh            # ROUNDS=3 SECS=3 by default; both may be set in the environment
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/.." && pwd)"
build="${VANTRO_BENCH_BUILD:-$repo/build-bench}"
rounds="${ROUNDS:-3}"
secs="${SECS:-3}"
concurrency=10

log() { echo "bench: $*" >&2; }

# ---- tools ------------------------------------------------------------------------------------
install_tools() {
  local missing=()
  command -v nginx >/dev/null || missing+=(nginx-light)
  command -v wrk >/dev/null || missing+=(wrk)
  command -v curl >/dev/null || missing+=(curl)
  [ ${#missing[@]} -eq 0 ] && return
  log "installing ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  # A stale package list is the usual reason an install fails; refresh it only then.
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}" >/dev/null \
    || { "${sudo[@]}" apt-get update >/dev/null \
         && "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}" >/dev/null; }
}

build_tools() {
  if [ ! -f "$build/build.ninja" ]; then
    log "configuring $build"
    cmake -S "$repo" -B "$build" -G Ninja -DVANTRO_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
  fi
  ninja -C "$build" -j2 vantro-testhost >/dev/null
  testhost="$build/vantro-testhost"
  ninja -C "$build" -j2 vantro-stallprobe vantro-httpload >/dev/null
  tools="$build"
}

# ---- processes --------------------------------------------------------------------------------
work=""
host_pid=""
nginx_pid=""

cleanup() {
  set +e
  if [ -n "$host_pid" ]; then
    exec 7>&- # the test host stops when its standard input closes
    for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 "$host_pid" 2>/dev/null || break; sleep 0.2; done
    kill "$host_pid" 2>/dev/null
    wait "$host_pid" 2>/dev/null
  fi
  if [ -n "$nginx_pid" ]; then
    kill -QUIT "$nginx_pid" 2>/dev/null
    for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 "$nginx_pid" 2>/dev/null || break; sleep 0.2; done
    kill -KILL "$nginx_pid" 2>/dev/null
    wait "$nginx_pid" 2>/dev/null
  fi
  [ -n "$work" ] && rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

free_port() {
  local port
  for port in $(seq 20080 20180); do
    if ! ss -Htln "sport = :$port" | grep -q .; then
      echo "$port"
      return
    fi
  done
  log "no free port in 20080-20180"
  exit 1
}

start_host() {
  mkfifo "$work/host.in"
  "$testhost" --root "$work/root" --port 0 <"$work/host.in" >"$work/host.out" 2>"$work/host.err" &
  host_pid=$!
  exec 7>"$work/host.in"
  for _ in $(seq 50); do
    host_port=$(awk '/^listening/ {print $2}' "$work/host.out")
    [ -n "$host_port" ] && return
    sleep 0.1
  done
  log "the test host did not start: $(cat "$work/host.err")"
  exit 1
}

start_nginx() {
  local dir="$work/nginx" user_line=""
  mkdir -p "$dir/logs"
  nginx_port=$(free_port)
  # As root the worker would otherwise drop to an account that cannot read the temporary folder.
  [ "$(id -u)" -eq 0 ] && user_line="user root root;"
  cat >"$dir/nginx.conf" <<EOF
$user_line
daemon off;
worker_processes 1;
pid $dir/nginx.pid;
error_log $dir/logs/error.log warn;
events { worker_connections 1024; }
http {
    access_log off;
    sendfile on;
    keepalive_timeout 0;
    client_body_temp_path $dir/body;
    proxy_temp_path $dir/proxy;
    fastcgi_temp_path $dir/fastcgi;
    uwsgi_temp_path $dir/uwsgi;
    scgi_temp_path $dir/scgi;
    types { application/octet-stream bin; }
    server {
        listen 127.0.0.1:$nginx_port;
        root $work/root;
    }
}
EOF
  nginx -p "$dir" -c "$dir/nginx.conf" -e "$dir/logs/error.log" &
  nginx_pid=$!
  for _ in $(seq 50); do
    if curl -fs -o /dev/null "http://127.0.0.1:$nginx_port/1k.bin"; then
      nginx_worker=$(pgrep -P "$nginx_pid" | head -1)
      [ -n "$nginx_worker" ] && return
    fi
    sleep 0.1
  done
  log "nginx did not start: $(cat "$dir/logs/error.log")"
  exit 1
}

# ---- measuring --------------------------------------------------------------------------------
clock_ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# load NAME PID PORT PATH CONCURRENCY: one httpload run; appends "NAME rps mbps cpu_us_per_request"
load() {
  local name=$1 pid=$2 port=$3 path=$4 conc=$5 before after out
  before=$(cpu_ticks "$pid")
  out=$("$tools/vantro-httpload" "$port" "$path" "$conc" "$secs") || true
  after=$(cpu_ticks "$pid")
  echo "$out" | awk -v n="$name" -v b="$before" -v a="$after" -v hz="$clock_ticks" '{
      printf "%s %.0f %.1f %.1f %d\n", n, $10, $12, ($2 > 0 ? (a - b) * 1e6 / hz / $2 : 0), $4 }' \
    >>"$work/results"
}

# median NAME FIELD: the median of one column over the rounds
median() {
  awk -v n="$1" -v f="$2" '$1 == n {print $f}' "$work/results" | sort -g \
    | awk '{v[NR] = $1} END {if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2];
                             else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}

sum_failed() { awk -v n="$1" '$1 == n {s += $5} END {print s + 0}' "$work/results"; }

# wrk_rps PORT: requests/s that wrk reports, and its socket errors
wrk_rps() {
  wrk -t1 -c"$concurrency" -d"${secs}s" -H 'Connection: close' "http://127.0.0.1:$1/1k.bin" \
    | awk '/Requests\/sec/ {r = $2} /Socket errors/ {e = $0} END {sub(/.*errors: /, "", e);
                                                                printf "%.0f|%s\n", r, e}'
}

# ---- run --------------------------------------------------------------------------------------
started=$(date +%s)
install_tools
build_tools

work=$(mktemp -d /tmp/vantro-bench.XXXXXX)
mkdir "$work/root"
head -c 1024 /dev/urandom >"$work/root/1k.bin"
head -c $((10 * 1024 * 1024)) /dev/urandom >"$work/root/10m.bin"
: >"$work/results"

start_host
start_nginx
log "vantro on 127.0.0.1:$host_port (pid $host_pid), nginx on 127.0.0.1:$nginx_port (worker $nginx_worker)"

log "1 KB file, $concurrency connections, $rounds rounds of ${secs}s each"
for _ in $(seq "$rounds"); do
  load vantro-1k "$host_pid" "$host_port" /1k.bin "$concurrency"
  load nginx-1k "$nginx_worker" "$nginx_port" /1k.bin "$concurrency"
done
log "1 KB file through wrk"
wrk_ours=$(wrk_rps "$host_port")
wrk_nginx=$(wrk_rps "$nginx_port")

log "10 MB file, 1 client, $rounds rounds of ${secs}s each"
for _ in $(seq "$rounds"); do
  load vantro-10m "$host_pid" "$host_port" /10m.bin 1
  load nginx-10m "$nginx_worker" "$nginx_port" /10m.bin 1
done

log "GUI-thread stall, 10 downloads of 100 MiB"
stall=$("$tools/vantro-stallprobe" --clients 10 --size-mb 100 --timeout 60) \
  || log "the stall probe failed"

# ---- report -----------------------------------------------------------------------------------
field() { awk -v k="$2" '{for (i = 1; i < NF; i++) if ($i == k) print $(i + 1)}' <<<"$1"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.2f", a / b; else print "-"}'; }
verdict() { awk -v v="$1" -v t="$2" -v op="$3" 'BEGIN {
  ok = (op == ">=") ? (v >= t) : (v < t); print ok ? "met" : "MISSED" }'; }

rps_ours=$(median vantro-1k 2)
rps_nginx=$(median nginx-1k 2)
rps_ratio=$(ratio "$rps_ours" "$rps_nginx")
mbps_ours=$(median vantro-10m 3)
mbps_nginx=$(median nginx-10m 3)
stall_load=$(grep '^load' <<<"$stall")
stall_idle=$(grep '^idle' <<<"$stall")
worst=$(field "$stall_load" stall_worst_ms)

echo
echo "Serving benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "medians of $rounds rounds of ${secs}s; every request on a new connection (HTTP/1.0 style)"
echo
printf "%-44s %12s %12s %7s   %s\n" "measure" "vantro" "nginx" "ratio" "target"
printf "%-44s %12s %12s %7s   %s\n" "1 KB file, requests/s, $concurrency connections" \
  "$rps_ours" "$rps_nginx" "$rps_ratio" \
  "ratio >= 0.75: $(verdict "$rps_ratio" 0.75 '>=')"
printf "%-44s %12s %12s %7s\n" "  server CPU per request, us" \
  "$(median vantro-1k 4)" "$(median nginx-1k 4)" "$(ratio "$(median vantro-1k 4)" "$(median nginx-1k 4)")"
printf "%-44s %12s %12s %7s   %s\n" "  same through wrk, requests/s" \
  "${wrk_ours%%|*}" "${wrk_nginx%%|*}" "$(ratio "${wrk_ours%%|*}" "${wrk_nginx%%|*}")" \
  "(reference only, see README)"
printf "%-44s %12s %12s %7s   %s\n" "10 MB file, MB/s, 1 client" \
  "$mbps_ours" "$mbps_nginx" "$(ratio "$mbps_ours" "$mbps_nginx")" \
  "vantro >= 300: $(verdict "$mbps_ours" 300 '>=')"
printf "%-44s %12s %12s %7s   %s\n" "GUI stall, 10 x 100 MiB downloads, worst ms" \
  "$worst" "-" "" "< 16: $(verdict "$worst" 16 '<')"
printf "%-44s %12s\n" "  99th percentile, ms" "$(field "$stall_load" stall_p99_ms)"
printf "%-44s %12s\n" "  the same second idle, worst ms" "$(field "$stall_idle" stall_worst_ms)"
printf "%-44s %12s\n" "  GUI-thread CPU within the worst stall, ms" "$(field "$stall_load" worst_cpu_ms)"
printf "%-44s %12s\n" "  most GUI-thread CPU between two ticks, ms" "$(field "$stall_load" busy_worst_ms)"
printf "%-44s %12s\n" "  download rate during the probe, MB/s" "$(field "$stall_load" mbps)"
echo
echo "failed requests: vantro $(($(sum_failed vantro-1k) + $(sum_failed vantro-10m))), nginx $(($(sum_failed nginx-1k) + $(sum_failed nginx-10m)))"
wrk_errors_ours="${wrk_ours#*|}"
wrk_errors_nginx="${wrk_nginx#*|}"
echo "wrk socket errors: vantro ${wrk_errors_ours:-none}; nginx ${wrk_errors_nginx:-none}"
echo "took $(($(date +%s) - started)) s"
